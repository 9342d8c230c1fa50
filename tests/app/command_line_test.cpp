// Command-line words and our own options against data/app_options.txt, and the
// --simulate scenario check.
#include "app/app_options.h"
#include "app/command_line.h"
#include "app/simulator_process.h"

#include <QFile>
#include <QTemporaryFile>
#include <gtest/gtest.h>

TEST(AppOptions, EachCommandLineGivesItsOptionsWordsAndLevel)
{
    QFile table(QStringLiteral(CORVANE_SOURCE_DIR "/tests/app/data/app_options.txt"));
    ASSERT_TRUE(table.open(QIODevice::ReadOnly));
    int checked = 0;
    for (const QString& line : QString::fromUtf8(table.readAll()).split(u'\n', Qt::SkipEmptyParts)) {
        if (line.startsWith(u'#'))
            continue;
        const QString args = line.section(u'\t', 0, 0);
        const AppOptions o = parseAppOptions(args.split(u' ', Qt::SkipEmptyParts));
        const QString got = QString("simulate=%1 port=%2 home=%3 words=%4 level=%5 scan=%6 help=%7 version=%8 error=%9")
                                .arg(o.simulate ? o.scenario : "-", o.port, o.home, o.words.join(u','))
                                .arg(debugLevelFrom(o.words))
                                .arg(commandLineHasScan(o.words))
                                .arg(o.help)
                                .arg(o.version)
                                .arg(o.error)
                            + (o.service.isEmpty() ? QString() : QStringLiteral(" service=") + o.service);
        EXPECT_EQ(got, line.section(u'\t', 1)) << args.toStdString();
        ++checked;
    }
    EXPECT_GE(checked, 15);
}

TEST(SimulateOption, UnknownScenarioIsNamedWithTheKnownOnes)
{
    const QStringList known = SimulatorProcess::scenarioNames(QStringLiteral(CORVANE_BUILD_DIR "/dodova-sim"));
    ASSERT_TRUE(known.contains("demo") && known.contains("two-calls")) << known.join(' ').toStdString();
    QTemporaryFile file;
    ASSERT_TRUE(file.open());
    for (const QString& fine : {QString(), QString("demo"), file.fileName()})
        EXPECT_EQ(scenarioProblem(fine, known), "") << fine.toStdString();
    const QString problem = scenarioProblem("dmeo", known);
    EXPECT_TRUE(problem.startsWith("The simulator has no scenario \"dmeo\".")) << problem.toStdString();
    EXPECT_TRUE(problem.contains("demo, incoming-answered, ")) << problem.toStdString();
    EXPECT_TRUE(SimulatorProcess::scenarioNames("/nonexistent/dodova-sim").isEmpty());
}
