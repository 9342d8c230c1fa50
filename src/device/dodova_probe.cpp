#include "device/dodova_probe.h"

#include "device/at_channel.h"

bool isDodovaIdentity(const QString& ati4Answer)
{
    static const char* const names[] = {"DodOva", "dodOva", "dodova", "Dodova", "Zedevuvi"};
    for (const char* name : names)
        if (ati4Answer.contains(QLatin1String(name), Qt::CaseSensitive))
            return true;
    return false;
}

bool answersAsDodova(AtChannel& at)
{
    at.SendAT(QStringLiteral("ATCD8")); // a trace left running would drown the answers
    at.SendAT(QStringLiteral("ATE1"));  // the answer cutting needs the echo
    return isDodovaIdentity(at.SendAT(QStringLiteral("ATI4")));
}
