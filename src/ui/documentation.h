#pragma once
// Help > Documentation: help.htm in the program's own help window. A desktop's
// default handler for .htm files is as often an editor as a browser, and the
// own window renders the guide, follows its links and searches it.
#include "ui/help_window.h"

#include <QObject>
#include <QPointer>

class Documentation : public QObject {
    Q_OBJECT
public:
    explicit Documentation(QWidget* window);

    // Shows `page`, raising the help window when it is open already.
    void open(const QString& page);
    // The help window, when it is open.
    HelpWindow* helpWindow() const { return help_; }

private:
    QWidget* window_;
    QPointer<HelpWindow> help_;
};
