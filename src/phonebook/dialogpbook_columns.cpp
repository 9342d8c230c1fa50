// The widths of the phone book list. The design's widths add up to more than
// the window's fixed width, and its number columns were made for a smaller
// font; here every column shows its title and an 11-digit number whole, and
// all six fit the window side by side. A wider window gives half its extra
// room to the names and the rest to the four numbers.
#include "phonebook/dialogpbook.h"

#include <QHeaderView>
#include <QLayout>
#include <QScrollBar>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTableView>
#include <algorithm>
#include <array>

namespace {

// The design's widths, twips: Name, Phone 1, Phone 2, Mobile, Other, picture.
constexpr std::array<double, ContactTable::ColumnCount> kDesignTwips = {2300, 1300, 1300, 1300, 1500, 1175};

// Picture paths lose their folders first, so the file name stays readable.
class PictureElision : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.column() == ContactTable::Picture)
            option->textElideMode = Qt::ElideLeft;
    }
};

} // namespace

int DialogpBook::fittingWidth(int column) const
{
    const QHeaderView* titles = MSFlexGrid1->horizontalHeader();
    const QString title = table_.headerData(column, Qt::Horizontal).toString();
    const int titlePx = titles->fontMetrics().horizontalAdvance(title)
                        + 2 * style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, titles);
    QString typical;
    if (column == ContactTable::Name)
        typical = QStringLiteral("Anna Berger");
    else if (column != ContactTable::Picture)
        typical = QStringLiteral("01701234567");
    const int cellPx = MSFlexGrid1->fontMetrics().horizontalAdvance(typical)
                       + 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, MSFlexGrid1) + 1);
    return std::max(titlePx, cellPx) + 2; // the grid line and a little air
}

// Each column starts at its design width or its content, whichever is wider.
// Where they overflow the list, the picture column gives way first (the
// picture itself shows beside the fields), then the names, then the number
// columns wider than an 11-digit number; none goes below its content. The
// picture column takes whatever is left over.
void DialogpBook::fitColumns()
{
    MSFlexGrid1->setItemDelegate(new PictureElision(MSFlexGrid1));
    std::array<int, ContactTable::ColumnCount> px{}, least{};
    for (int c = 0; c < ContactTable::ColumnCount; ++c) {
        least[c] = fittingWidth(c);
        px[c] = std::max(pixelsX(kDesignTwips[c]), least[c]);
    }
    const QMargins margins = layout()->contentsMargins();
    const int listPx = pixelsX(kWidthTwips) - margins.left() - margins.right();
    int overflow = -(listPx - 2 * MSFlexGrid1->frameWidth()
                     - style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, MSFlexGrid1->verticalScrollBar()));
    for (int w : px)
        overflow += w;
    auto shrink = [&](int c) {
        const int d = std::clamp(px[c] - least[c], 0, std::max(0, overflow));
        px[c] -= d;
        overflow -= d;
    };
    for (int c : {int(ContactTable::Picture), int(ContactTable::Name), int(ContactTable::Other),
             int(ContactTable::Mobile), int(ContactTable::Phone2), int(ContactTable::Phone1)})
        shrink(c);
    columnBase_ = px;
    for (QTableView* list : {MSFlexGrid1, GridFolder})
        list->horizontalHeader()->setStretchLastSection(true);
    spreadColumns();
}

void DialogpBook::spreadColumns()
{
    const int extra = std::max(0, width() - pixelsX(kWidthTwips));
    for (QTableView* list : {MSFlexGrid1, GridFolder}) // the folder's list lines up with the book's
        for (int c = 0; c < ContactTable::ColumnCount; ++c)
            list->setColumnWidth(c, columnBase_[c]
                                        + (c == ContactTable::Name       ? extra / 2
                                            : c == ContactTable::Picture ? 0
                                                                         : extra / 8));
}
