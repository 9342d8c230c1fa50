#include "ui/documentation.h"

#include <QWidget>

Documentation::Documentation(QWidget* window) : QObject(window), window_(window)
{
}

void Documentation::open(const QString& page)
{
    if (!help_)
        help_ = new HelpWindow(page, window_);
    else
        help_->showPage(page);
    help_->show();
    help_->raise();
    help_->activateWindow();
}
