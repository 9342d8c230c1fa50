// The ignore list: numbers and prefixes in any of the forms people write
// (data/ignore_cases.txt), and the first line that is none. Adding to it: the call list window's test.
#include "common/test_files.h"
#include "phonebook/ignore_list.h"

TEST(IgnoreList, MatchesNumbersAndPrefixesInTheirNationalForm)
{
    const QByteArray table = readBytes(QStringLiteral(CORVANE_SOURCE_DIR "/tests/phonebook/data/ignore_cases.txt"));
    for (const QString& line : QString::fromUtf8(table).split(u'\n', Qt::SkipEmptyParts)) {
        const QStringList f = line.split(u'|');
        const QString list = QString(f[0]).replace("\\n", "\n").replace("\\r", "\r");
        if (f.size() == 3) {
            EXPECT_EQ(IgnoreList(list, {"49", "30"}).matches(f[1]), f[2] == QLatin1String("yes")) << line.toStdString();
        } else if (f.size() == 2) {
            const auto refused = IgnoreList::firstRefused(list, {"49", "30"});
            EXPECT_EQ(refused ? QStringLiteral("%1:%2").arg(refused->line).arg(refused->entry) : "none", f[1])
                << line.toStdString();
        }
    }
}
