#pragma once
// The trace views in a window of their own, for a screen too small for the
// monitor window with the views beside its call list (15120 x 8300 twips,
// 1008 x 553 px at 96 DPI). The panes and their three buttons are laid out to
// fit any size; the window shows and hides with the monitor, and closing it
// closes the monitor, whose part it is.
#include <QList>
#include <QWidget>

class TracePanes;

class TraceWindow : public QWidget {
    Q_OBJECT
public:
    TraceWindow(TracePanes& panes, const QList<QWidget*>& buttons, QWidget& monitor);

    // Shown beside the monitor's frame; kept on the screen like every window.
    void showBeside();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget& monitor_;
};
