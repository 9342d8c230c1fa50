#include "common/port_argument.h"

#include <QFileInfo>

QString portFromCommandLine(const QString& port)
{
    const QFileInfo file(port);
    if (port.isEmpty() || port.contains(QLatin1String("://")) || file.isAbsolute())
        return port;
    if (!port.contains(u'/') && !file.exists())
        return port;
    return file.absoluteFilePath();
}
