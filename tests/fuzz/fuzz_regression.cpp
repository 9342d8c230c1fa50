// Replays data/<harness>/* through the fuzz harnesses; a reader that breaks
// again aborts the run.
#include "fuzz_entry.h"

int main(int argc, char** argv)
{
    fuzz::ensureApp();
    const int run = fuzz::replayAll(QString::fromLocal8Bit(argc > 1 ? argv[1] : "."));
    std::fprintf(stderr, "%d saved inputs replayed\n", run);
    return run > 0 ? 0 : 1;
}
