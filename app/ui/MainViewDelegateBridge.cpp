#include "app/ui/MainViewDelegateBridge.h"

#include "app/ui/MainViewController.h"
#include "platform/OneReply.h"
#include "platform/DispatchQueue.h"

#include <atomic>

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

void MainViewDelegateBridge::appsDidChange()
{
    dispatch::MainQueue::async([screen = screen_] {
        if (screen)
            screen->appsDidChange();
    });
}

void MainViewDelegateBridge::changeListedApps(const std::function<void()>& change)
{
    if (screen_)
        screen_->changeListedApps(change);
    else
        change();
}

void MainViewDelegateBridge::uninstallProgress(UninstallType state, double value, double total)
{
    dispatch::MainQueue::async([screen = screen_, state, value, total] {
        if (screen)
            screen->uninstallProgress(state, value, total);
    });
}

bool MainViewDelegateBridge::shouldForceQuit(const std::shared_ptr<UninstallApp>& app)
{
    // The delete queue waits here while the main thread asks; the main thread never waits for the
    // delete queue, and a screen that is gone answers false.
    const auto question = dispatch::OneReply<bool>::make();
    dispatch::MainQueue::async([screen = screen_, app, question] {
        auto reply = [question](bool forceQuit) { question->answer(forceQuit); };
        if (screen)
            screen->askForceQuit(app, reply);
        else
            reply(false);
    });
    return question->wait();
}
