#include "app/ui/AppListFilter.h"

#include "app/ui/AppListModel.h"

#include <QCollator>

#include <algorithm>
#include <vector>

AppListFilter::AppListFilter(AppListModel* source, QObject* parent) : QSortFilterProxyModel(parent), source_(source)
{
    // Rows move only when asked to: a scan or a tick never reorders what the user looks at.
    setDynamicSortFilter(false);
    setSourceModel(source_);
    // The order itself comes from ranks_ (see lessThan); the proxy always sorts on it ascending.
    QSortFilterProxyModel::sort(AppListModel::kNameColumn, Qt::AscendingOrder);
    connect(source_, &QAbstractItemModel::modelAboutToBeReset, this, [this] { ranks_.clear(); });
    // A new list (a rescan, Put Back) comes back in the order the header shows.
    connect(source_, &QAbstractItemModel::modelReset, this, [this] { sortAgain(); });
}

void AppListFilter::setSizeSortable(bool sortable)
{
    sizeSortable_ = sortable;
    if (sortable && indicator_.column == AppListModel::kSizeColumn)
        sortAgain();
}

void AppListFilter::sortAgain()
{
    if (indicator_.column < 0 || (indicator_.column == AppListModel::kSizeColumn && !sizeSortable_))
        return;
    sortAll(indicator_.column, indicator_.order);
}

void AppListFilter::setSearchText(const QString& text)
{
    search_ = text;
    needle_ = text.toLower();
    invalidate();
}

std::optional<AppListFilter::SortIndicator> AppListFilter::requestSort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= static_cast<int>(source_->columns().size()))
        return std::nullopt;
    if (column == AppListModel::kSizeColumn && !sizeSortable_)
        return indicator_;
    if (column != indicator_.column)
        order = Qt::AscendingOrder;
    indicator_ = {column, order};
    sortAll(column, order);
    return indicator_;
}

int AppListFilter::sourceRowAt(int row) const
{
    return mapToSource(index(row, 0)).row();
}

void AppListFilter::sortAll(int column, Qt::SortOrder order)
{
    // Every application is ranked, shown or not, so that a search keeps the order.
    // Equal keys keep the order of the last sort.
    std::vector<int> rows(static_cast<std::size_t>(source_->rowCount()));
    std::vector<int> before(rows.size());
    std::vector<QVariant> keys;
    for (int row = 0; row < source_->rowCount(); ++row) {
        rows[static_cast<std::size_t>(row)] = row;
        before[static_cast<std::size_t>(row)] = rank(source_->index(row, 0));
        keys.push_back(source_->index(row, column).data(AppListModel::SortKeyRole));
    }
    std::stable_sort(rows.begin(), rows.end(), [&](int a, int b) { return before[static_cast<std::size_t>(a)] < before[static_cast<std::size_t>(b)]; });
    QCollator collator;
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    auto less = [&](int a, int b) {
        const QVariant& left = keys[static_cast<std::size_t>(a)];
        const QVariant& right = keys[static_cast<std::size_t>(b)];
        if (left.typeId() == QMetaType::QString)
            return collator.compare(left.toString(), right.toString()) < 0;
        return left.toLongLong() < right.toLongLong();
    };
    const bool ascending = order == Qt::AscendingOrder;
    std::stable_sort(rows.begin(), rows.end(), [&](int a, int b) { return ascending ? less(a, b) : less(b, a); });
    ranks_.clear();
    for (std::size_t place = 0; place < rows.size(); ++place)
        ranks_.insert(source_->appAt(source_->index(rows[place], 0)), static_cast<int>(place));
    invalidate();
}

int AppListFilter::rank(const QModelIndex& sourceIndex) const
{
    if (ranks_.isEmpty())
        return sourceIndex.row();
    const auto it = ranks_.constFind(source_->appAt(sourceIndex));
    return it != ranks_.constEnd() ? *it : static_cast<int>(ranks_.size()) + sourceIndex.row();
}

bool AppListFilter::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const
{
    if (sourceParent.isValid() || needle_.isEmpty())
        return true;
    const UninstallApp* app = source_->appAt(source_->index(sourceRow, 0));
    return app && source_->displayName(app).toLower().contains(needle_);
}

bool AppListFilter::lessThan(const QModelIndex& left, const QModelIndex& right) const
{
    if (left.parent().isValid())
        return left.row() < right.row();
    return rank(left) < rank(right);
}
