#pragma once

#include "app/catalogue/UninstallType.h"

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
    // Scan queue: applications joined or left the list after the folders changed. Delete queue:
    // the exclusions changed (applyExclusions).
    virtual void appsDidChange() {}
    // Main queue for eDeleting; delete queue for eDeleteCompleted.
    virtual void uninstallProgress(UninstallType state, double value, double total) = 0;
    // Delete queue; blocks until the user answered.
    virtual bool shouldForceQuit(const std::shared_ptr<UninstallApp>& app) = 0;
};
