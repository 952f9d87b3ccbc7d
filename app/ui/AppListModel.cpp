#include "app/ui/AppListModel.h"

#include "Auxiliary/AppIconCache.h"
#include "Auxiliary/Appearance.h"
#include "app/locations/SearchFilePath.h"
#include "app/records/ItemSizes.h"
#include "app/ui/AppImages.h"
#include "Auxiliary/ByteCountText.h"
#include "platform/PathUtil.h"
#include "platform/SystemRoot.h"
#include "platform/Workspace.h"

#include <QApplication>
#include <QColor>
#include <QDateTime>
#include <QTimeZone>

#include <algorithm>

namespace {

Qt::CheckState checkState(SelectionState state)
{
    switch (state) {
    case kSelectionOn: return Qt::Checked;
    case kSelectionMixed: return Qt::PartiallyChecked;
    default: return Qt::Unchecked;
    }
}

QString sizeText(std::int64_t bytes)
{
    return localizedByteCount(bytes);
}

const QList<int> kCheckRoles{Qt::CheckStateRole};

}  // namespace

AppListModel::AppListModel(QObject* parent) : AppListModel(Options{}, parent) {}

AppListModel::AppListModel(Options options, QObject* parent) : QAbstractItemModel(parent), options_(options) {}

void AppListModel::setColumns(std::vector<TableColumn> columns)
{
    columns_ = std::move(columns);
    emit headerDataChanged(Qt::Horizontal, 0, kColumnCount - 1);
}

void AppListModel::setApps(std::vector<std::shared_ptr<UninstallApp>> apps)
{
    beginResetModel();
    apps_ = std::move(apps);
    rebuildRows();
    tickedWhenSet_.clear();
    if (options_.appSize == AppSize::ticked)
        for (const auto& app : apps_)
            tickedWhenSet_.insert(app.get(), ItemSizes::ticked({app}));
    endResetModel();
    dropUnchoosable();
}

void AppListModel::beginRecordsChange()
{
    beginResetModel();
}

void AppListModel::endRecordsChange()
{
    rebuildRows();
    endResetModel();
    dropUnchoosable();
}

void AppListModel::dropUnchoosable()
{
    const auto before = chosen_.size();
    // A protected application cannot stay chosen (it was unticked when it became protected).
    std::erase_if(chosen_, [this](const auto& app) { return !appRows_.contains(app.get()) || app->isProtected; });
    if (chosen_.size() != before)
        emit chosenAppsChanged();
}

void AppListModel::rebuildRows()
{
    appRows_.clear();
    shownReady_.clear();
    for (std::size_t row = 0; row < apps_.size(); ++row) {
        const UninstallApp* app = apps_[row].get();
        appRows_.insert(app, static_cast<int>(row));
        if (app->isReady)
            shownReady_.insert(app);
    }
    // A record that has gone may leave its address to a new one.
    names_.removeIf([this](const auto& entry) { return !appRows_.contains(entry.key()); });
}

void AppListModel::pruneAfterRemoval(const std::vector<std::shared_ptr<UninstallApp>>& catalogue)
{
    beginResetModel();
    for (const auto& app : catalogue)
        app->setSelectionState(kSelectionOff);
    apps_ = catalogue;
    rebuildRows();
    const bool hadChosen = !chosen_.empty();
    chosen_.clear();
    endResetModel();
    if (hadChosen)
        emit chosenAppsChanged();
}

void AppListModel::appDidScan(const UninstallApp* app)
{
    const int row = rowOfApp(app);
    if (row < 0)
        return;
    const QModelIndex appIndex = index(row, 0);
    if (!shownReady_.contains(app) && app->isReady) {
        const int groups = static_cast<int>(app->fileGroups.size());
        if (groups > 0) {
            beginInsertRows(appIndex, 0, groups - 1);
            shownReady_.insert(app);
            endInsertRows();
        } else {
            shownReady_.insert(app);
        }
    }
    emit dataChanged(appIndex, index(row, kColumnCount - 1));
}

int AppListModel::rowOfApp(const UninstallApp* app) const
{
    return appRows_.value(app, -1);
}

AppListModel::Kind AppListModel::kind(const QModelIndex& index) const
{
    // Top-level rows carry no pointer, group rows their application, file rows their group.
    if (!index.internalPointer())
        return Kind::app;
    return appRows_.contains(static_cast<const UninstallApp*>(index.internalPointer())) ? Kind::group : Kind::file;
}

UninstallApp* AppListModel::appAt(const QModelIndex& index) const
{
    if (!index.isValid() || index.model() != this)
        return nullptr;
    switch (kind(index)) {
    case Kind::app: return apps_[index.row()].get();
    case Kind::group: return static_cast<UninstallApp*>(index.internalPointer());
    case Kind::file: {
        const auto* group = static_cast<UnFileGroup*>(index.internalPointer());
        return group->app.lock().get();
    }
    }
    return nullptr;
}

UnFileGroup* AppListModel::groupAt(const QModelIndex& index) const
{
    if (!index.isValid() || index.model() != this)
        return nullptr;
    switch (kind(index)) {
    case Kind::group: return static_cast<UninstallApp*>(index.internalPointer())->fileGroups[index.row()].get();
    case Kind::file: return static_cast<UnFileGroup*>(index.internalPointer());
    default: return nullptr;
    }
}

UnFileItem* AppListModel::fileAt(const QModelIndex& index) const
{
    if (!index.isValid() || index.model() != this || kind(index) != Kind::file)
        return nullptr;
    return static_cast<UnFileGroup*>(index.internalPointer())->fileItem[index.row()].get();
}

QModelIndex AppListModel::indexOfApp(const UninstallApp* app, int column) const
{
    const int row = rowOfApp(app);
    return row < 0 ? QModelIndex() : index(row, column);
}

QModelIndex AppListModel::indexOfBundle(const std::string& bundlePath) const
{
    const std::string wanted = platform::path::standardize(bundlePath);
    for (std::size_t row = 0; row < apps_.size(); ++row) {
        const auto& path = apps_[row]->bundlePath;
        if (path && platform::path::standardize(*path) == wanted)
            return index(static_cast<int>(row), 0);
    }
    return {};
}

QModelIndex AppListModel::index(int row, int column, const QModelIndex& parent) const
{
    if (row < 0 || column < 0 || column >= kColumnCount || row >= rowCount(parent))
        return {};
    if (!parent.isValid())
        return createIndex(row, column, nullptr);
    switch (kind(parent)) {
    case Kind::app: return createIndex(row, column, apps_[parent.row()].get());
    case Kind::group: return createIndex(row, column, groupAt(parent));
    case Kind::file: return {};
    }
    return {};
}

QModelIndex AppListModel::parent(const QModelIndex& child) const
{
    if (!child.isValid() || !child.internalPointer())
        return {};
    if (kind(child) == Kind::group)
        return createIndex(rowOfApp(static_cast<const UninstallApp*>(child.internalPointer())), 0, nullptr);
    auto* group = static_cast<UnFileGroup*>(child.internalPointer());
    const auto app = group->app.lock();
    if (!app)
        return {};
    for (std::size_t g = 0; g < app->fileGroups.size(); ++g) {
        if (app->fileGroups[g].get() == group)
            return createIndex(static_cast<int>(g), 0, app.get());
    }
    return {};
}

int AppListModel::rowCount(const QModelIndex& parent) const
{
    if (!parent.isValid())
        return static_cast<int>(apps_.size());
    if (parent.column() != 0)
        return 0;
    switch (kind(parent)) {
    case Kind::app: {
        const UninstallApp* app = apps_[parent.row()].get();
        return !options_.flat && shownReady_.contains(app) ? static_cast<int>(app->fileGroups.size()) : 0;
    }
    case Kind::group: return static_cast<int>(groupAt(parent)->fileItem.size());
    case Kind::file: return 0;
    }
    return 0;
}

int AppListModel::columnCount(const QModelIndex&) const
{
    return kColumnCount;
}

bool AppListModel::hasChildren(const QModelIndex& parent) const
{
    return rowCount(parent) > 0;
}

QString AppListModel::nameWithoutExtension(const QString& name)
{
    // Only a package extension is dropped ("Notes.app" shows as "Notes"): a dot inside a real name
    // ("Node.js", "Python 3.12") is part of it.
    const int slash = name.lastIndexOf(QLatin1Char('/'));
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot <= slash + 1 || dot == name.size() - 1)
        return name;
    if (!platform::Workspace::isPackageExtension(name.mid(dot + 1).toStdString()))
        return name;
    return name.left(dot);
}

bool AppListModel::isLongUnused(const QString& lastUsed, const QDateTime& now)
{
    const QDate day = QDate::fromString(lastUsed, QStringLiteral("yyyy-M-d"));
    if (!day.isValid())
        return false;
    return QDateTime(day, QTime(0, 0), QTimeZone::utc()).addSecs(7776000) < now;
}

QString AppListModel::displayName(const UninstallApp* app) const
{
    return QString::fromStdString(app->displayName());
}

QString AppListModel::locationOf(const QModelIndex& index) const
{
    if (kind(index) != Kind::file)
        return {};
    const UnFileItem* file = fileAt(index);
    const UninstallApp* app = appAt(index.parent().parent());
    if (!file || !app)
        return {};
    // The innermost other item of the application that holds this one.
    const UnFileItem* outer = nullptr;
    for (const auto& group : app->fileGroups)
        for (const auto& item : group->fileItem)
            if (item.get() != file && platform::path::startsWith(file->filePath, item->filePath + "/") &&
                (!outer || item->filePath.size() > outer->filePath.size()))
                outer = item.get();
    if (outer)
        return tr("Inside “%1”").arg(QString::fromStdString(outer->fileName));
    std::string folder = platform::path::deletingLastComponent(file->filePath);
    const std::string home = SearchFilePath::realHomeDirectory();
    if (!home.empty() && (folder == home || platform::path::startsWith(folder, home + "/")))
        return QString::fromStdString("~" + folder.substr(home.size()));
    return QString::fromStdString(platform::macPathOf(folder));
}

std::int64_t AppListModel::shownSize(const UninstallApp& app) const
{
    switch (options_.appSize) {
    case AppSize::totalOrScanning:
    case AppSize::total: return app.totalSize;
    case AppSize::ticked: return tickedWhenSet_.value(&app);
    case AppSize::removed: return app.removedSize;
    case AppSize::none: break;
    }
    return 0;
}

QString AppListModel::shownName(const UninstallApp* app) const
{
    auto it = names_.find(app);
    if (it == names_.end())
        it = names_.insert(app, nameWithoutExtension(displayName(app)));
    return *it;
}

QVariant AppListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const Kind k = kind(index);
    if (role == KindRole)
        return static_cast<int>(k);
    // Nothing of a protected application can be ticked: not the application, its groups or files.
    const UninstallApp* owner = appAt(index);
    const bool locked = owner && owner->isProtected;
    if (role == ProtectedRole)
        return locked;
    if (role == CheckableRole && locked)
        return false;

    if (k == Kind::app) {
        const UninstallApp* app = appAt(index);
        const bool ready = app->isReady;
        if (role == ReadyRole)
            return ready;
        // Remains left where the search for installed copies ran out of time say so beside them.
        const bool unsure = app->isGone() && !app->remainsCertain;
        if (unsure && role == Qt::ToolTipRole && index.column() != kSizeColumn)
            return tr("Not sure: the search for installed copies ran out of time");
        switch (index.column()) {
        case kNameColumn:
            if (role == Qt::DisplayRole || role == SortKeyRole)
                return shownName(app);
            if (role == Qt::DecorationRole)
                return app->isGone() ? AppImages::named(QStringLiteral("trash")) : AppIconCache::iconFor(app->icon, true);
            if (role == Qt::CheckStateRole)
                return checkState(app->selectionState());
            if (role == CheckableRole)
                return ready && !options_.flat;
            break;
        case kSizeColumn:
            // The number the column sorts by is the one shown; the bundle's own share is a hover away.
            if (role == Qt::ToolTipRole && ready && !app->isGone() && options_.appSize == AppSize::totalOrScanning)
                return tr("Application bundle: %1").arg(sizeText(app->bundleSize));
            if (role == SortKeyRole)
                return static_cast<qlonglong>(shownSize(*app));
            if (role != Qt::DisplayRole)
                break;
            if (options_.appSize == AppSize::none)
                return QString();
            if (options_.appSize == AppSize::totalOrScanning && !ready)
                return tr("Scanning...");
            return sizeText(shownSize(*app));
        case kDateColumn:
            if (role == SortKeyRole) {
                const QDate day = QDate::fromString(QString::fromStdString(app->lastUsed), QStringLiteral("yyyy-M-d"));
                return static_cast<qlonglong>(day.isValid() ? day.toJulianDay() : -1);
            }
            if (role == Qt::DisplayRole)
                return unsure ? tr("Not sure") : QString::fromStdString(app->lastUsed);
            if (role == Qt::ForegroundRole && unsure)
                return appearance::warningTextColor(QApplication::palette());
            if ((role == Qt::ForegroundRole || role == Qt::ToolTipRole) &&
                isLongUnused(QString::fromStdString(app->lastUsed), QDateTime::currentDateTimeUtc())) {
                if (role == Qt::ToolTipRole)
                    return tr("Not opened for more than 90 days");
                return appearance::warningTextColor(QApplication::palette());
            }
            break;
        }
        return {};
    }

    if (k == Kind::group) {
        const UnFileGroup* group = groupAt(index);
        if (index.column() == kSizeColumn)
            return role == Qt::DisplayRole ? QVariant(sizeText(ItemSizes::ofGroup(*group))) : QVariant();
        if (index.column() != kNameColumn)
            return role == Qt::DisplayRole ? QVariant(QString()) : QVariant();
        if (role == Qt::DisplayRole)
            return QString::fromStdString(group->title());
        if (role == Qt::CheckStateRole)
            return checkState(group->selectionState());
        if (role == CheckableRole)
            return true;
        return {};
    }

    const UnFileItem* file = fileAt(index);
    switch (index.column()) {
    case kNameColumn:
        if (role == Qt::DisplayRole)
            return QString::fromStdString(file->fileName);
        if (role == Qt::ToolTipRole)
            return QString::fromStdString(file->filePath);
        if (role == LocationRole)
            return locationOf(index);
        if (role == Qt::DecorationRole)
            return AppIconCache::iconFor(file->icon, file->isDir);
        if (role == Qt::CheckStateRole)
            return file->isSelected ? Qt::Checked : Qt::Unchecked;
        if (role == CheckableRole)
            return true;
        if (role == RevealPathRole)
            return QString::fromStdString(file->filePath);
        break;
    case kSizeColumn:
        if (role == Qt::DisplayRole) {
            if (file->type == RkUninstallCategoryType::Sandbox && file->size <= 0)
                return QStringLiteral("-");
            return sizeText(file->size);
        }
        break;
    default:
        if (role == Qt::DisplayRole)
            return QString();
    }
    return {};
}

bool AppListModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::CheckStateRole || !index.isValid() || index.model() != this || index.column() != kNameColumn ||
        !(flags(index) & Qt::ItemIsUserCheckable))
        return false;
    bool valid = false;
    const int wanted = value.toInt(&valid);
    if (!valid || (wanted != Qt::Checked && wanted != Qt::Unchecked))
        return false;
    const int state = wanted == Qt::Checked ? kSelectionOn : kSelectionOff;
    UninstallApp* app = appAt(index);
    switch (kind(index)) {
    case Kind::app: app->setSelectionState(state); break;
    case Kind::group: groupAt(index)->setSelectionState(state); break;
    case Kind::file: fileAt(index)->isSelected = state == kSelectionOn; break;
    }
    emitCheckChanged(index);
    if (app)
        updateChosen(app);
    emit ticksChanged();
    return true;
}

void AppListModel::emitCheckChanged(const QModelIndex& changed)
{
    for (QModelIndex row = changed; row.isValid(); row = row.parent())
        emit dataChanged(row, row, kCheckRoles);
    emitCheckChangedBelow(changed);
}

void AppListModel::emitCheckChangedBelow(const QModelIndex& parent)
{
    const int rows = rowCount(parent);
    if (rows == 0)
        return;
    emit dataChanged(index(0, kNameColumn, parent), index(rows - 1, kNameColumn, parent), kCheckRoles);
    for (int row = 0; row < rows; ++row)
        emitCheckChangedBelow(index(row, kNameColumn, parent));
}

void AppListModel::updateChosen(const UninstallApp* app)
{
    const auto entry = std::find_if(chosen_.begin(), chosen_.end(),
                                    [&](const auto& chosen) { return chosen->identifier == app->identifier; });
    if (app->selectionState() == kSelectionOff) {
        if (entry == chosen_.end())
            return;
        chosen_.erase(entry);
    } else {
        const int row = rowOfApp(app);
        if (entry != chosen_.end() || row < 0)
            return;
        chosen_.push_back(apps_[row]);
    }
    emit chosenAppsChanged();
}

QVariant AppListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= static_cast<int>(columns_.size()))
        return {};
    const TableColumn& column = columns_[section];
    if (role == Qt::DisplayRole)
        return column.title;
    if (role == Qt::FontRole)
        return column.headerFont;
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(column.headerAlignment);
    // The legend of the orange dates.
    if (role == Qt::ToolTipRole && section == kDateColumn && !options_.flat)
        return tr("Dates in orange: not opened for more than 90 days");
    return {};
}

Qt::ItemFlags AppListModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled;
    if (index.column() == kNameColumn && data(index, CheckableRole).toBool())
        flags |= Qt::ItemIsUserCheckable;
    if (kind(index) == Kind::file)
        flags |= Qt::ItemNeverHasChildren;
    return flags;
}
