// Command-line words and our own options.
#include "app/app_options.h"
#include "app/command_line.h"

#include <gtest/gtest.h>

TEST(CommandLine, DebugWordsSmallestWinsAndCaseCounts)
{
    struct Case {
        QStringList words;
        int level;
        bool scan;
    } cases[] = {
        {{}, 0, false},
        {{"DEBUG3"}, 3, false},
        {{"scan", "DEBUG3", "DEBUG1"}, 1, true},
        {{"DEBUG5", "DEBUG2"}, 2, false},
        {{"xDEBUG4y"}, 4, false},       // a substring anywhere counts
        {{"scanDEBUG5"}, 5, true},      // words may run together
        {{"debug1", "Scan", "SCAN"}, 0, false}, // other letter cases do not
        {{"DEBUG6", "DEBUG0"}, 0, false},
        {{"DEBUG", "1"}, 0, false},     // the blank between breaks the word
    };
    for (const Case& c : cases) {
        EXPECT_EQ(debugLevelFrom(c.words), c.level) << c.words.join(' ').toStdString();
        EXPECT_EQ(commandLineHasScan(c.words), c.scan) << c.words.join(' ').toStdString();
    }
}

TEST(AppOptions, SeparatesOptionsFromWords)
{
    struct Case {
        QStringList args;
        bool simulate;
        QString scenario, port, home;
        QStringList words;
    } cases[] = {
        {{}, false, "", "", "", {}},
        {{"--simulate"}, true, "", "", "", {}},
        {{"--simulate", "busy-line"}, true, "busy-line", "", "", {}},
        {{"--simulate=demo", "scan"}, true, "demo", "", "", {"scan"}},
        {{"--simulate", "scan", "DEBUG2"}, true, "", "", "", {"scan", "DEBUG2"}}, // words are no scenario
        {{"--simulate", "--port", "/dev/ttyUSB0"}, true, "", "/dev/ttyUSB0", "", {}},
        {{"--port=/tmp/x", "--home", "/tmp/scanner", "DEBUG1"}, false, "", "/tmp/x", "/tmp/scanner", {"DEBUG1"}},
    };
    for (const Case& c : cases) {
        const AppOptions o = parseAppOptions(c.args);
        const std::string what = c.args.join(' ').toStdString();
        EXPECT_EQ(o.simulate, c.simulate) << what;
        EXPECT_EQ(o.scenario, c.scenario) << what;
        EXPECT_EQ(o.port, c.port) << what;
        EXPECT_EQ(o.home, c.home) << what;
        EXPECT_EQ(o.words, c.words) << what;
    }
    // A folder named like a word does not start the monitor.
    EXPECT_FALSE(commandLineHasScan(parseAppOptions({"--home", "/tmp/scanner"}).words));
}
