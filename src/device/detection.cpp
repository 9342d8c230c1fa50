#include "device/detection.h"

#include "device/at_channel.h"

#include <QMessageBox>

bool dodOvaExists(AtChannel& at, QWidget* parentForMessages)
{
    if (!at.portOpens()) {
        QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Serial Port Error!"),
            QStringLiteral("Either serial port is being used or Port is wrong."), QMessageBox::Ok, parentForMessages);
        box.setObjectName(QStringLiteral("SerialPortError"));
        box.setInformativeText(QStringLiteral("Device tried: %1").arg(at.portPath())); // which one to fix
        box.exec();
        return false;
    }
    return answersAsDodova(at);
}
