#include "monitor/window/monitor_message.h"

#include <QMessageBox>

namespace monitormessage {

namespace {
Handler& handler()
{
    static Handler h;
    return h;
}
} // namespace

void show(QWidget* parent, const QString& text)
{
    if (handler()) {
        handler()(parent, text);
        return;
    }
    QMessageBox::information(parent, QStringLiteral("ISDN Corvane"), text, QMessageBox::Ok);
}

void setHandler(Handler h)
{
    handler() = std::move(h);
}

} // namespace monitormessage
