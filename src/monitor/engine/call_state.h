#pragma once
// The monitor's state between frames, under the monitor's own names: what is
// known of each terminal, the channel display, the start clocks, the
// caller-ID texts and the pending ends of call. Call tracking writes it; the
// engine's timer, the state dump and the views read it.
#include "monitor/engine/monitor_display.h"

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

struct CallState {
    static constexpr int kTerminals = 255;

    std::array<IdRecord, kTerminals> IdRecords{};
    int CallWaiting = 0; // 1 or 2: a waiting call was moved off channel A or B
    int EndIdA = 0, EndIdB = 0;
    QString EndTypeA, EndTypeB;
    float StartTimeA = 0, StartTimeB = 0;
    QString StartClockA, StartClockB;
    QDateTime StartedAtA, StartedAtB; // the moment each start clock was taken
    QString CidCallerA, CidCalledA, CidCallerB, CidCalledB, CidCallerBusy, CidCalledBusy;
    MonitorDisplay display;

    // The terminal's record, or nullptr for a TEI outside 1 ... 255.
    IdRecord* record(int tei) { return tei >= 1 && tei <= kTerminals ? &IdRecords[size_t(tei - 1)] : nullptr; }
    const IdRecord* record(int tei) const
    {
        return tei >= 1 && tei <= kTerminals ? &IdRecords[size_t(tei - 1)] : nullptr;
    }
};
