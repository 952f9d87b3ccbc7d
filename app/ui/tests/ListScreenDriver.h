#pragma once

#include "app/catalogue/UninstallAppManager.h"
#include "app/ui/AppListFilter.h"
#include "app/ui/AppListModel.h"
#include "app/ui/MainViewController.h"

#include <QModelIndex>
#include <QPersistentModelIndex>
#include <QStringList>

#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

class NSOutlineViewEx;
class QAbstractButton;
class QMessageBox;
class QWidget;

// The rows of `model` under `parent`: the one shown as `name`, and every name in order.
QModelIndex rowNamed(const QAbstractItemModel* model, const QString& name, const QModelIndex& parent = {});
QStringList namesIn(const QAbstractItemModel* model, const QModelIndex& parent = {});
Qt::CheckState checkOf(const QModelIndex& index);
// Every row below `parent`, at any depth, kept with the name it showed.
using ShownRows = std::vector<std::pair<QPersistentModelIndex, QString>>;
ShownRows shownRows(const QAbstractItemModel* model, const QModelIndex& parent = {});
// Applies the exclusions as stored now: whether, when `model` was told it is about to be reset,
// every row of `rows` still showed what it did, and whether none shows another item once the
// records have changed.
bool applyingExclusionsKeepsRows(UninstallAppManager& catalogue, const QAbstractItemModel* model, const ShownRows& rows);

// The list screen in a real top-level window over whatever Mac the environment points at, and the
// clicks a user makes on it. Discovery and the scan run when the test says so.
class ListScreenDriver {
public:
    explicit ListScreenDriver(double discoveryDelay = 1e6);
    ~ListScreenDriver();

    std::shared_ptr<UninstallAppManager> manager;
    MainViewController* screen = nullptr;
    QWidget* window = nullptr;

    // Each answers whether the screen got there in time.
    bool discover();
    bool scanAll();

    // What the outline shows (search and order applied); the indexes below are of this model.
    AppListFilter* model() const { return screen->listFilter(); }
    AppListModel* appModel() const { return screen->model(); }
    NSOutlineViewEx* outline() const { return screen->outlineView(); }
    UninstallApp* appAt(const QModelIndex& index) const;
    QModelIndex appRow(const QString& name) const { return childNamed({}, name); }
    QModelIndex childNamed(const QModelIndex& parent, const QString& name) const { return rowNamed(model(), name, parent); }
    QStringList shownNames() const { return namesIn(model()); }
    Qt::CheckState checkState(const QModelIndex& index) const { return checkOf(index); }

    void clickCheckBox(const QModelIndex& index);
    void clickRow(const QModelIndex& index);
    void clickHeader(int section);
};

QAbstractButton* buttonTitled(QMessageBox* box, const QString& title);
// The paths in one listing and not the other ("- gone", "+ new"), for a failure's message.
std::string differenceOf(const std::set<std::string>& before, const std::set<std::string>& after);
