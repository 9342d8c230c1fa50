#pragma once
// FlexGrid1: the call list grid, a view on the engine's call list (as a
// CallListModel) through the search filter. Column widths are kept in twips
// in the settings and saved on every mouse release; a click on the header
// sorts (dragging a column border only changes its width); Delete removes the
// selected rows that are shown.
// Rows in its signals are rows of the call list, not of the filtered view.
#include <QTableView>
#include <array>
#include <functional>

class CallFilter;
class CallList;
class CallListModel;
class SettingsStore;

class CallGrid : public QTableView {
    Q_OBJECT
public:
    explicit CallGrid(SettingsStore& settings, QWidget* parent = nullptr);

    void setCallList(CallList* list);
    CallFilter& filter() const { return *filter_; }
    // Makes the shown row of call-list record `row` current (none when hidden).
    void setCurrentRecord(int row);

    // Widths from "GridWidth0".."GridWidth7" as stored. A column with no
    // stored width (or one that is no number) gets the default, widened to
    // fit its title and typical content in the grid's font, and narrowed
    // again (never below that content) where the columns overflow the grid.
    void applyStoredWidths();
    void saveWidths();
    int columnWidthTwips(int column) const;

    // The sort column of a header release at x (viewport pixels): the column
    // strictly containing x, else column 0.
    int headerColumnAt(int x) const;
    // A header click on `column`: sorts by it and the columns after it.
    void sortByHeader(int column);
    // The Delete key and the context menu's "Delete": removes the selected
    // rows that are shown once the user said yes, nothing when none is selected.
    void deleteSelectedRows();
    int selectedCount() const;
    // The question before deleting; true for yes (tests answer it).
    std::function<bool(const QString& question)> confirmDelete;
    // Set: the confirmed rows (newest first in the list) go there instead of out of the list.
    std::function<void(const QList<int>& rows)> deleteRecords;

signals:
    // The current record changed or a single record was clicked: show its picture.
    void recordEntered(int row);

protected:
    void keyReleaseEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    double dpi() const;
    static int defaultTwips(int column);
    int fittingWidthPx(int column) const;
    void giveWay(std::array<int, 8>& px, const std::array<int, 8>& least) const;
    void spreadNames();

    int currentRecord() const;
    // Whether a header press at x grabs a column border (as QHeaderView decides).
    bool onBorder(int x) const;

    SettingsStore& settings_;
    CallList* list_ = nullptr;
    CallListModel* model_ = nullptr;
    CallFilter* filter_ = nullptr;
    bool borderPressed_ = false;
    int nameExtra_ = 0; // pixels the names got of a wider grid, not saved
    bool spreading_ = false;
    std::array<int, 8> widthTwips_{};
};
