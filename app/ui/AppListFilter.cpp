#include "app/ui/AppListFilter.h"

#include "app/ui/AppListModel.h"

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
}

void AppListFilter::setSearchText(const QString& text)
{
    search_ = text;
    needle_ = text.toLower();
    ranks_.clear();
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
    sortShown(column, order);
    return indicator_;
}

int AppListFilter::sourceRowAt(int row) const
{
    return mapToSource(index(row, 0)).row();
}

void AppListFilter::sortShown(int column, Qt::SortOrder order)
{
    const auto& apps = source_->apps();
    std::vector<int> rows;
    for (int row = 0; row < rowCount(); ++row)
        rows.push_back(sourceRowAt(row));
    auto less = [&](int a, int b) {
        const UninstallApp& left = *apps[a];
        const UninstallApp& right = *apps[b];
        switch (column) {
        case AppListModel::kNameColumn: return source_->displayName(&left) < source_->displayName(&right);
        case AppListModel::kSizeColumn: return left.totalSize < right.totalSize;
        default: return left.lastUsed < right.lastUsed;
        }
    };
    const bool ascending = order == Qt::AscendingOrder;
    std::stable_sort(rows.begin(), rows.end(), [&](int a, int b) { return ascending ? less(a, b) : less(b, a); });
    ranks_.clear();
    for (std::size_t place = 0; place < rows.size(); ++place)
        ranks_.insert(apps[rows[place]].get(), static_cast<int>(place));
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
