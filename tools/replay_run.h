#pragma once
// corvane-replay: a recorded trace through the call-monitor engine on a
// virtual clock; the panes, the call list and the final channel state land in
// files of the output folder.
#include "tools/pcap_writer.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>

class QTextStream;

struct ReplayOptions {
    QString capture;
    QString outDir;
    int debugLevel = 0;
    QDateTime start = QDateTime(QDate(2026, 1, 1), QTime(10, 0));
    std::optional<float> unitCost; // none: the settings' UnitCost
    QString bookFile;              // empty: no phone book
    QString settingsFile;          // empty: every setting at its default
    QString listFile;              // empty: the list starts empty
    QString locale = QStringLiteral("C");
    QString pcapFile;
    PcapLinkType pcapLinkType = PcapLinkType::LinuxLapd;
};

struct ReplaySummary {
    qint64 framesDecoded = 0;
    qint64 callsLogged = 0;
};

namespace Replay {

// After the last capture line the clock runs on this long, so pending
// end-of-call timers fire.
inline constexpr qint64 kRunOnMs = 10000;

// Parses the command line (without the program name). False with a message on
// a wrong option or value.
bool parseArguments(const QStringList& args, ReplayOptions& options, QString& error);
QString usage();

// Runs the replay. False with a message when the capture cannot be read or an
// output file cannot be written.
bool run(const ReplayOptions& options, ReplaySummary& summary, QString& error);

} // namespace Replay
