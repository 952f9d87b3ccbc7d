#pragma once

#include "app/removal/DaemonCall.h"
#include "app/removal/RemovalRecord.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// Puts the items of a removal record back where they were, the last moved first: one rename from
// the Trash each (TrashMover), so owner, mode, times and extended attributes come back as they
// went. An item whose place is taken now is not overwritten but reported; one emptied from the
// Trash is reported as gone, one deleted at once or put back before as such; what the user's rights cannot move back goes through `daemon`. A
// missing folder above an item is made again. The record is saved after each item. Once every item
// is back, the job files that had a job loaded when their removal began are loaded again: those in
// the user's home by the user's own launchctl, the others (root's jobs) by the daemon.
class PutBack {
public:
    // The daemon's put-back request for `path` from the Trash name `trashName` (nullopt: no answer).
    using DaemonPutBack = std::function<std::optional<bool>(const std::string& path, const std::string& trashName)>;
    // The daemon's load of the root job file at `path` (nullopt: no answer).
    using DaemonLoad = std::function<std::optional<bool>(const std::string& path)>;
    // What the daemon is asked; either may be empty (nothing is asked of it).
    struct Daemon {
        DaemonPutBack putBack;
        DaemonLoad load;
    };

    struct Report {
        std::vector<std::string> restored;  // (a dry run: would be)
        std::vector<std::string> taken;     // their places hold something now
        std::vector<std::string> gone;      // emptied from the Trash since they went there
        std::vector<std::string> failed;
        std::vector<std::string> deleted;      // deleted at once, never in the Trash
        std::vector<std::string> alreadyBack;  // put back by an earlier put back
        std::vector<std::string> loaded;       // job files put back whose jobs were loaded again
        std::vector<std::string> notLoaded;    // put back, but their jobs could not be loaded again
        std::int64_t bytes = 0;             // of the restored items
        // The administrator's right for items outside the user's home was not given (they failed).
        bool administratorRightRefused = false;
        // Something went back and nothing that could have stayed away, and every job it stopped runs
        // again; items deleted or already back are only told.
        bool complete() const { return !restored.empty() && taken.empty() && gone.empty() && failed.empty() && notLoaded.empty(); }
    };

    static Report run(RemovalRecord& record, bool dryRun, const Daemon& daemon);

    // The daemon's put back and load through the link `connect` makes on first use. Before the first
    // item outside the user's own places (home and temporary folders) it asks once for the
    // administrator's right; without it no such item is sent, and `refused` is set.
    static Daemon throughDaemon(std::function<std::shared_ptr<DaemonLink>()> connect, std::shared_ptr<bool> refused);

private:
    // Loads the job of each job file as its place says (see above), noting which could not be.
    static void loadJobs(const std::vector<std::string>& jobFiles, const DaemonLoad& daemon, Report& report);
};
