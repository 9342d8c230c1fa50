#pragma once
// The debug views of the monitor window: the three trace panes (Text1 to
// Text3) and the identifier tree (TreeIDs), each following the engine's pane
// or tree (or a service's, through its feed) as it grows, is trimmed or is
// cleared. Created hidden, on the window itself, at the design's places right
// of the call list.
#include <QObject>
#include <array>

class MonitorEngine;
class QGridLayout;
class QPlainTextEdit;
class QTreeWidget;
class QWidget;
class TracePane;
class TraceTree;

class TracePanes : public QObject {
public:
    TracePanes(MonitorEngine& engine, double dpi, QWidget* window);

    // The views follow these panes and this tree from now on.
    void follow(const std::array<TracePane*, 3>& panes, TraceTree& tree);

    void show();
    // Into the grid of a window of their own, laid out in the design's
    // proportions: the calls pane beside the tree, the capture and the
    // frames panes below (rows 0 to 2, two columns).
    void layOutIn(QGridLayout& grid);

private:
    QPlainTextEdit* addPane(const char* name, QRect geometry);
    static void append(QPlainTextEdit* pane, const QString& text);
    void drawTree();

    QWidget* window_;
    std::array<TracePane*, 3> panes_{};
    TraceTree* tree_ = nullptr;
    QPlainTextEdit* Text1 = nullptr;
    QPlainTextEdit* Text2 = nullptr;
    QPlainTextEdit* Text3 = nullptr;
    QTreeWidget* TreeIDs = nullptr;
};
