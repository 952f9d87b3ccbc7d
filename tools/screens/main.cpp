// Drives the real window over whatever Mac OSTROVA_ROOT and HOME point at, and saves what it shows
// at each stage as PNG: ostrova-screens OUTPUT-FOLDER [STAGE...]. Stages: list.
// The file names end in the appearance (OSTROVA_APPEARANCE, "light" by default).
#include "app/catalogue/UninstallAppManager.h"
#include "app/ui/AppListModel.h"
#include "app/ui/MainViewController.h"
#include "app/ui/MainWindowController.h"
#include "app/ui/NSOutlineViewEx.h"
#include "app/ui/RequestedAppearance.h"
#include "platform/qt/QtMainQueue.h"

#include <QApplication>
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

bool save(QWidget* window, const QString& folder, const QString& stage)
{
    const QString appearance = qEnvironmentVariable("OSTROVA_APPEARANCE", QStringLiteral("light"));
    const QString path = QDir(folder).filePath(stage + "-" + appearance + ".png");
    const bool saved = window->grab().save(path);
    std::cout << (saved ? "wrote " : "could not write ") << path.toStdString() << std::endl;
    return saved;
}

// The list with the application that has the most file groups expanded and one group ticked.
bool listStage(MainWindowController& controller, const QString& folder)
{
    MainViewController* screen = controller.mainViewContoller;
    if (!waitFor([screen] { return screen->isSizeSortable(); }))
        return false;
    AppListModel* model = screen->model();
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
            screen->check_click(model->groupAt(model->index(1, 0, richest)));
    }
    settle();
    return save(controller.window(), folder, QStringLiteral("list"));
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    applyRequestedAppearance();
    platform::installQtMainQueue();
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.isEmpty()) {
        std::cerr << "usage: ostrova-screens OUTPUT-FOLDER [list]" << std::endl;
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
        } else {
            std::cerr << "unknown stage " << stage.toStdString() << std::endl;
            ok = false;
        }
    }
    return ok ? 0 : 1;
}
