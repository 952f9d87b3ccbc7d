#pragma once

#include "app/catalogue/UninstallType.h"

#include <functional>
#include <memory>

class UninstallApp;

// How the catalogue reports to the list screen. Each call arrives on the queue named beside it; an
// implementation that touches widgets moves to the main queue itself.
class UninstallDelegate {
public:
    virtual ~UninstallDelegate() = default;
    // Discovery thread.
    virtual void appsDidLoad() = 0;
    // Scan queue.
    virtual void appDidScan(const std::shared_ptr<UninstallApp>& app) = 0;
    // Scan queue.
    virtual void allAppsDidScan() = 0;
    // Scan queue: applications joined or left the list after the folders changed.
    virtual void appsDidChange() {}
    // Main queue, from applyExclusions: `change` alters records the screens show (items dropped,
    // applications protected). A screen runs it where its lists can take it, between their reset
    // and their renewal, in this same turn.
    virtual void changeListedApps(const std::function<void()>& change)
    {
        change();
        appsDidChange();
    }
    // Main queue for eDeleting; delete queue for eDeleteCompleted.
    virtual void uninstallProgress(UninstallType state, double value, double total) = 0;
    // Delete queue; blocks until the user answered.
    virtual bool shouldForceQuit(const std::shared_ptr<UninstallApp>& app) = 0;
};
