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
// missing folder above an item is made again. The record is saved after each item.
class PutBack {
public:
    // The daemon's put-back request for `path` from the Trash name `trashName` (nullopt: no answer).
    using DaemonPutBack = std::function<std::optional<bool>(const std::string& path, const std::string& trashName)>;

    struct Report {
        std::vector<std::string> restored;  // (a dry run: would be)
        std::vector<std::string> taken;     // their places hold something now
        std::vector<std::string> gone;      // emptied from the Trash since they went there
        std::vector<std::string> failed;
        std::vector<std::string> deleted;      // deleted at once, never in the Trash
        std::vector<std::string> alreadyBack;  // put back by an earlier put back
        std::int64_t bytes = 0;             // of the restored items
        // The administrator's right for items outside the user's home was not given (they failed).
        bool administratorRightRefused = false;
        // Something went back and nothing that could have stayed away; items deleted or already
        // back are only told.
        bool complete() const { return !restored.empty() && taken.empty() && gone.empty() && failed.empty(); }
    };

    static Report run(RemovalRecord& record, bool dryRun, const DaemonPutBack& daemon);

    // The daemon's put back through the link `connect` makes on first use. Before the first item
    // outside the user's own places (home and temporary folders) it asks once for the administrator's right; without it no such item is
    // sent, and `refused` is set.
    static DaemonPutBack throughDaemon(std::function<std::shared_ptr<DaemonLink>()> connect, std::shared_ptr<bool> refused);
};
