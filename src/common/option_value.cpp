#include "common/option_value.h"

OptionTake takeOptionValue(const QStringList& args, qsizetype& i, const QString& name, QString& value)
{
    const QString& a = args.at(i);
    if (a.startsWith(name + u'='))
        value = a.mid(name.size() + 1);
    else if (a != name)
        return OptionTake::NotThis;
    else if (i + 1 < args.size() && !args.at(i + 1).startsWith(u'-'))
        value = args.at(++i);
    else
        value.clear();
    return value.isEmpty() ? OptionTake::Missing : OptionTake::Taken;
}

OptionTake takeValuedOption(
    const QStringList& args, qsizetype& i, std::initializer_list<ValuedOption> options, QString& error)
{
    for (const ValuedOption& option : options) {
        const OptionTake took = takeOptionValue(args, i, option.name, *option.value);
        if (took == OptionTake::Missing && error.isEmpty())
            error = QStringLiteral("%1 needs a value").arg(option.name);
        if (took != OptionTake::NotThis)
            return took;
    }
    return OptionTake::NotThis;
}
