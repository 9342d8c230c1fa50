#pragma once
// The program's version record and the names shown in titles and messages.
#include <QString>

namespace Version {

constexpr int Major = 4;
constexpr int Minor = 0;
constexpr int Revision = 0;

// Product name and application title of message boxes.
inline QString appTitle()
{
    return QStringLiteral("ISDN Corvane");
}
// "4.0.0": plain decimal numbers.
inline QString text()
{
    return QStringLiteral("%1.%2.%3").arg(Major).arg(Minor).arg(Revision);
}

} // namespace Version
