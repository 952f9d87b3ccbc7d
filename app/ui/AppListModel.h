#pragma once

#include "app/records/UninstallApp.h"
#include "Auxiliary/ViewHelpers.h"

#include <QAbstractItemModel>
#include <QHash>
#include <QIcon>
#include <QSet>

#include <memory>
#include <vector>

// The outline's data: applications, their file groups and the groups' files, read straight from the
// records (a check box's state is worked out from the items, never stored twice). The application
// list itself belongs to the screen controller; the model shows it and is told when it changes.
//
// An application shows children only once the model has been told it is ready (appDidScan or a
// reload), so the row count never changes behind the view's back while a scan fills the groups.
// Main thread only.
class AppListModel : public QAbstractItemModel {
    Q_OBJECT
public:
    enum Column { kNameColumn = 0, kSizeColumn = 1, kDateColumn = 2, kColumnCount = 3 };
    enum class Kind { app, group, file };
    enum Role {
        KindRole = Qt::UserRole + 1,
        ReadyRole,       // application: its scan has finished
        RevealPathRole,  // file: the path to reveal
        CheckableRole,   // the check box can be clicked
    };

    // What an application row shows in the size column.
    enum class AppSize { bundleOrScanning, total, bundle, none };
    struct Options {
        bool flat = false;  // applications only, nothing expands
        AppSize appSize = AppSize::bundleOrScanning;
    };

    explicit AppListModel(const std::vector<std::shared_ptr<UninstallApp>>* apps, QObject* parent = nullptr);
    AppListModel(const std::vector<std::shared_ptr<UninstallApp>>* apps, Options options, QObject* parent = nullptr);

    // The outline's columns, in order (identifier, header title and width).
    void setColumns(std::vector<TableColumn> columns);
    const std::vector<TableColumn>& columns() const { return columns_; }

    // The list changed as a whole (discovery, search, sort, return to the list).
    void reload();
    // One application's scan finished: its groups appear.
    void appDidScan(const UninstallApp* app);
    // One application's check boxes or texts changed, with its groups and files.
    void reloadApp(const UninstallApp* app);

    Kind kind(const QModelIndex& index) const;
    UninstallApp* appAt(const QModelIndex& index) const;
    UnFileGroup* groupAt(const QModelIndex& index) const;
    UnFileItem* fileAt(const QModelIndex& index) const;
    QModelIndex indexOfApp(const UninstallApp* app, int column = 0) const;
    // The application's display name, cached (reading it opens the bundle).
    QString displayName(const UninstallApp* app) const;
    // Moves the applications to their new order in the list, keeping expanded rows expanded.
    void reorder();
    // The name shown for an application (display name without a trailing extension), cached.
    QString shownName(const UninstallApp* app) const;
    static QString nameWithoutExtension(const QString& name);
    // Orange when the "yyyy-M-d" date lies more than 90 days back.
    static bool isLongUnused(const QString& lastUsed, const QDateTime& now);

    QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    bool hasChildren(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    // Process-wide cache, shared by every list.
    static QIcon iconFor(const std::optional<platform::FileIcon>& icon, bool isDir);
    int rowOfApp(const UninstallApp* app) const;

    const std::vector<std::shared_ptr<UninstallApp>>* apps_;
    Options options_;
    std::vector<TableColumn> columns_;
    QHash<const UninstallApp*, int> appRows_;
    QSet<const UninstallApp*> shownReady_;
    mutable QHash<const UninstallApp*, QString> names_;
    mutable QHash<const UninstallApp*, QString> displayNames_;
};
