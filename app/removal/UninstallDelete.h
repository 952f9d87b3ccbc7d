#pragma once

#include "app/removal/DaemonCall.h"

#include <chrono>
#include <memory>
#include <string>
#include <vector>

class UninstallApp;
class UninstallAppManager;

// Removes one application: tells whether it (or an application inside it) runs, unloads the
// selected launch jobs, deletes the selected files, hands what the user's rights could not remove
// to the daemon (or, sandboxed, to one administrator command), and updates the record. Made for
// one application by the catalogue and used on its delete queue; every call blocks until done.
class UninstallDelete {
public:
    UninstallDelete(std::weak_ptr<UninstallAppManager> manager, std::weak_ptr<DaemonLink> link,
                    std::weak_ptr<UninstallApp> app);

    std::weak_ptr<UninstallAppManager> mgr;
    std::weak_ptr<UninstallApp> current;
    std::vector<std::shared_ptr<UninstallApp>> cacheQueue;
    std::weak_ptr<DaemonLink> xpcObj;

    bool isAppRunning();
    void standardDelete();
    void sandboxedDelete();

    // The administrator command of the sandboxed path for these job files and leftovers, escaped
    // for an AppleScript string; "" when there is nothing to do.
    static std::string sandboxedCommand(const std::vector<std::string>& jobPaths, const std::vector<std::string>& removeFailed);

    // What was asked of the daemon and the administrator script, in order (for the tests and the
    // command-line report).
    std::vector<std::string> requests;

    // The pause before the last look at the bundle: two seconds; tests shorten it.
    static void setSettleDelay(std::chrono::milliseconds delay);

private:
    // Deletes the selected items (launch jobs aside) in-process through the folder-access gate and
    // returns the paths whose removal failed.
    std::vector<std::string> removeSelectedFiles(const UninstallApp& app);
    void updateAfterDelete();
    static void keepOnlyFailedItems(UninstallApp& app);
    std::optional<bool> ask(const char* operation,
                            const std::function<void(UninstallServiceprotocol&, std::function<void(bool)>)>& call);
};
