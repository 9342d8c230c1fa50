// The AT interpreter against the framing the program's command channel
// relies on, its answers cut by the program's own rules.
#include "common/golden.h"
#include "common/test_files.h"
#include "device/at_channel.h"
#include "sim/at_interpreter.h"

#include <gtest/gtest.h>

using namespace sim;

namespace {

const QString kData = QStringLiteral(CORVANE_SOURCE_DIR "/tests/sim/data/");

struct Device {
    DeviceState state;
    AtInterpreter at{state};
    std::string send(const std::string& line) { return at.execute(line).bytes; }
    // The body as the program's channel cuts it from the echoed answer.
    QString body(const std::string& line) { return AtChannel::cutAnswerBody(QString::fromStdString(send(line))); }
    bool refuses(const std::string& line) { return send(line).find("ERROR") != std::string::npos; }
};

// Whole answers, echo included, to the commands of data/at_commands.txt:
// framing, refusals and the register ranges.
TEST(AtInterpreter, AnswersInModemFramingAndRefusesWhatIsOutOfRange)
{
    QString got;
    for (const QString& line : QString::fromUtf8(readBytes(kData + "at_commands.txt")).split(u'\n')) {
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        Device d;
        d.state.current.registers[56] = 15;
        d.state.echo = line.startsWith(u'1');
        const QString answer = QString::fromStdString(d.send(line.mid(2).toStdString()));
        got += line + " -> " + QString(answer).replace("\r", "\\r").replace("\n", "\\n") + u'\n';
    }
    EXPECT_GOLDEN("sim/data/at_answers.expected", got);
}

TEST(AtInterpreter, RegistersKeepWhatIsSetAndRefusedValuesChangeNothing)
{
    Device d;
    d.send("ATS127=255");
    d.send("ATS5=7");
    EXPECT_EQ(d.body("ATS127?"), "255\r\n\r\n");
    EXPECT_EQ(d.body("ATS5?"), "007\r\n\r\n");
    d.send("ATS5=300");
    EXPECT_EQ(d.body("ATS5?"), "007\r\n\r\n") << "a refused value leaves the register alone";
}

TEST(AtInterpreter, BundleBitsOfS87)
{
    Device d;
    d.send("ATS87=131"); // global-call bits and bit 7 must survive
    d.send("ATB0");
    EXPECT_EQ(d.state.current.registers[87], 131 | 96);
    d.send("ATB40");
    EXPECT_EQ(d.state.current.registers[87], 131);
}

TEST(AtInterpreter, ProfilesStoreAndLoadAndFactoryRestores)
{
    Device d;
    d.send("ATS56=40");
    d.send("AT&ZI1=5550001");
    d.send("AT&W2"); // profile 3
    d.send("ATS56=60");
    d.send("ATZ1"); // profile 2: still factory
    EXPECT_EQ(d.state.current.registers[56], 25);
    d.send("ATZ2");
    EXPECT_EQ(d.state.current.registers[56], 40);
    EXPECT_EQ(d.state.current.msn[1], "5550001");
    d.send("ATZ4");
    EXPECT_EQ(d.state.current, DeviceSettings::factory());
    EXPECT_EQ(d.state.profiles[2].registers[56], 40) << "loading factory settings keeps the profiles";
    EXPECT_TRUE(d.refuses("ATZ5"));
    EXPECT_TRUE(d.refuses("AT&W4"));
}

TEST(AtInterpreter, NumbersThatAreNotDigitsAreRefusedAndKeepTheOldValue)
{
    for (const char* bad :
        {"AT&ZI0=47 11", "AT&ZI0=MSN2", "AT&ZI0=123456789012345678901", "AT&ZI9=1", "AT&ZOc=1", "AT&ZO=1", "AT&ZI0"}) {
        Device d;
        EXPECT_TRUE(d.refuses(bad)) << bad;
        EXPECT_EQ(d.state.current.msn[0], "4711") << bad;
    }
}

TEST(AtInterpreter, FeedAssemblesLinesAndIgnoresNoise)
{
    Device d;
    auto done = d.at.feed("AT");
    EXPECT_TRUE(done.empty());
    done = d.at.feed("I4\r\nhello\rATS0?\r\r");
    ASSERT_EQ(done.size(), 2u);
    EXPECT_EQ(done[0].text, "ATI4");
    EXPECT_EQ(done[1].text, "ATS0?");
    done = d.at.feed("ATS56?x\b\r");
    ASSERT_EQ(done.size(), 1u);
    EXPECT_EQ(AtChannel::cutAnswerBody(QString::fromStdString(done[0].reply.bytes)), "025\r\n\r\n");
    done = d.at.feed("AT" + std::string(5000, 'S') + "\r");
    ASSERT_EQ(done.size(), 1u);
    EXPECT_NE(done[0].reply.bytes.find("ERROR"), std::string::npos) << "an overlong line is refused";
    EXPECT_LE(done[0].text.size(), AtInterpreter::MaxLine);
}

} // namespace
