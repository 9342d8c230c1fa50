#pragma once
// The monitor's message boxes (OK button, application title "ISDN Corvane").
// Tests replace the handler so that no modal box waits for a click.
#include <QString>
#include <functional>

class QWidget;

namespace monitormessage {

using Handler = std::function<void(QWidget* parent, const QString& text)>;

void show(QWidget* parent, const QString& text);
// A warning with Yes and No (No the default); true for Yes. With a handler
// set, the handler sees the text and the answer is the one set below.
bool ask(QWidget* parent, const QString& text);
void setHandler(Handler handler); // empty: the real message box again
void setHandledAnswer(bool yes);

} // namespace monitormessage
