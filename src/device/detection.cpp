#include "device/detection.h"

#include "device/at_channel.h"

#include <QCoreApplication>
#include <QMessageBox>

bool dodOvaExists(AtChannel& at, QWidget* parentForMessages)
{
    if (!at.portOpens()) {
        QMessageBox box(QMessageBox::NoIcon, QCoreApplication::translate("Form1", "Serial Port Error!"),
            QCoreApplication::translate("Form1", "Either serial port is being used or Port is wrong."), QMessageBox::Ok,
            parentForMessages);
        box.setObjectName(QStringLiteral("SerialPortError"));
        box.setInformativeText(
            QCoreApplication::translate("Form1", "Device tried: %1").arg(at.portPath())); // which one to fix
        box.exec();
        return false;
    }
    return answersAsDodova(at);
}
