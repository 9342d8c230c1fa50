#include "app/desktop_keys.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QWidget>

DesktopKeys::DesktopKeys(QWidget& mainWindow, QList<QAction*> shared, QObject* parent)
    : QObject(parent), main_(mainWindow), actions_(std::move(shared))
{
    auto* quit = new QAction(this);
    quit->setObjectName(QStringLiteral("ActionQuit"));
    quit->setShortcut(QKeySequence::Quit);
    connect(quit, &QAction::triggered, this, [this] {
        if (main_.close()) // asks about untransmitted changes; closes the monitor
            QApplication::quit();
    });
    auto* close = new QAction(this);
    close->setObjectName(QStringLiteral("ActionCloseWindow"));
    close->setShortcut(QKeySequence::Close);
    connect(close, &QAction::triggered, this, [] {
        if (QWidget* w = QApplication::activeWindow())
            w->close();
    });
    for (QAction* a : {quit, close}) {
        a->setShortcutContext(Qt::ApplicationShortcut);
        actions_ << a;
    }
    qApp->installEventFilter(this);
}

bool DesktopKeys::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
        auto* w = static_cast<QWidget*>(watched);
        if (w->isWindow() && w->windowType() != Qt::Popup && w->windowType() != Qt::ToolTip)
            for (QAction* a : actions_)
                if (!w->actions().contains(a))
                    w->addAction(a);
    }
    return QObject::eventFilter(watched, event);
}
