#pragma once
// Every window of the program on the screen: each time a window is shown
// (the settings window coming back after the monitor, a window at a position
// remembered from a larger or a vanished screen, a dialog larger than a small
// screen), it is moved, and shrunk where it must be, so that its frame lies
// within the available area of the screen that shows its parent, else its own.
// A message box is made wide enough for its title.
#include <QObject>

class QWidget;

class WindowsOnScreen : public QObject {
    Q_OBJECT
public:
    explicit WindowsOnScreen(QObject* parent = nullptr);
    // Moves (and, beyond the area, shrinks) `window` into its screen's area.
    static void keep(QWidget& window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
