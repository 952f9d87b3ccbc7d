#pragma once

#include <QHash>
#include <QSortFilterProxyModel>

#include <optional>

class AppListModel;
class UninstallApp;

// Search and sorting of the list screen, between AppListModel and the outline.
//
// Search keeps the applications whose display name contains the text, letter case ignored; groups
// and files are never filtered. A sort orders the applications by the model's SortKeyRole of the
// column (names as the Finder compares them, sizes and dates as numbers), ascending or descending,
// and keeps the catalogue's order among equal keys; groups and files stay in the model's order. The
// sort holds through searches and through a new list from the model (a rescan, Put Back); a size
// sort asked for before the sizes are known applies once they are. Nothing moves when the data of
// a row changes: only a sort or a new list reorders.
//
// Main thread only. The model must outlive the filter.
class AppListFilter : public QSortFilterProxyModel {
    Q_OBJECT
public:
    explicit AppListFilter(AppListModel* source, QObject* parent = nullptr);

    AppListModel* appModel() const { return source_; }

    // Shows the applications whose display name contains `text` (all for ""), in the sorted order.
    void setSearchText(const QString& text);
    const QString& searchText() const { return search_; }

    // The size column sorts only once every application has been scanned.
    void setSizeSortable(bool sortable);
    bool isSizeSortable() const { return sizeSortable_; }

    struct SortIndicator {
        int column = -1;
        Qt::SortOrder order = Qt::AscendingOrder;
    };
    // A header click asking for `column` in `order`. Sorts and answers the indicator the header
    // must show: the size column before it is sortable keeps the previous indicator (nothing moves),
    // and a column other than the last sorted one starts ascending. Nothing for a column the
    // model does not have.
    std::optional<SortIndicator> requestSort(int column, Qt::SortOrder order);
    SortIndicator sortIndicator() const { return indicator_; }

    // The source row of the application shown at `row` of the top level; -1 when there is none.
    int sourceRowAt(int row) const;

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

private:
    int rank(const QModelIndex& sourceIndex) const;
    void sortAll(int column, Qt::SortOrder order);
    // Applies the header's sort again, where it can be.
    void sortAgain();

    AppListModel* source_;
    QString search_;
    QString needle_;
    bool sizeSortable_ = false;
    SortIndicator indicator_;
    // The applications' places in the current order; empty means the catalogue's order.
    QHash<const UninstallApp*, int> ranks_;
};
