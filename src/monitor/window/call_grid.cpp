#include "monitor/window/call_grid.h"

#include "common/regional.h"
#include "common/settings_store.h"
#include "monitor/engine/call_list.h"
#include "monitor/window/call_list_model.h"
#include "monitor/window/call_filter.h"
#include "monitor/window/grid_sort.h"
#include "monitor/window/twips.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyle>
#include <QStyledItemDelegate>
#include <algorithm>
#include <cstdlib>
#include <utility>

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

constexpr int kNameColumn = 5;

// What a column typically holds. The design's default widths were made for a
// smaller font; a column without a stored width is made wide enough for these.
QStringList typicalTexts(int column)
{
    switch (column) {
    case 0: return {QStringLiteral("1234567")};
    case 1: return {QStringLiteral("Answer*"), QStringLiteral("Called*")};
    case 2: return {QStringLiteral("2026-12-31")};
    case 3: return {QStringLiteral("23:59:59")};
    case 4: return {QStringLiteral("03012345678"), QStringLiteral("Secret Number")};
    case kNameColumn: return {QStringLiteral("Anna Berger")};
    case 6: return {QStringLiteral("10:00:00")};
    default: return {regional::money00(88.88)};
    }
}

} // namespace

CallGrid::CallGrid(SettingsStore& settings, QWidget* parent)
    : QTableView(parent), settings_(settings), filter_(new CallFilter(this))
{
    setObjectName(QStringLiteral("FlexGrid1"));
    confirmDelete = [this](const QString& question) {
        return QMessageBox::question(
                   window(), tr("Delete Calls"), question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
               == QMessageBox::Yes;
    };
    setItemDelegate(new GridAlignment(this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    horizontalHeader()->setSectionsClickable(false); // a release sorts, see eventFilter
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int column) {
        if (column == kNameColumn && !spreading_)
            nameExtra_ = 0; // dragged: the width is the user's
    });
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    horizontalHeader()->viewport()->installEventFilter(this);
    viewport()->installEventFilter(this);
}

double CallGrid::dpi() const
{
    return twips::dpiOf(this);
}

void CallGrid::setCallList(CallList* list)
{
    list_ = list;
    delete model_;
    model_ = new CallListModel(*list, this);
    filter_->setCallList(model_);
    setModel(filter_);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex& current) {
        if (current.isValid())
            emit recordEntered(filter_->sourceRow(current.row()));
    });
    applyStoredWidths();
}

int CallGrid::fittingWidthPx(int column) const
{
    const QString title = model() ? model()->headerData(column, Qt::Horizontal).toString() : QString();
    const int headerPx = horizontalHeader()->fontMetrics().horizontalAdvance(title)
                         + 2 * style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, horizontalHeader());
    const int cellMargin = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1);
    int cellPx = 0;
    for (const QString& text : typicalTexts(column))
        cellPx = std::max(cellPx, fontMetrics().horizontalAdvance(text) + cellMargin);
    return std::max(headerPx, cellPx) + 2; // the grid line and a little air
}

void CallGrid::applyStoredWidths()
{
    std::array<bool, kColumns> stored{};
    std::array<int, kColumns> px{}, least{};
    for (int c = 0; c < kColumns; ++c) {
        const std::optional<double> v = regional::toNumber(settings_.read(widthKey(c), QString()));
        stored[c] = v && *v >= 0 && *v <= 100000;
        if (stored[c]) {
            widthTwips_[c] = static_cast<int>(regional::roundHalfEven(*v));
            px[c] = least[c] = twips::toPx(widthTwips_[c], dpi());
        } else {
            // Not stored yet (or nonsense): the default, widened to what the column shows.
            least[c] = fittingWidthPx(c);
            px[c] = std::max(twips::toPx(defaultTwips(c), dpi()), least[c]);
        }
    }
    giveWay(px, least);
    for (int c = 0; c < kColumns; ++c) {
        if (!stored[c])
            widthTwips_[c] = px[c] == twips::toPx(defaultTwips(c), dpi()) ? defaultTwips(c)
                                                                          : twips::fromPx(px[c], dpi());
        setColumnWidth(c, twips::toPx(widthTwips_[c], dpi()));
    }
    nameExtra_ = 0;
    spreadNames();
}

// A grid wider than its columns: the names take the room, and the widths
// saved stay the columns' own.
void CallGrid::spreadNames()
{
    int used = 0;
    for (int c = 0; c < kColumns; ++c)
        used += columnWidth(c);
    const int base = columnWidth(kNameColumn) - nameExtra_;
    // Room kept for the vertical scroll bar, so that more rows never scroll sideways.
    const int room = width() - 2 * frameWidth()
                     - style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, verticalScrollBar());
    nameExtra_ = std::max(0, room - (used - nameExtra_));
    spreading_ = true;
    setColumnWidth(kNameColumn, base + nameExtra_);
    spreading_ = false;
}

void CallGrid::resizeEvent(QResizeEvent* event)
{
    QTableView::resizeEvent(event);
    spreadNames();
}

int CallGrid::defaultTwips(int column)
{
    return SettingsStore::defaultFor(widthKey(column)).toInt();
}

// When the columns overflow the grid, the columns wider than their content
// give way first, in proportion to their spare room, then the names; none goes
// below `least` (stored widths have no room to give). So a grid of the design's
// size shows every column, Cost included, without scrolling sideways, and the
// names get all the room the other columns do not need.
void CallGrid::giveWay(std::array<int, 8>& px, const std::array<int, 8>& least) const
{
    const int viewPx = width() - 2 * frameWidth()
                       - style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, verticalScrollBar());
    int overflow = -viewPx;
    for (int w : px)
        overflow += w;
    auto shrink = [&](int c, int by) {
        const int d = std::max(0, std::min({by, overflow, px[c] - least[c]}));
        px[c] -= d;
        overflow -= d;
    };
    int spare = 0;
    for (int c = 0; c < kColumns; ++c)
        spare += c == kNameColumn ? 0 : px[c] - least[c];
    const int wanted = overflow;
    for (int c = 0; c < kColumns && overflow > 0 && spare > 0; ++c)
        if (c != kNameColumn)
            shrink(c, ((px[c] - least[c]) * wanted + spare - 1) / spare);
    shrink(kNameColumn, overflow);
}

int CallGrid::columnWidthTwips(int column) const
{
    if (column < 0 || column >= kColumns)
        return 0;
    const int px = columnWidth(column) - (column == kNameColumn ? nameExtra_ : 0);
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
    if (!list_)
        return;
    QList<CallRecord> records = list_->records();
    gridsort::headerClick(records, column);
    const int row = currentIndex().isValid() ? currentIndex().row() : 0;
    list_->setRecords(std::move(records));
    if (filter_->rowCount() > 0)
        setCurrentIndex(filter_->index(std::min(row, filter_->rowCount() - 1), column));
}

void CallGrid::setCurrentRecord(int row)
{
    setCurrentIndex(filter_->index(filter_->shownRow(row), 0));
}

int CallGrid::currentRecord() const
{
    return currentIndex().isValid() ? filter_->sourceRow(currentIndex().row()) : -1;
}

bool CallGrid::onBorder(int x) const
{
    const int grip = style()->pixelMetric(QStyle::PM_HeaderGripMargin, nullptr, horizontalHeader());
    for (int c = 0; c < kColumns; ++c) {
        const int right = horizontalHeader()->sectionViewportPosition(c) + horizontalHeader()->sectionSize(c);
        if (std::abs(x - right) < grip)
            return true;
    }
    return false;
}

int CallGrid::selectedCount() const
{
    return int(selectionModel()->selectedRows().size());
}

void CallGrid::deleteSelectedRows()
{
    if (!model_)
        return;
    // Only rows drawn as selected: when the filter hides the current row, Qt
    // moves the current index onto a neighbour the user never chose.
    QList<int> rows;
    for (const QModelIndex& i : selectionModel()->selectedRows())
        rows << filter_->sourceRow(i.row());
    if (rows.isEmpty())
        return;
    const QString question = rows.size() == 1 ? tr("Delete the selected call from the call list?")
                                              : tr("Delete the %1 selected calls from the call list?").arg(rows.size());
    if (!confirmDelete || !confirmDelete(question))
        return;
    std::sort(rows.begin(), rows.end(), std::greater<int>());
    if (deleteRecords) {
        deleteRecords(rows);
        return;
    }
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
    if (event->type() == QEvent::MouseButtonPress && watched == horizontalHeader()->viewport())
        borderPressed_ = onBorder(static_cast<QMouseEvent*>(event)->position().toPoint().x());
    if (event->type() == QEvent::MouseButtonRelease) {
        saveWidths();
        const auto* me = static_cast<QMouseEvent*>(event);
        if (watched == horizontalHeader()->viewport()) {
            // The end of a border drag only sets the width; a click sorts.
            if (!std::exchange(borderPressed_, false))
                sortByHeader(headerColumnAt(me->position().toPoint().x()));
        } else if (watched == viewport() && selectionModel() && selectionModel()->selectedRows().size() == 1
                   && currentIndex().isValid()) {
            emit recordEntered(currentRecord());
        }
    }
    return QTableView::eventFilter(watched, event);
}
