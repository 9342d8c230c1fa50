#pragma once
// Options with a value on our programs' command lines: "--opt=value" or
// "--opt value". A value missing, empty or looking like the next option is an
// error, so "--port --home x" does not take "--home" as a device.
#include <QString>
#include <QStringList>

enum class OptionTake { NotThis, Taken, Missing };

// Looks at args[i]; on "--opt value" advances i past the value.
OptionTake takeOptionValue(const QStringList& args, qsizetype& i, const QString& name, QString& value);
