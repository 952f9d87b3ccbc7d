// Drives the real window over whatever Mac OSTROVA_ROOT and HOME point at, and saves what the
// screen shows at each stage as PNG: ostrova-screens OUTPUT-FOLDER [STAGE...]. Stages: list,
// remains (the remains of removed applications), flow (the confirmation sheet, the uninstalling
// screen, the leftovers and the completed screen of real removals of demo applications), menus (an
// application row's and a file row's context menu), exclusions (the Exclusions window, with an
// item kept out and an application protected first) and reset (the reset sheet and the screen after
// the reset). The file
// names end in the language (OSTROVA_LANGUAGE, else the system's) and the appearance
// (OSTROVA_APPEARANCE, "light" by default): list-de-light.png. The removals change the Mac it runs
// over: point it at a demo tree.
#include "app/catalogue/UninstallAppManager.h"
#include "app/ui/AppListFilter.h"
#include "app/ui/AppListModel.h"
#include "app/catalogue/ExclusionStore.h"
#include "app/ui/ExclusionsWindowController.h"
#include "app/ui/MainViewController.h"
#include "app/ui/MainWindowController.h"
#include "app/ui/NSOutlineViewEx.h"
#include "app/ui/RequestUninstallWinodowController.h"
#include "Auxiliary/AppLanguage.h"
#include "Auxiliary/RequestedAppearance.h"
#include "app/ui/UninstallCompletedViewController.h"
#include "app/ui/UninstallResidualViewController.h"
#include "app/ui/UninstallingViewController.h"
#include "platform/SystemRoot.h"
#include "platform/qt/QtMainQueue.h"

#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QProgressBar>
#include <QScreen>
#include <QDir>
#include <QElapsedTimer>
#include <QThread>

#include <iostream>

namespace {

bool waitFor(const std::function<bool()>& done, int milliseconds = 60000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > milliseconds)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(10);
    }
    return true;
}

void settle(int milliseconds = 400)
{
    waitFor([] { return false; }, milliseconds);
}

// What the display shows where the window is, sheets included.
bool save(QWidget* window, const QString& folder, const QString& stage)
{
    const QString appearance = qEnvironmentVariable("OSTROVA_APPEARANCE", QStringLiteral("light"));
    const QString language = appLanguage::install();
    const QString path = QDir(folder).filePath(stage + "-" + language + "-" + appearance + ".png");
    const QRect area = window->frameGeometry();
    QScreen* screen = window->screen();
    const QPixmap shot = screen ? screen->grabWindow(0, area.x(), area.y(), area.width(), area.height()) : window->grab();
    const bool saved = shot.save(path);
    std::cout << (saved ? "wrote " : "could not write ") << path.toStdString() << std::endl;
    return saved;
}

// The list with the application that has the most file groups expanded, its first group open and
// another ticked.
bool listStage(MainWindowController& controller, const QString& folder)
{
    MainViewController* screen = controller.mainViewContoller;
    if (!waitFor([screen] { return screen->isSizeSortable(); }))
        return false;
    AppListFilter* model = screen->listFilter();
    QModelIndex richest;
    for (int row = 0; row < model->rowCount(); ++row) {
        const QModelIndex index = model->index(row, 0);
        if (!richest.isValid() || model->rowCount(index) > model->rowCount(richest))
            richest = index;
    }
    if (richest.isValid()) {
        screen->outlineView()->scrollTo(richest, QAbstractItemView::PositionAtTop);
        screen->shouldSelectItem(richest);
        if (model->rowCount(richest) > 1)
            model->setData(model->index(1, 0, richest), Qt::Checked, Qt::CheckStateRole);
        // Its first group open too: each file with the place it lies in.
        if (model->rowCount(richest) > 0)
            screen->shouldSelectItem(model->index(0, 0, richest));
    }
    settle();
    return save(controller.window(), folder, QStringLiteral("list"));
}

// The remains of removed applications, the largest one expanded, nothing ticked.
bool remainsStage(MainWindowController& controller, const QString& folder)
{
    MainViewController* screen = controller.mainViewContoller;
    if (!waitFor([screen] { return screen->isSizeSortable(); }))
        return false;
    screen->showScope(MainViewController::ListScope::remains);
    AppListFilter* model = screen->listFilter();
    QModelIndex largest;
    for (int row = 0; row < model->rowCount(); ++row) {
        const QModelIndex index = model->index(row, 0);
        const UninstallApp* app = screen->model()->appAt(model->mapToSource(index));
        if (!largest.isValid() || app->totalSize > screen->model()->appAt(model->mapToSource(largest))->totalSize)
            largest = index;
    }
    if (largest.isValid())
        screen->shouldSelectItem(largest);
    settle();
    const bool saved = save(controller.window(), folder, QStringLiteral("remains"));
    screen->showScope(MainViewController::ListScope::installed);
    return saved;
}

bool hasJobs(const UninstallApp& app)
{
    for (const auto& group : app.fileGroups) {
        if (group->type == RkUninstallCategoryType::daemon)
            return true;
    }
    return false;
}

// Removes `apps` the way a user does: ticks, Uninstall, Continue; answers whether it got to the end.
bool removeThroughTheScreens(MainWindowController& controller, const std::vector<std::shared_ptr<UninstallApp>>& apps,
                             const QString& folder, bool saveSheet)
{
    MainViewController* screen = controller.mainViewContoller;
    for (const auto& app : apps)
        screen->model()->setData(screen->model()->indexOfApp(app.get()), Qt::Checked, Qt::CheckStateRole);
    settle(200);
    screen->uninstall_click();
    RequestUninstallWinodowController* sheet = screen->requestUninstallWinodowController.get();
    if (!sheet || !waitFor([sheet] { return sheet->window()->isVisible(); }, 5000))
        return false;
    settle();
    if (saveSheet && !save(controller.window(), folder, QStringLiteral("sheet")))
        return false;
    sheet->ok_click();
    auto* uninstalling = screen->uninstallingViewController;
    if (saveSheet) {
        // Past the first application, with the bar part way.
        if (!waitFor([uninstalling] { return !uninstalling->isHidden && uninstalling->progress->value() > 0; }, 30000))
            return false;
        if (!save(controller.window(), folder, QStringLiteral("uninstalling")))
            return false;
    }
    return waitFor([uninstalling] { return uninstalling->isHidden; }, 120000);
}

// One removal that leaves launch jobs behind (nothing can unload them without the daemon), then
// one that takes everything.
bool flowStage(MainWindowController& controller, const QString& folder)
{
    MainViewController* screen = controller.mainViewContoller;
    if (!waitFor([screen] { return screen->isSizeSortable(); }))
        return false;
    screen->applicationBundlePath = platform::fixedPath("/Applications/Ostrova.app");
    std::shared_ptr<UninstallApp> withJobs, plain, another;
    for (const auto& app : screen->manager()->allApps()) {
        if (!withJobs && hasJobs(*app))
            withJobs = app;
        else if (!hasJobs(*app) && !app->fileGroups.empty() && !plain)
            plain = app;
        else if (!hasJobs(*app) && !app->fileGroups.empty() && !another)
            another = app;
    }
    if (!withJobs || !plain || !another) {
        std::cerr << "the Mac has too few applications for the flow" << std::endl;
        return false;
    }
    if (!removeThroughTheScreens(controller, {plain, withJobs}, folder, true))
        return false;
    settle();
    if (screen->uninstallResidualViewController->isHidden || !save(controller.window(), folder, QStringLiteral("leftovers")))
        return false;
    screen->uninstallResidualViewController->completed_click();
    if (!waitFor([screen] { return screen->mainView->isVisible(); }, 5000))
        return false;
    if (!removeThroughTheScreens(controller, {another}, folder, false))
        return false;
    settle();
    return !screen->uninstallCompletedViewController->isHidden && save(controller.window(), folder, QStringLiteral("completed"));
}

// The application not protected that has the most file groups (`withoutJobs`: and no launch
// jobs, which stay when no daemon runs), and its row on the list (invalid: none).
QModelIndex richestRow(MainViewController* screen, bool withoutJobs = false)
{
    AppListFilter* model = screen->listFilter();
    QModelIndex richest;
    for (int row = 0; row < model->rowCount(); ++row) {
        const QModelIndex index = model->index(row, 0);
        const UninstallApp* app = screen->model()->appAt(model->mapToSource(index));
        if (!app->isProtected && !(withoutJobs && hasJobs(*app)) &&
            (!richest.isValid() || model->rowCount(index) > model->rowCount(richest)))
            richest = index;
    }
    return richest;
}

// Pops the row's context menu up over its middle and saves the window with it.
bool saveMenu(MainWindowController& controller, const QModelIndex& row, const QString& folder, const QString& stage)
{
    MainViewController* screen = controller.mainViewContoller;
    NSOutlineViewEx* outline = screen->outlineView();
    outline->scrollTo(row, QAbstractItemView::PositionAtCenter);
    settle(200);
    QMenu* menu = screen->contextMenuFor(row);
    if (!menu)
        return false;
    const QRect rect = outline->visualRect(row);
    menu->popup(outline->viewport()->mapToGlobal(QPoint(rect.left() + 260, rect.center().y())));
    settle();
    const bool saved = save(controller.window(), folder, stage);
    menu->close();
    delete menu;
    return saved;
}

// The application row's menu (Protect, Reset…) and a file row's (Never offer this…).
bool menusStage(MainWindowController& controller, const QString& folder)
{
    MainViewController* screen = controller.mainViewContoller;
    if (!waitFor([screen] { return screen->isSizeSortable(); }))
        return false;
    const QModelIndex app = richestRow(screen);
    if (!app.isValid() || !saveMenu(controller, app, folder, QStringLiteral("menu-app")))
        return false;
    AppListFilter* model = screen->listFilter();
    // A file of its second group (the first is the bundle's, which has no menu).
    if (!screen->outlineView()->isExpanded(app))
        screen->shouldSelectItem(app);
    const QModelIndex group = model->index(std::min(1, model->rowCount(app) - 1), 0, app);
    if (!screen->outlineView()->isExpanded(group))
        screen->shouldSelectItem(group);
    return saveMenu(controller, model->index(0, 0, group), folder, QStringLiteral("menu-item"));
}

// Keeps a file of the richest application out for every application and protects the one after
// it on the list, then shows the Exclusions window.
bool exclusionsStage(MainWindowController& controller, const QString& folder)
{
    MainViewController* screen = controller.mainViewContoller;
    if (!waitFor([screen] { return screen->isSizeSortable(); }))
        return false;
    const QModelIndex app = richestRow(screen);
    if (!app.isValid())
        return false;
    const UninstallApp* richest = screen->model()->appAt(screen->listFilter()->mapToSource(app));
    if (richest->fileGroups.size() < 2 || richest->fileGroups[1]->fileItem.empty())
        return false;
    ExclusionStore::add(richest->fileGroups[1]->fileItem.front()->filePath, "");
    ExclusionStore::add(richest->fileGroups.back()->fileItem.front()->filePath, richest->bundleIdentifier());
    const QModelIndex next = screen->listFilter()->index(app.row() == 0 ? 1 : 0, 0);
    if (const UninstallApp* other = screen->model()->appAt(screen->listFilter()->mapToSource(next)))
        ExclusionStore::protect(other->bundleIdentifier());
    bool applied = false;
    screen->manager()->applyExclusions([&applied] { dispatch::MainQueue::async([&applied] { applied = true; }); });
    if (!waitFor([&applied] { return applied; }, 10000))
        return false;
    screen->exclusions_click();
    ExclusionsWindowController* window = screen->exclusionsWindowController.get();
    if (!window || !waitFor([window] { return window->window()->isVisible(); }, 5000))
        return false;
    settle();
    const bool saved = save(controller.window(), folder, QStringLiteral("exclusions"));
    window->window()->accept();
    return saved;
}

// The reset sheet of the richest application not protected, then the screen after its reset.
bool resetStage(MainWindowController& controller, const QString& folder)
{
    MainViewController* screen = controller.mainViewContoller;
    if (!waitFor([screen] { return screen->isSizeSortable(); }))
        return false;
    screen->applicationBundlePath = platform::fixedPath("/Applications/Ostrova.app");
    const QModelIndex row = richestRow(screen, true);
    if (!row.isValid())
        return false;
    const auto& apps = screen->model()->apps();
    const UninstallApp* chosen = screen->model()->appAt(screen->listFilter()->mapToSource(row));
    const auto app = std::find_if(apps.begin(), apps.end(), [chosen](const auto& listed) { return listed.get() == chosen; });
    screen->reset_click(*app);
    RequestUninstallWinodowController* sheet = screen->requestUninstallWinodowController.get();
    if (!sheet || !waitFor([sheet] { return sheet->window()->isVisible(); }, 5000))
        return false;
    settle();
    if (!save(controller.window(), folder, QStringLiteral("reset-sheet")))
        return false;
    sheet->ok_click();
    auto* uninstalling = screen->uninstallingViewController;
    if (!waitFor([uninstalling] { return uninstalling->isHidden; }, 120000))
        return false;
    settle();
    const bool saved = save(controller.window(), folder, QStringLiteral("reset-completed"));
    screen->completed_click();
    return saved && waitFor([screen] { return screen->mainView->isVisible(); }, 5000);
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    applyRequestedAppearance();
    platform::installQtMainQueue();
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.isEmpty()) {
        std::cerr << "usage: ostrova-screens OUTPUT-FOLDER [list] [remains] [flow] [menus] [exclusions] [reset]" << std::endl;
        return 2;
    }
    const QString folder = arguments.first();
    QDir().mkpath(folder);
    QStringList stages = arguments.mid(1);
    if (stages.isEmpty())
        stages << QStringLiteral("list");

    MainWindowController controller(UninstallAppManager::shared());
    controller.mainViewContoller->discoveryDelay = 0.2;
    controller.showWindow();
    bool ok = true;
    for (const QString& stage : stages) {
        if (stage == QLatin1String("list")) {
            ok = listStage(controller, folder) && ok;
        } else if (stage == QLatin1String("remains")) {
            ok = remainsStage(controller, folder) && ok;
        } else if (stage == QLatin1String("flow")) {
            ok = flowStage(controller, folder) && ok;
        } else if (stage == QLatin1String("menus")) {
            ok = menusStage(controller, folder) && ok;
        } else if (stage == QLatin1String("exclusions")) {
            ok = exclusionsStage(controller, folder) && ok;
        } else if (stage == QLatin1String("reset")) {
            ok = resetStage(controller, folder) && ok;
        } else {
            std::cerr << "unknown stage " << stage.toStdString() << std::endl;
            ok = false;
        }
    }
    return ok ? 0 : 1;
}
