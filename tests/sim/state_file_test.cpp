// The simulator's saved state on a full disk: the old file stays. The save runs
// in a forked child whose files cannot grow past a limit, as on a full disk.
#include "sim/device_state.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <csignal>
#include <fstream>
#include <sstream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace sim;

namespace {

std::string readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return in ? s.str() : "<missing>";
}

// 1: saved, 0: refused, -1: the child did not end normally.
int saveWithFileSizeLimit(const DeviceState& state, const std::string& path, rlim_t limit)
{
    const pid_t pid = fork();
    if (pid == 0) {
        signal(SIGXFSZ, SIG_IGN); // the write fails with EFBIG instead of ending the process
        const rlimit r{limit, limit};
        setrlimit(RLIMIT_FSIZE, &r);
        _exit(state.saveFile(path) ? 1 : 0);
    }
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

TEST(StateFile, AFullDiskKeepsTheOldState)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("state.txt").toStdString();
    DeviceState changed;
    changed.current.msn[0] = "5550";
    changed.charges[0] = 99;

    for (const rlim_t limit : {rlim_t(64), rlim_t(RLIM_INFINITY)}) {
        const bool room = limit == RLIM_INFINITY;
        SCOPED_TRACE(room ? "room enough" : "full");
        std::ofstream(path, std::ios::binary) << "old";
        EXPECT_EQ(saveWithFileSizeLimit(changed, path, limit), room ? 1 : 0);
        EXPECT_FALSE(std::ifstream(path + ".new").good()) << "no half-written file is left";
        if (!room) {
            EXPECT_EQ(readAll(path), "old");
            continue;
        }
        DeviceState loaded;
        std::ifstream in(path, std::ios::binary);
        loaded.load(in);
        EXPECT_EQ(loaded.current, changed.current);
        EXPECT_EQ(loaded.charges, changed.charges);
    }
}

TEST(StateFile, AnUnwritableFolderIsRefused)
{
    EXPECT_FALSE(DeviceState().saveFile("/nonexistent-folder/state.txt"));
}

} // namespace
