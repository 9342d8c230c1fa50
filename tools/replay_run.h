#pragma once
// corvane-replay: a recorded trace through the call-monitor engine on a
// virtual clock; the panes, the call list and the final channel state land in
// files of the output folder.
#include "tools/replay_options.h"

class QTextStream;

struct ReplaySummary {
    qint64 framesDecoded = 0;
    qint64 callsLogged = 0;
};

namespace Replay {

// After the last capture line the clock runs on this long, so pending
// end-of-call timers fire.
inline constexpr qint64 kRunOnMs = 10000;

// Runs the replay. False with a message when the capture cannot be read or an
// output file cannot be written.
bool run(const ReplayOptions& options, ReplaySummary& summary, QString& error);

} // namespace Replay
