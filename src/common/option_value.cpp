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
