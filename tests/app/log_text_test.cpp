// Text for a terminal or the journal: nothing from a client or the line can
// move the cursor, recolour the terminal or begin a line of its own.
#include "common/log_text.h"

#include <gtest/gtest.h>

TEST(LogText, ControlCharactersAreShownNotActedOn)
{
    struct Case {
        QString text, line, trace;
    };
    const Case cases[] = {
        {QStringLiteral("client\r\x1B[2Kcorvane-monitor: logged"),
            QStringLiteral("client\\x0D\\x1B[2Kcorvane-monitor: logged"),
            QStringLiteral("client\\x1B[2Kcorvane-monitor: logged")},
        {QStringLiteral("L1   0 -> 02 FF\r\n 00001234\r\n"),
            QStringLiteral("L1   0 -> 02 FF\\x0D\\x0A 00001234\\x0D\\x0A"),
            QStringLiteral("L1   0 -> 02 FF\n 00001234\n")},
        {QStringLiteral("bell\a del\x7F csi\u009B31m"), QStringLiteral("bell\\x07 del\\x7F csi\\x9B31m"),
            QStringLiteral("bell\\x07 del\\x7F csi\\x9B31m")},
        {QStringLiteral("Müller\t03012"), QStringLiteral("Müller\t03012"), QStringLiteral("Müller\t03012")},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(logtext::line(c.text), c.line);
        EXPECT_EQ(logtext::trace(c.text), c.trace);
    }
}
