// The simulator's saved state on a full disk: the old file stays. The save runs
// in a forked child whose files cannot grow past a limit, as on a full disk.
#include "common/file_size_limit.h"
#include "sim/device_state.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <fstream>
#include <sstream>

using namespace sim;

namespace {

std::string readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return in ? s.str() : "<missing>";
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
        EXPECT_EQ(withFileSizeLimit(limit, [&] { return changed.saveFile(path); }), room ? 1 : 0);
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
