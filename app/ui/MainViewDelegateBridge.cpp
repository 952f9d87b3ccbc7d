#include "app/ui/MainViewDelegateBridge.h"

#include "app/ui/MainViewController.h"
#include "platform/DispatchQueue.h"

void MainViewDelegateBridge::appsDidLoad()
{
    dispatch::MainQueue::async([screen = screen_] {
        if (screen)
            screen->appsDidLoad();
    });
}

void MainViewDelegateBridge::appDidScan(const std::shared_ptr<UninstallApp>& app)
{
    dispatch::MainQueue::async([screen = screen_, app] {
        if (screen)
            screen->appDidScan(app);
    });
}

void MainViewDelegateBridge::allAppsDidScan()
{
    dispatch::MainQueue::async([screen = screen_] {
        if (screen)
            screen->allAppsDidScan();
    });
}

void MainViewDelegateBridge::uninstallProgress(UninstallType state, double value, double total)
{
    dispatch::MainQueue::async([screen = screen_, state, value, total] {
        if (screen)
            screen->uninstallProgress(state, value, total);
    });
}

bool MainViewDelegateBridge::shouldForceQuit(const std::shared_ptr<UninstallApp>&)
{
    return false;
}
