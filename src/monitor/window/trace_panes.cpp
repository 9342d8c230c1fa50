#include "monitor/window/trace_panes.h"

#include "monitor/engine/monitor_engine.h"
#include "monitor/window/lamp_pictures.h"
#include "monitor/window/twips.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QHash>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTreeWidget>

TracePanes::TracePanes(MonitorEngine& engine, double dpi, QWidget* window) : QObject(window), window_(window)
{
    Text3 = addPane("Text3", twips::rect(8040, 75, 2955, 2655, dpi)); // 60 twips narrower than designed: clears TreeIDs
    Text1 = addPane("Text1", twips::rect(8040, 2760, 6855, 1095, dpi));
    Text2 = addPane("Text2", twips::rect(8040, 3900, 6855, 3375, dpi));
    TreeIDs = new QTreeWidget(window);
    TreeIDs->setObjectName(QStringLiteral("TreeIDs"));
    TreeIDs->setHeaderHidden(true);
    TreeIDs->setGeometry(twips::rect(11040, 120, 3855, 2595, dpi));
    TreeIDs->hide();
    follow({&engine.Text1(), &engine.Text2(), &engine.Text3()}, engine.TreeIDs());
}

void TracePanes::follow(const std::array<TracePane*, 3>& panes, TraceTree& tree)
{
    const std::array<QPlainTextEdit*, 3> views{Text1, Text2, Text3};
    for (size_t i = 0; i < views.size(); ++i) {
        QPlainTextEdit* view = views[i];
        TracePane* pane = panes[i];
        if (panes_[i])
            disconnect(panes_[i], nullptr, view, nullptr);
        connect(pane, &TracePane::appended, view, [view](const QString& t) { append(view, t); });
        connect(pane, &TracePane::cleared, view, &QPlainTextEdit::clear);
        connect(pane, &TracePane::trimmed, view, [pane, view] {
            view->clear();
            append(view, pane->text());
        });
        view->clear();
        append(view, pane->text());
    }
    panes_ = panes;
    if (tree_)
        disconnect(tree_, nullptr, this, nullptr);
    tree_ = &tree;
    connect(tree_, &TraceTree::changed, this, &TracePanes::drawTree);
    drawTree();
}

QPlainTextEdit* TracePanes::addPane(const char* name, QRect geometry)
{
    QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    mono.setPointSizeF(8.0); // the window's size, so the small panes hold a few more lines
    auto* p = new QPlainTextEdit(window_);
    p->setObjectName(QLatin1String(name));
    p->setReadOnly(true);
    p->setMaximumBlockCount(TracePane::kMaxLines);
    // Long lines (a whole capture buffer, a frame's octets) wrap at the pane's
    // edge: the pane scrolls only downwards, on any screen.
    p->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    p->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    p->setFont(mono);
    p->setGeometry(geometry);
    p->hide();
    return p;
}

void TracePanes::show()
{
    for (QWidget* w : std::initializer_list<QWidget*>{Text1, Text2, Text3, TreeIDs})
        w->show();
}

void TracePanes::layOutIn(QGridLayout& grid)
{
    grid.addWidget(Text3, 0, 0);
    grid.addWidget(TreeIDs, 0, 1);
    grid.addWidget(Text1, 1, 0, 1, 2);
    grid.addWidget(Text2, 2, 0, 1, 2);
    // The design's heights and widths, twips.
    grid.setRowStretch(0, 2655);
    grid.setRowStretch(1, 1095);
    grid.setRowStretch(2, 3375);
    grid.setColumnStretch(0, 2955);
    grid.setColumnStretch(1, 3855);
}

void TracePanes::append(QPlainTextEdit* pane, const QString& text)
{
    QString plain = text;
    plain.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    plain.remove(u'\r');
    QTextCursor end(pane->document());
    end.movePosition(QTextCursor::End);
    end.insertText(plain);
    pane->verticalScrollBar()->setValue(pane->verticalScrollBar()->maximum());
}

void TracePanes::drawTree()
{
    TreeIDs->clear();
    QHash<QString, QTreeWidgetItem*> byKey;
    for (const TreeNode& node : tree_->nodes()) {
        QTreeWidgetItem* parent = byKey.value(node.parentKey);
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(TreeIDs);
        item->setText(0, node.text);
        const QPixmap icon = lamps::picture(node.image, window_->devicePixelRatioF());
        if (!icon.isNull())
            item->setIcon(0, icon);
        item->setExpanded(node.expanded);
        if (!node.key.isEmpty())
            byKey.insert(node.key, item);
    }
    TreeIDs->expandToDepth(0);
}
