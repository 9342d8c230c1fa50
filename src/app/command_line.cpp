#include "app/command_line.h"

#include "common/option_parser.h"

namespace {
int g_debugLevel = 0;
}

bool commandLineHasScan(const QStringList& words)
{
    return words.join(u' ').contains(QLatin1String("scan"), Qt::CaseSensitive);
}

int debugLevelFrom(const QStringList& words)
{
    const QString line = words.join(u' ');
    int level = 0;
    for (int n = kHighestDebugLevel; n >= 1; --n)
        if (line.contains(QStringLiteral("DEBUG%1").arg(n), Qt::CaseSensitive))
            level = n;
    return level;
}

int startupDebugLevel()
{
    return g_debugLevel;
}

void setStartupDebugLevel(int level)
{
    g_debugLevel = level;
}
