#include "monitor/window/call_grid.h"

#include "app/regional.h"
#include "app/settings_store.h"
#include "monitor/engine/call_list_model.h"
#include "monitor/window/grid_sort.h"
#include "monitor/window/twips.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyledItemDelegate>
#include <algorithm>

namespace {

constexpr int kColumns = 8;

// Columns MSN, Type and Cost are left-aligned, the others centred.
class GridAlignment : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        const int c = index.column();
        const Qt::Alignment h = (c == 0 || c == 1 || c == 7) ? Qt::AlignLeft : Qt::AlignHCenter;
        option->displayAlignment = h | Qt::AlignVCenter;
    }
};

QString widthKey(int column)
{
    return QStringLiteral("GridWidth%1").arg(column);
}

} // namespace

CallGrid::CallGrid(SettingsStore& settings, QWidget* parent) : QTableView(parent), settings_(settings)
{
    setObjectName(QStringLiteral("FlexGrid1"));
    setItemDelegate(new GridAlignment(this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    horizontalHeader()->setSectionsClickable(false); // a release sorts, see eventFilter
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    horizontalHeader()->viewport()->installEventFilter(this);
    viewport()->installEventFilter(this);
}

double CallGrid::dpi() const
{
    return twips::dpiOf(this);
}

void CallGrid::setCallList(CallListModel* model)
{
    model_ = model;
    setModel(model);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid())
                    emit recordEntered(current.row());
            });
    applyStoredWidths();
}

void CallGrid::applyStoredWidths()
{
    for (int c = 0; c < kColumns; ++c) {
        const std::optional<double> v = regional::toNumber(settings_.read(widthKey(c)));
        const std::optional<double> fallback = regional::toNumber(SettingsStore::defaultFor(widthKey(c)));
        const double twipsValue = v && *v >= 0 && *v <= 100000 ? *v : fallback.value_or(800);
        widthTwips_[c] = static_cast<int>(regional::roundHalfEven(twipsValue));
        setColumnWidth(c, twips::toPx(widthTwips_[c], dpi()));
    }
}

int CallGrid::columnWidthTwips(int column) const
{
    if (column < 0 || column >= kColumns)
        return 0;
    const int px = columnWidth(column);
    // A width the user has not changed keeps its stored twips exactly.
    return twips::toPx(widthTwips_[column], dpi()) == px ? widthTwips_[column] : twips::fromPx(px, dpi());
}

void CallGrid::saveWidths()
{
    for (int c = 0; c < kColumns; ++c) {
        widthTwips_[c] = columnWidthTwips(c);
        settings_.write(widthKey(c), QString::number(widthTwips_[c]));
    }
}

int CallGrid::headerColumnAt(int x) const
{
    for (int c = 0; c < kColumns; ++c) {
        const int left = horizontalHeader()->sectionViewportPosition(c);
        if (left < x && x < left + horizontalHeader()->sectionSize(c))
            return c;
    }
    return 0;
}

void CallGrid::sortByHeader(int column)
{
    if (!model_)
        return;
    QList<CallRecord> records = model_->records();
    gridsort::headerClick(records, column);
    model_->setRecords(std::move(records));
    if (model_->rowCount() > 0)
        setCurrentIndex(model_->index(currentIndex().isValid() ? currentIndex().row() : 0, column));
}

void CallGrid::deleteSelectedRows()
{
    if (!model_)
        return;
    QList<int> rows;
    for (const QModelIndex& i : selectionModel()->selectedRows())
        rows << i.row();
    if (rows.isEmpty() && currentIndex().isValid())
        rows << currentIndex().row();
    std::sort(rows.begin(), rows.end(), std::greater<int>());
    for (int row : rows)
        model_->removeRows(row, 1);
}

void CallGrid::keyReleaseEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Delete && !event->isAutoRepeat())
        deleteSelectedRows();
    QTableView::keyReleaseEvent(event);
}

bool CallGrid::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        saveWidths();
        const auto* me = static_cast<QMouseEvent*>(event);
        if (watched == horizontalHeader()->viewport()) {
            // Also the end of a border drag: the list is sorted by the column under the pointer.
            sortByHeader(headerColumnAt(me->position().toPoint().x()));
        } else if (watched == viewport() && selectionModel()
                   && selectionModel()->selectedRows().size() == 1 && currentIndex().isValid()) {
            emit recordEntered(currentIndex().row());
        }
    }
    return QTableView::eventFilter(watched, event);
}
