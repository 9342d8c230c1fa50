#pragma once
// What can be done to the adapter's configuration, over the command channel:
// reading it ("Receive Settings"), writing it ("Transmit Settings"), the
// profiles, hanging up a phone and resetting the counters. The settings
// window and corvane-config call these; each runs its commands one after
// another through SendAT (events run meanwhile) and returns when done, so a
// program that holds the line for the trace releases the trace hold, calls
// one, and takes the hold again.
#include <QString>
#include <QStringList>
#include <functional>

#include "device/adapter_settings.h"
#include "device/at_reply.h"

class AtChannel;

class AdapterControl {
public:
    enum class Step {
        Identification,
        Registers,
        Counters,
        Msns,
        OwnNumbers,
        WritingNumbers,
        WritingRegisters,
        Applying
    };
    using Send = std::function<AtReply(const QString& cmd)>;

    explicit AdapterControl(AtChannel& at);
    // Where the commands go: the channel by default, a double in tests.
    void setSendFunction(Send send);

    // Progress of the step running: (step, done, in all).
    std::function<void(Step step, int done, int total)> progress;
    // The range warnings of a transmission (text, title), in step order.
    std::function<void(const QString& text, const QString& title)> warn;

    // Commands sent and those unanswered or refused since the last read started.
    struct Tally {
        int sent = 0;
        int missing = 0;
    };

    // "Receive Settings" into `value`: identification, the registers (the PPP
    // mode the bundle bits stand for is chosen after S87), the counters, the
    // MSNs and the own numbers. What gets no answer keeps its value. The tally
    // tells whether everything arrived.
    Tally read(AdapterSettings& value);
    // "Transmit Settings" of `value`: MSNs and own numbers, then the registers,
    // then the pause in which the device applies them. A read-back follows by
    // the caller. Returns the captions of what the device refused.
    QStringList transmit(AdapterSettings& value);
    // The register writes of a transmission alone.
    QStringList writeRegisters(AdapterSettings& value);
    // The PPP mode (1 "64 kbps", 2 "128 kbps") at once; the bundle box follows.
    void choosePppMode(AdapterSettings& value, int mode);

    // Single commands: a profile (1..4) loaded or saved, the factory settings
    // loaded, a phone (1, 2) hung up, the charge counters reset.
    AtReply loadProfile(int profile);
    AtReply saveProfile(int profile);
    AtReply loadFactory();
    AtReply hangUp(int phone);
    AtReply resetCounters();
    // One register or one number slot written outright ("ATS79=12", "AT&ZI0="
    // and the number, then "ATE1"), for a restore that writes only what differs.
    AtReply writeRegister(int reg, int value);
    AtReply writeNumber(FormElement field, const QString& number);
    // Any one command, counted in the tally.
    AtReply command(const QString& cmd);

    bool deviceAbsent() const;
    const Tally& tally() const { return tally_; }

private:
    void identify(AdapterSettings& value);
    void readMsns(AdapterSettings& value);
    void readOwnNumbers(AdapterSettings& value);
    void readCounters(AdapterSettings& value);
    void writeNumbers(const AdapterSettings& value, QStringList& refused);
    void report(Step step, int done = 0, int total = 0) const;

    AtChannel& at_;
    Send send_;
    Tally tally_;
};
