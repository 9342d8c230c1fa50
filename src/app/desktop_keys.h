#pragma once
// The keys every desktop program has, in every window of ours: Ctrl+Q ends the
// program (as closing the settings window does, with its questions), Ctrl+W
// closes the window that has the focus, and the given actions (F1) work there
// too. A window's own shortcuts only work while the window that holds them is
// shown, so each window gets the actions when it is first shown.
#include <QList>
#include <QObject>

class QAction;
class QWidget;

class DesktopKeys : public QObject {
    Q_OBJECT
public:
    // `mainWindow` is closed by Ctrl+Q; `shared` are added to every window.
    DesktopKeys(QWidget& mainWindow, QList<QAction*> shared, QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& main_;
    QList<QAction*> actions_;
};
