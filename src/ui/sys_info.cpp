#include "ui/sys_info.h"

#include <QStandardPaths>

namespace {

struct Candidate {
    const char* desktop; // XDG_CURRENT_DESKTOP name it belongs to; "" for any
    const char* program;
    const char* argument; // "" for none
};

// Each desktop's own "about this system" panel, then stand-alone tools.
constexpr Candidate kCandidates[] = {
    {"KDE", "kinfocenter", ""},
    {"GNOME", "gnome-control-center", "info-overview"},
    {"XFCE", "xfce4-about", ""},
    {"X-Cinnamon", "cinnamon-settings", "info"},
    {"MATE", "mate-system-info", ""},
    {"LXQt", "lxqt-about", ""},
    {"", "hardinfo2", ""},
    {"", "hardinfo", ""},
};

SysInfoProgram lookUp(const Candidate& c)
{
    const QString path = QStandardPaths::findExecutable(QString::fromLatin1(c.program));
    if (path.isEmpty())
        return {};
    QStringList args;
    if (*c.argument)
        args << QString::fromLatin1(c.argument);
    return {path, args};
}

} // namespace

SysInfoProgram findSysInfoProgram()
{
    const QStringList desktops = qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(u':', Qt::SkipEmptyParts);
    for (const Candidate& c : kCandidates)
        if (*c.desktop && desktops.contains(QString::fromLatin1(c.desktop), Qt::CaseInsensitive))
            if (SysInfoProgram p = lookUp(c); !p.program.isEmpty())
                return p;
    for (const Candidate& c : kCandidates)
        if (SysInfoProgram p = lookUp(c); !p.program.isEmpty())
            return p;
    return {};
}
