#pragma once

#include "app/catalogue/UninstallAppManager.h"
#include "app/catalogue/UninstallType.h"
#include "app/ui/BaseViewController.h"
#include "app/ui/UninstallCompletedDelegate.h"
#include "Auxiliary/NSScrollViewDragDelegate.h"

#include <QMessageBox>
#include <QModelIndex>
#include <QPointer>

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

class AppListFilter;
class QCheckBox;
class AppListModel;
class ExclusionsWindowController;
class MainViewDelegateBridge;
class NSOutlineViewEx;
class QLineEdit;
class QMenu;
class QMimeData;
class QTimer;
class RkFlatButton;
class RkLabel;
class RkLoadAppView;
class RequestUninstallWinodowController;
class UninstallCompletedViewController;
class UninstallResidualViewController;
class UninstallingViewController;

// The root screen of the main window: the loading view while the catalogue discovers the installed
// applications, then the list of applications with their groups and files, check boxes on every
// level, search, sorting, the count of chosen applications and the Uninstall button. It owns the
// screens of the uninstall flow and switches between them.
//
// It puts the parts together: the outline shows AppListFilter (search, sort) over AppListModel
// (the records, their ticks and the chosen applications); the screen passes the catalogue's
// reports, the header's clicks, the search field's text and drops on to them, and shows alerts.
//
// Main thread only. The catalogue's reports reach it through MainViewDelegateBridge, which moves
// them to the main queue first.
class ApplicationFolderWatch;
class MainViewController : public BaseViewController, public UninstallCompletedDelegate, public NSScrollViewDragDelegate {
    Q_OBJECT
public:
    // What the list shows: the installed applications, or the remains of applications that are gone
    // (found once the scan has finished; nothing of them is ticked until the user ticks it).
    enum class ListScope { installed, remains };

    explicit MainViewController(std::shared_ptr<UninstallAppManager> manager = UninstallAppManager::shared(),
                                QObject* parent = nullptr);
    ~MainViewController() override;

    // Seconds between building the screen and starting discovery (tests hold it off).
    double discoveryDelay = 0.0;
    // The running application's bundle (the main bundle; tests place one in a generated Mac).
    std::string applicationBundlePath;

    RkLoadAppView* loadAppView = nullptr;
    QWidget* mainView = nullptr;
    RkLabel* lbTitle = nullptr;
    RkLabel* lbAllProgram = nullptr;
    RkLabel* lbSelected = nullptr;
    QLineEdit* searchField = nullptr;
    RkFlatButton* btnUnistall = nullptr;
    // Opens the Exclusions window: what is never offered and the protected applications.
    RkFlatButton* btnExclusions = nullptr;
    RkFlatButton* btnInstalledScope = nullptr;
    RkFlatButton* btnRemainsScope = nullptr;
    // In the remains scope: whether the agent offers the remains of applications dragged to the
    // Trash (the setting it reads from the application's defaults).
    QCheckBox* cbWatchRemovedApplications = nullptr;
    QWidget* line = nullptr;
    std::unique_ptr<RequestUninstallWinodowController> requestUninstallWinodowController;
    std::unique_ptr<ExclusionsWindowController> exclusionsWindowController;
    UninstallingViewController* uninstallingViewController = nullptr;
    UninstallCompletedViewController* uninstallCompletedViewController = nullptr;
    UninstallResidualViewController* uninstallResidualViewController = nullptr;

    NSOutlineViewEx* outlineView();
    // The records of the scope shown.
    AppListModel* model() const { return scope_ == ListScope::installed ? model_ : remainsModel_; }
    AppListModel* installedModel() const { return model_; }
    AppListModel* remainsModel() const { return remainsModel_; }
    // The outline's model: the applications of the scope shown that the search leaves, in the
    // current order.
    AppListFilter* listFilter() const { return scope_ == ListScope::installed ? filter_ : remainsFilter_; }
    ListScope scope() const { return scope_; }
    // Shows the scope's list with the search text of the field; each scope keeps its own order,
    // expanded rows aside, and its ticks. Only the shown scope's ticks are counted and removed.
    void showScope(ListScope scope);
    const std::shared_ptr<UninstallAppManager>& manager() const { return manager_; }
    bool isSizeSortable() const;
    // The chosen applications of the shown scope, in the order they were ticked.
    std::vector<std::shared_ptr<UninstallApp>> deleteApps() const;
    // The alert sheet shown last, while it is open.
    QMessageBox* currentAlert() const { return alert_; }

    // Catalogue reports, on the main thread.
    void appsDidLoad();
    void appDidScan(const std::shared_ptr<UninstallApp>& app);
    void allAppsDidScan();
    // Applications joined or left the list after the folders changed.
    void appsDidChange();
    // `change` alters the records every list of this window may show: it runs between the lists'
    // reset and their renewal.
    void changeListedApps(const std::function<void()>& change);
    void uninstallProgress(UninstallType state, double value, double total);
    // Asks whether to force a running application to quit, as a sheet; `answer` gets true unless
    // the user cancels, and false at once when there is no window to ask in.
    void askForceQuit(const std::shared_ptr<UninstallApp>& app, std::function<void(bool)> answer);

    // Actions.
    void search_click();
    void controlTextDidChange(const QString& text);
    void uninstall_click();
    // Asks, on the reset sheet, to remove the application's data (every related item but the bundle
    // ticked, the user may untick some) and runs the removal flow keeping the bundle. Nothing for a
    // protected application or one not scanned yet.
    void reset_click(const std::shared_ptr<UninstallApp>& app);
    // Shows the Exclusions window; what it removes from the store shows on the list again.
    void exclusions_click();
    void sortDescriptorsDidChange(int column, Qt::SortOrder order);
    // The context menu of a row of the outline (an index of the outline; null where it has none).
    // An application row offers Protect or Unprotect and Reset… (not for a protected one), a file
    // row (not the bundle) "Never offer this…"; the caller owns the menu.
    QMenu* contextMenuFor(const QModelIndex& row);
    // Expands or collapses an application or group row (an index of the outline); rows are never
    // selected.
    bool shouldSelectItem(const QModelIndex& index);
    // Back from the completed or leftovers screen: a refreshed list, nothing chosen.
    void returnToList();
    // The Refresh command (Command-R on the list): the applications found and scanned again, the
    // list's sort kept. Nothing while a removal or Put Back is under way.
    void refresh();
    void completed_click() override;
    // Puts the removal back from the completed or leftovers screen; once it has ended the catalogue
    // finds the applications again and the list shows them. What stayed away is listed in an alert.
    void putBack_click(const RemovalRecord& record) override;

    // An application bundle dropped on the list is chosen: ticked and scrolled into view.
    Qt::DropAction dragEnter(QDragEnterEvent* event) override;
    bool performDragOperation(QDropEvent* event) override;
    bool chooseApplicationAtPath(const std::string& bundlePath);
    // Shows the remains scope with the remains of the gone applications of these identifiers
    // (letter case ignored) ticked, as soon as the scan has found them and the list is on screen
    // (after a removal's screens); identifiers without remains are passed over.
    void reviewRemainsOf(std::vector<std::string> identifiers);

protected:
    void addSubViews() override;
    void addConstraints() override;
    void updateAppearance(bool isDark) override;

private:
    void buildListView();
    QMenu* itemMenuFor(const QModelIndex& source);
    void showAlert(const QString& message, const QString& details = QString());
    void putBackDidEnd(const PutBack::Report& report);
    // Forgets the catalogue's applications and discovers and scans them again, as at the start.
    void reloadApps();
    void rediscover();
    void showChosenCount();
    // The bundles discovery finds now: rows of those gone leave, those new are listed and scanned;
    // ticks stay. Waits for the list to be idle.
    void applicationsFound(const std::vector<std::string>& bundles);
    void showRemainsCount();
    // The remains list shows the catalogue's remains anew (once they were listed), and its count.
    void renewRemains();
    void styleScopeButtons();
    // Whether the removal may start from where Ostrova lies (else says why).
    bool mayRemoveFromHere();
    void beginRemoval(std::vector<std::shared_ptr<UninstallApp>> apps, bool reset);
    std::vector<std::string> droppedBundles(const QMimeData* data) const;

    std::shared_ptr<UninstallAppManager> manager_;
    std::shared_ptr<MainViewDelegateBridge> bridge_;
    NSOutlineViewEx* outline_ = nullptr;
    AppListModel* model_;
    AppListFilter* filter_;
    AppListModel* remainsModel_;
    AppListFilter* remainsFilter_;
    ListScope scope_ = ListScope::installed;
    bool isDark_ = false;
    QTimer* spinnerTimer_ = nullptr;
    QPointer<QMessageBox> alert_;
    bool reloadWhenScanned_ = false;
    // What the last complete Put Back restored, said in the footer until something is ticked.
    QString putBackNote_;
    // Applications that come or go in the application folders while the window is open.
    ApplicationFolderWatch* folderWatch_ = nullptr;
    // The watch reported while a scan, a removal or Put Back was under way: looked at again after.
    bool applicationsChanged_ = false;
    std::vector<std::string> remainsToReview_;
    // The removal under way: its applications, whether it resets them, and for a reset the items
    // it was to take (those still there at the end are left over).
    std::vector<std::shared_ptr<UninstallApp>> removalApps_;
    bool resetting_ = false;
    std::set<std::string> resetItems_;
};
