#include "device/detection.h"

#include "device/at_channel.h"

#include <QMessageBox>

bool isDodovaIdentity(const QString& ati4Answer)
{
    static const char* const names[] = {"DodOva", "dodOva", "dodova", "Dodova", "Zedevuvi"};
    for (const char* name : names)
        if (ati4Answer.contains(QLatin1String(name), Qt::CaseSensitive))
            return true;
    return false;
}

bool dodOvaExists(AtChannel& at, QWidget* parentForMessages)
{
    if (!at.portOpens()) {
        QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Serial Port Error!"),
                        QStringLiteral("Either serial port is being used or Port is wrong."), QMessageBox::Ok,
                        parentForMessages);
        box.setObjectName(QStringLiteral("SerialPortError"));
        box.setInformativeText(QStringLiteral("Device tried: %1").arg(at.portPath())); // which one to fix
        box.exec();
        return false;
    }
    at.SendAT(QStringLiteral("ATCD8")); // a trace left running would drown the answers
    at.SendAT(QStringLiteral("ATE1"));  // the answer cutting needs the echo
    return isDodovaIdentity(at.SendAT(QStringLiteral("ATI4")));
}
