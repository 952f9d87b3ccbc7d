#pragma once

#include "app/records/UninstallApp.h"
#include "Auxiliary/ViewHelpers.h"

#include <QAbstractItemModel>
#include <QHash>
#include <QSet>

#include <memory>
#include <string>
#include <vector>

// The outline's data: applications, their file groups and the groups' files. The model keeps its
// own list of the catalogue's records (shared with the catalogue) and reads them directly: a check
// box's state is worked out from the items, never stored twice. Ticks go through setData, which
// also keeps the list of chosen applications in the order they were first ticked.
//
// An application shows children only once the model has been told it is ready (appDidScan or
// setApps), so the row count never changes behind the view's back while a scan fills the groups.
// Search and sorting belong to AppListFilter, which sits between this model and the view.
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
        SortKeyRole,     // application: what its column sorts by (the name shown, the size shown in
                         // bytes, the last-used day as a Julian day number, -1 when unknown)
        ProtectedRole,   // any row: its application is protected (a lock, nothing can be ticked)
        LocationRole,    // file: where it lies, shortened ("~/Library/Caches"), or "Inside “X.app”"
                         // when it lies inside another item of the application (it counts once)
    };

    // What an application row shows in the size column.
    // (totalOrScanning: the bundle with its related files once scanned, the bundle's own size as
    // the tooltip; ticked: what its ticked items come to, as they were when the applications were
    // set (a removal's progress); removed: what removal runs have taken of it.)
    enum class AppSize { totalOrScanning, total, ticked, removed, none };
    struct Options {
        bool flat = false;  // applications only, nothing expands, nothing is ticked
        AppSize appSize = AppSize::totalOrScanning;
    };

    explicit AppListModel(QObject* parent = nullptr);
    AppListModel(Options options, QObject* parent = nullptr);

    // The outline's columns, in order (identifier, header title and width).
    void setColumns(std::vector<TableColumn> columns);
    const std::vector<TableColumn>& columns() const { return columns_; }

    // Shows `apps` in this order (a reset). Chosen applications that are no longer listed are
    // forgotten; the others stay chosen.
    void setApps(std::vector<std::shared_ptr<UninstallApp>> apps);
    // The records shown change structure (items or groups dropped) between these two calls: the
    // model is reset around it, so no index into them is used meanwhile. The same applications
    // stay listed; one that became protected is chosen no more.
    void beginRecordsChange();
    void endRecordsChange();
    const std::vector<std::shared_ptr<UninstallApp>>& apps() const { return apps_; }
    // One application's scan finished: its groups appear and its texts change.
    void appDidScan(const UninstallApp* app);

    // The applications with at least one ticked file, in the order they were first ticked.
    const std::vector<std::shared_ptr<UninstallApp>>& chosenApps() const { return chosen_; }
    // After a removal run (main thread, the delete queue done): `catalogue`, which the catalogue has
    // rid of what the run took, is shown with every application unticked and nothing chosen.
    void pruneAfterRemoval(const std::vector<std::shared_ptr<UninstallApp>>& catalogue);

    Kind kind(const QModelIndex& index) const;
    // Null for an invalid index (or, for groupAt and fileAt, a row of another kind).
    UninstallApp* appAt(const QModelIndex& index) const;
    UnFileGroup* groupAt(const QModelIndex& index) const;
    UnFileItem* fileAt(const QModelIndex& index) const;
    // Invalid when the application is not listed.
    QModelIndex indexOfApp(const UninstallApp* app, int column = 0) const;
    // The first listed application whose bundle is at `bundlePath` (paths compared standardised);
    // invalid when there is none.
    QModelIndex indexOfBundle(const std::string& bundlePath) const;
    // The application's display name, cached (reading it opens the bundle).
    QString displayName(const UninstallApp* app) const;
    // The name shown for an application (display name without a package extension), cached.
    QString shownName(const UninstallApp* app) const;
    // Where the file of `index` lies, as LocationRole gives it.
    QString locationOf(const QModelIndex& index) const;
    // The bytes the size column shows for an application.
    std::int64_t shownSize(const UninstallApp& app) const;
    static QString nameWithoutExtension(const QString& name);
    // Orange when the "yyyy-M-d" date lies more than 90 days back.
    static bool isLongUnused(const QString& lastUsed, const QDateTime& now);

    QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    bool hasChildren(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // Qt::CheckStateRole on the name column of a tickable row, with Qt::Checked or Qt::Unchecked: an
    // application or group ticks or clears all its items, a file itself. The rows above and below
    // are reported changed with it. False (nothing changes) for any other role, value or row.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    // chosenApps() changed.
    void chosenAppsChanged();
    // Some tick changed (and with it, perhaps, the bytes the ticked items add up to).
    void ticksChanged();

private:
    int rowOfApp(const UninstallApp* app) const;
    void rebuildRows();
    void dropUnchoosable();
    void updateChosen(const UninstallApp* app);
    void emitCheckChanged(const QModelIndex& changed);
    void emitCheckChangedBelow(const QModelIndex& parent);

    Options options_;
    std::vector<std::shared_ptr<UninstallApp>> apps_;
    std::vector<std::shared_ptr<UninstallApp>> chosen_;
    std::vector<TableColumn> columns_;
    QHash<const UninstallApp*, int> appRows_;
    // AppSize::ticked: each application's ticked bytes when the applications were set.
    QHash<const UninstallApp*, std::int64_t> tickedWhenSet_;
    QSet<const UninstallApp*> shownReady_;
    mutable QHash<const UninstallApp*, QString> names_;
};
