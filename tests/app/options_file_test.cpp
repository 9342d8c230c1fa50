// An options file (--config FILE) as the system service reads it: its lines
// go before the command line, which wins; a wrong line stops the start with
// the file and line named.
#include "common/option_parser.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
struct Options : CommandLineStatus {
    QString port, id;
    bool json = false;
    int debug = 0;
};

Options parsed(const QStringList& args)
{
    Options o;
    OptionParser parser(o);
    parser.option(QStringLiteral("--port"), &o.port);
    parser.option(QStringLiteral("--mqtt-id"), &o.id);
    parser.flag(QStringLiteral("--json"), &o.json);
    parser.debugLevel(QStringLiteral("--debug"), &o.debug);
    parser.optionsFile(QStringLiteral("--config"));
    parser.parse(args);
    return o;
}
} // namespace

TEST(OptionsFile, LinesComeBeforeTheCommandLineAndWrongOnesAreNamed)
{
    const struct {
        const char* file;
        QStringList args; // FILE stands for the file's path
        const char* port;
        bool json;
        int debug;
        const char* error; // FILE stands for the path again
    } cases[] = {
        {"# the adapter\nport = /dev/ttyUSB1\n\n  json = yes  \ndebug=2\nmqtt-id = a = b\n", {"--config", "FILE"},
            "/dev/ttyUSB1", true, 2, ""},
        {"port = /dev/ttyUSB1\njson = no\n", {"--port", "/dev/ttyS0", "--config=FILE", "--json"}, "/dev/ttyS0", true, 0,
            ""},
        {"portt = /dev/ttyUSB1\n", {"--config", "FILE"}, "", false, 0, "FILE:1: unknown option portt"},
        {"\njson = maybe\n", {"--config", "FILE"}, "", false, 0, "FILE:2: json takes yes or no"},
        {"port =\n", {"--config", "FILE"}, "", false, 0, "FILE:1: port needs a value"},
        {"config = /etc/other.conf\n", {"--config", "FILE"}, "", false, 0, "FILE:1: unknown option config"},
        {"--port = x\n", {"--config", "FILE"}, "", false, 0, "FILE:1: unknown option --port"},
        {"debug = 9\n", {"--config", "FILE", "--debug", "1"}, "", false, 1, "--debug takes a level from 0 to 5, not 9"},
        {nullptr, {"--config", "FILE"}, "", false, 0, "cannot read FILE: no such file"},
        {"port = x\n", {"--config"}, "", false, 0, "--config needs a value"},
    };
    for (const auto& c : cases) {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("monitor.conf"));
        if (c.file) {
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(c.file);
        }
        QStringList args = c.args;
        args.replaceInStrings(QStringLiteral("FILE"), path);
        const Options o = parsed(args);
        const std::string label = args.join(u' ').toStdString() + " with " + (c.file ? c.file : "no file");
        EXPECT_EQ(o.error, QString::fromLatin1(c.error).replace(QStringLiteral("FILE"), path)) << label;
        if (*c.error)
            continue;
        EXPECT_EQ(o.port, QLatin1String(c.port)) << label;
        EXPECT_EQ(o.json, c.json) << label;
        EXPECT_EQ(o.debug, c.debug) << label;
    }
}
