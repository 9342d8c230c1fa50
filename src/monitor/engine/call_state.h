#pragma once
// The monitor's state between frames: what is known of each terminal, one
// record per B-channel, the caller-ID texts and what the window shows of the
// last caller. Call tracking writes it; the engine's timer updates the clock
// and durations; the display model and state.txt are derived from it
// (monitor_display.h) under the names the window and the files use.
#include "phonebook/number_place.h"

#include <QDateTime>
#include <QString>
#include <array>

// What the decoder knows about one terminal (TEI), gathered over its frames.
struct IdRecord {
    bool Activated = false;
    bool Incoming = false;
    QString CallerNumber;
    QString ConnectedNumber;
    QString CalledDigits;
    QString DisplayCost;
    QString Channel;
    QString CostUnits;
};

// Where the call on a B-channel stands.
enum class CallPhase {
    Idle,    // no call
    Dialing, // an own port was given the channel for a call of its own
    Ringing, // an offered call rings at a port
    Talking, // connected
};

// One B-channel: the call on it and what its panel shows. The window and
// state.txt know its fields by the names in brackets (A / B).
struct ChannelState {
    CallPhase phase = CallPhase::Idle; // Talking: the "Connected" lamp (Check3 / Check4)
    // The "Active" lamp (Check1 / Check2): the call was dialled or rang on this
    // channel. A call answered on a channel it never rang on talks without it.
    bool active = false;
    // The "Ring" lamp and the ring sound loop (Check5 / Check6); a click on the
    // lamp stops them while the call goes on ringing. Answering or clearing ends them.
    bool ringSounds = false;
    QString number;                         // the other party, or the digits dialled (Label1 / Label2)
    QString name;                           // the phone book's name for it (Label19 / Label20)
    PlaceOfNumber place;                    // no name: where the number is from, and its kind
    QString msn = QStringLiteral("-");      // the own number involved, "-" while unknown (LabelMSNA / LabelMSNB)
    QString cost = QStringLiteral("-");     // "00.00" once charge units arrived (Label9 / Label10)
    QString duration = QStringLiteral("-"); // "h:mm:ss" while and after the call (LabelDur1 / LabelDur2)
    QString picture;                        // the caller's picture file, "" for none (ImageA / ImageB)
    float startTime = 0;                    // seconds since midnight, 0 when no call runs (StartTimeA / B)
    qint64 startSteadyMs = 0;               // the same moment on the steady clock: durations count from it
    QString startClock;                     // "HH:MM:SS" of the start (StartClockA / B)
    QDateTime startedAt;                    // when startClock was taken: the record's date
    int endId = 0;                          // TEI of the call being ended (EndIdA / B)
    QString endType;                        // "Answer", "Called", "Ring" or "Try" (EndTypeA / B)
    QString cidCaller, cidCalled;           // the last call announced here (CidCallerA / B, CidCalledA / B)
    bool ignored = false;                   // that caller is on the ignore list: no sound, no announcement
    bool endIgnored = false;                // the call being ended was an ignored caller's
};

struct CallState {
    static constexpr int kTerminals = 255;
    static constexpr int kChannels = 2; // A (B-channel 1) and B (B-channel 2)

    std::array<IdRecord, kTerminals> IdRecords{};
    std::array<ChannelState, kChannels> channels{};
    int CallWaiting = 0;                  // 1 or 2: a waiting call was moved off channel A or B
    QString CidCallerBusy, CidCalledBusy; // the last call announced while both channels were busy
    bool waitingOffered = false;          // that call may still be taken: it names the next call taken unrung
    QString lastCaller;                   // the last announced caller's number (LabelCID)
    PlaceOfNumber lastCallerPlace;        // no name: where that number is from, shown with it
    QString lastCallTime;                 // when the last call was announced or rang (LabelTIM)
    QString clockText;                    // the time of day, "HH:MM:SS" (LabelNOW)
    QString lastPicture;                  // the latest caller's picture file (Image2)
    int trafficLamp = 1;                  // 1 grey, 2 red: a frame was just decoded (ImageLED)

    // The terminal's record, or nullptr for a TEI outside 1 ... 255.
    IdRecord* record(int tei) { return tei >= 1 && tei <= kTerminals ? &IdRecords[size_t(tei - 1)] : nullptr; }
    const IdRecord* record(int tei) const
    {
        return tei >= 1 && tei <= kTerminals ? &IdRecords[size_t(tei - 1)] : nullptr;
    }
};
