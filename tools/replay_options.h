#pragma once
// corvane-replay's command line.
#include "common/option_parser.h"
#include "tools/pcap_writer.h"

#include <QDateTime>
#include <optional>

struct ReplayOptions : CommandLineStatus {
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

namespace Replay {

// Arguments without the program name. --help and --version win over errors.
ReplayOptions parseArguments(const QStringList& args);
QString usage();

} // namespace Replay
