#include "monitor/window/monitor_message.h"

#include <QMessageBox>

namespace monitormessage {

namespace {
Handler& handler()
{
    static Handler h;
    return h;
}
bool& handledAnswer()
{
    static bool yes = true;
    return yes;
}

const QString kTitle = QStringLiteral("ISDN Corvane");
} // namespace

void show(QWidget* parent, const QString& text)
{
    if (handler()) {
        handler()(parent, text);
        return;
    }
    QMessageBox::information(parent, kTitle, text, QMessageBox::Ok);
}

bool ask(QWidget* parent, const QString& text)
{
    if (handler()) {
        handler()(parent, text);
        return handledAnswer();
    }
    return QMessageBox::warning(parent, kTitle, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
           == QMessageBox::Yes;
}

void setHandler(Handler h)
{
    handler() = std::move(h);
}

void setHandledAnswer(bool yes)
{
    handledAnswer() = yes;
}

} // namespace monitormessage
