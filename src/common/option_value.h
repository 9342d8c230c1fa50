#pragma once
// Options with a value on our programs' command lines: "--opt=value" or
// "--opt value". A value missing, empty or looking like the next option is an
// error, so "--port --home x" does not take "--home" as a device.
#include <QString>
#include <QStringList>
#include <initializer_list>

enum class OptionTake { NotThis, Taken, Missing };

// Looks at args[i]; on "--opt value" advances i past the value.
OptionTake takeOptionValue(const QStringList& args, qsizetype& i, const QString& name, QString& value);

// The options with a value a program knows, each with where its value goes.
struct ValuedOption {
    QString name;
    QString* value;
};

// Tries each of `options` at args[i]. A missing value sets `error` to
// "NAME needs a value" unless it already holds an earlier problem.
OptionTake takeValuedOption(
    const QStringList& args, qsizetype& i, std::initializer_list<ValuedOption> options, QString& error);
