#pragma once
// The debug views of the monitor window: the three trace panes (Text1 to
// Text3) and the identifier tree (TreeIDs), each following the engine's pane
// or tree as it grows, is trimmed or is cleared. Created hidden, on the
// window itself, at the design's places right of the call list.
#include <QObject>

class MonitorEngine;
class QPlainTextEdit;
class QTreeWidget;
class QWidget;

class TracePanes : public QObject {
public:
    TracePanes(MonitorEngine& engine, double dpi, QWidget* window);

    void show();

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
