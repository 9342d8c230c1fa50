#pragma once
// Frame and element decoding: one LAPD frame's octets into what it carried.
// The decoder keeps no call state: it writes the identifier tree and returns
// what it saw, in frame order, for call tracking to act on.
#include "monitor/engine/trace_output.h"
#include "monitor/engine/trace_tree.h"

#include <QString>
#include <array>
#include <vector>

// The values of a frame's elements that call tracking acts on after the walk.
// `called` is the called number element's content as "hh " text, as the
// monitor shows and keeps it; `calledNumber` its digits.
struct ElementResults {
    QString channel, caller, connected, called, calledNumber, units, display;
};

// One information element of a frame: its length and the positions of its
// first and last content octets.
struct ElementView {
    int len, first, last;
};

// What the walk saw, in frame order. Trace text goes to Text2 where it stands;
// the other kinds are the points at which tracking acts in the middle of a
// frame, because a later element of the same frame sees their effect.
struct SeenElement {
    enum class Kind {
        Trace,          // text for Text2
        Channel,        // a B-channel was assigned to the terminal: text holds "89" or "8A"
        Service,        // the connected number is a service: the terminal's call is active
        Connected,      // a connected number: the call on the terminal's channel is connected
        NormalClearing, // the user cleared the call normally
    };
    Kind kind;
    QString text;
};

struct DecodedFrame {
    int tei = 0;
    int count = 0;
    bool controlOnly = false; // three octets (SABME, DISC ...): no call stage follows
    bool disconnect = false;  // a DISC: the terminal's numbers are forgotten
    std::vector<SeenElement> seen;
    ElementResults results;
    // A broadcast with elements: a call offered to all terminals.
    bool announcement() const;
};

class FrameDecoder {
public:
    static constexpr int kMaxOctets = 128;
    // Octets 1 ... kMaxOctets of a frame; index 0 is unused, missing octets are 0.
    using Octets = std::array<quint8, kMaxOctets + 1>;

    FrameDecoder(const TraceOutput& trace, TraceTree& tree);

    DecodedFrame decode(const Octets& octets, int count);

private:
    int octet(int n) const;
    // The element's content as "hh " text, one octet after the other.
    QString elementText(const ElementView& e) const;
    QString numberDigits(const ElementView& e, int from) const;
    QString callingDigits(const ElementView& e) const;
    QString calledDigits(const ElementView& e) const;
    QString terminalKey() const;
    void note(const QString& text);
    void noteInfo(const QString& text); // only at the informative levels
    void saw(SeenElement::Kind kind, const QString& text = {});
    void walkElements();
    void handleElement(int id, const ElementView& e);
    void addElementNode(int id, const QString& content, const QString& expand);
    // The element handlers; decode() holds their table.
    void onChannel(const ElementView& e);
    void onCallingNumber(const ElementView& e);
    void onConnectedNumber(const ElementView& e);
    void onCalledNumber(const ElementView& e);
    void onFacility(const ElementView& e);
    void onDisplay(const ElementView& e);
    void onCause(const ElementView& e);

    const TraceOutput& trace_;
    TraceTree& tree_;
    const Octets* octets_ = nullptr;
    DecodedFrame frame_;
};
