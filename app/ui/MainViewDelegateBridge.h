#pragma once

#include "app/catalogue/UninstallDelegate.h"

#include <QPointer>

class MainViewController;

// The catalogue's delegate on behalf of the list screen: every report arrives on a background
// queue and is passed to the screen in a later turn of the main queue, unless the screen is gone by
// then. A change of the records (changeListedApps) comes on the main queue and is made at once.
class MainViewDelegateBridge : public UninstallDelegate {
public:
    explicit MainViewDelegateBridge(MainViewController* screen) : screen_(screen) {}

    void appsDidLoad() override;
    void appDidScan(const std::shared_ptr<UninstallApp>& app) override;
    void allAppsDidScan() override;
    void appsDidChange() override;
    void changeListedApps(const std::function<void()>& change) override;
    void uninstallProgress(UninstallType state, double value, double total) override;
    bool shouldForceQuit(const std::shared_ptr<UninstallApp>& app) override;

private:
    QPointer<MainViewController> screen_;
};
