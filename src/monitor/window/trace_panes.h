#pragma once
// The debug views of the monitor window: the three trace panes (Text1 to
// Text3) and the identifier tree (TreeIDs), each following the engine's pane
// or tree as it grows, is trimmed or is cleared. Created hidden, on the
// window itself, at the design's places right of the call list.
#include <QObject>

class MonitorEngine;
class QGridLayout;
class QPlainTextEdit;
class QTreeWidget;
class QWidget;

class TracePanes : public QObject {
public:
    TracePanes(MonitorEngine& engine, double dpi, QWidget* window);

    void show();
    // Into the grid of a window of their own, laid out in the design's
    // proportions: the calls pane beside the tree, the capture and the
    // frames panes below (rows 0 to 2, two columns).
    void layOutIn(QGridLayout& grid);

private:
    QPlainTextEdit* addPane(const char* name, QRect geometry);
    static void append(QPlainTextEdit* pane, const QString& text);
    void drawTree();

    MonitorEngine& engine_;
    QWidget* window_;
    QPlainTextEdit* Text1 = nullptr;
    QPlainTextEdit* Text2 = nullptr;
    QPlainTextEdit* Text3 = nullptr;
    QTreeWidget* TreeIDs = nullptr;
};
