#pragma once

#include "app/removal/DaemonCall.h"
#include "app/removal/TrashRemoval.h"

#include <chrono>
#include <functional>
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
    // The run this removal belongs to: items go to the Trash and into its record. Without one
    // they are deleted at once and nothing is recorded.
    std::shared_ptr<TrashRemoval> run;
    // Called before every request to the daemon, so that the daemon is made sure of only when the
    // removal first needs it (the catalogue's makes sure once per run); false (the run was
    // cancelled): nothing is asked. None: the daemon is asked as it is.
    std::function<bool()> startDaemon;

    bool isAppRunning();
    // Ends the processes of this user that run from the bundle, with this process's own rights (as
    // the daemon would: asked to quit first); false when none was running or one stays.
    bool quitOwnProcesses();
    void standardDelete();
    void sandboxedDelete();

    // The administrator command of the sandboxed path for these job files and leftovers, escaped
    // for an AppleScript string; "" when there is nothing to do.
    // `trashMoves` (path, place in the Trash) are moved there ("mv -n") rather than removed.
    static std::string sandboxedCommand(const std::vector<std::string>& jobPaths, const std::vector<std::string>& removeFailed,
                                        const std::vector<std::pair<std::string, std::string>>& trashMoves = {});

    // What was asked of the daemon and the administrator script, in order (for the tests and the
    // command-line report).
    std::vector<std::string> requests;

    // The pause before the last look at the bundle: two seconds; tests shorten it.
    static void setSettleDelay(std::chrono::milliseconds delay);

private:
    // Takes the selected items (launch jobs aside) in-process through the folder-access gate and
    // returns the paths the user's rights could not take.
    // Every ticked item but launch jobs, and those of `unloadedJobs`; returns what needs more rights.
    std::vector<std::string> removeSelectedFiles(const UninstallApp& app, const std::vector<std::string>& unloadedJobs = {});
    void updateAfterDelete();
    // The daemon's part: what the user's rights could not take, to the Trash or deleted.
    void takeThroughDaemon(const std::vector<std::string>& paths);
    std::optional<bool> unloadJob(const std::string& path);
    // Whether the daemon may be asked to act on `path`: inside the user's own places always; beyond
    // them once the administrator's right was given for the run (asked the first time).
    bool mayAskDaemonFor(const std::string& path);
    static void keepOnlyFailedItems(UninstallApp& app);
    std::optional<bool> ask(const char* operation,
                            const std::function<void(UninstallServiceprotocol&, std::function<void(bool)>)>& call);
};
