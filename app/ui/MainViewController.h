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
#include <string>
#include <vector>

class AppListFilter;
class AppListModel;
class MainViewDelegateBridge;
class NSOutlineViewEx;
class QLineEdit;
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
class MainViewController : public BaseViewController, public UninstallCompletedDelegate, public NSScrollViewDragDelegate {
    Q_OBJECT
public:
    explicit MainViewController(std::shared_ptr<UninstallAppManager> manager = UninstallAppManager::shared(),
                                QObject* parent = nullptr);
    ~MainViewController() override;

    // Seconds between building the screen and starting discovery.
    double discoveryDelay = 2.0;
    // The running application's bundle (the main bundle; tests place one in a generated Mac).
    std::string applicationBundlePath;

    RkLoadAppView* loadAppView = nullptr;
    QWidget* mainView = nullptr;
    RkLabel* lbTitle = nullptr;
    RkLabel* lbAllProgram = nullptr;
    RkLabel* lbSelected = nullptr;
    QLineEdit* searchField = nullptr;
    RkFlatButton* btnUnistall = nullptr;
    QWidget* line = nullptr;
    std::unique_ptr<RequestUninstallWinodowController> requestUninstallWinodowController;
    UninstallingViewController* uninstallingViewController = nullptr;
    UninstallCompletedViewController* uninstallCompletedViewController = nullptr;
    UninstallResidualViewController* uninstallResidualViewController = nullptr;

    NSOutlineViewEx* outlineView();
    AppListModel* model() const { return model_; }
    // The outline's model: the applications the search leaves, in the current order.
    AppListFilter* listFilter() const { return filter_; }
    const std::shared_ptr<UninstallAppManager>& manager() const { return manager_; }
    bool isSizeSortable() const;
    // The chosen applications, in the order they were ticked.
    const std::vector<std::shared_ptr<UninstallApp>>& deleteApps() const;
    // The alert sheet shown last, while it is open.
    QMessageBox* currentAlert() const { return alert_; }

    // Catalogue reports, on the main thread.
    void appsDidLoad();
    void appDidScan(const std::shared_ptr<UninstallApp>& app);
    void allAppsDidScan();
    void uninstallProgress(UninstallType state, double value, double total);
    // Asks whether to force a running application to quit, as a sheet; `answer` gets true unless
    // the user cancels, and false at once when there is no window to ask in.
    void askForceQuit(const std::shared_ptr<UninstallApp>& app, std::function<void(bool)> answer);

    // Actions.
    void search_click();
    void controlTextDidChange(const QString& text);
    void uninstall_click();
    void sortDescriptorsDidChange(int column, Qt::SortOrder order);
    // Expands or collapses an application or group row (an index of the outline); rows are never
    // selected.
    bool shouldSelectItem(const QModelIndex& index);
    // Back from the completed or leftovers screen: a refreshed list, nothing chosen.
    void returnToList();
    void completed_click() override;

    // An application bundle dropped on the list is chosen: ticked and scrolled into view.
    Qt::DropAction dragEnter(QDragEnterEvent* event) override;
    bool performDragOperation(QDropEvent* event) override;
    bool chooseApplicationAtPath(const std::string& bundlePath);

protected:
    void addSubViews() override;
    void addConstraints() override;
    void updateAppearance(bool isDark) override;

private:
    void buildListView();
    void showAlert(const QString& message);
    void showChosenCount();
    void beginRemoval();
    std::vector<std::string> droppedBundles(const QMimeData* data) const;

    std::shared_ptr<UninstallAppManager> manager_;
    std::shared_ptr<MainViewDelegateBridge> bridge_;
    NSOutlineViewEx* outline_ = nullptr;
    AppListModel* model_;
    AppListFilter* filter_;
    QTimer* spinnerTimer_ = nullptr;
    QPointer<QMessageBox> alert_;
};
