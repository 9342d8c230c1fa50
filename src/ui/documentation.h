#pragma once
// Help > Documentation: help.htm in the desktop's web browser (xdg-open), and
// in the program's own help window when there is none or it fails, so the
// command never does nothing.
#include "ui/help_window.h"

#include <QObject>
#include <QPointer>

class Documentation : public QObject {
    Q_OBJECT
public:
    explicit Documentation(QWidget* window);
    ~Documentation() override;

    void open(const QString& page);
    // The own help window, when it is open.
    HelpWindow* helpWindow() const { return help_; }

private:
    void showOwnWindow(const QString& page);

    QWidget* window_;
    QPointer<HelpWindow> help_;
};
