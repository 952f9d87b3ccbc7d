#pragma once

#include "app/removal/RemovalRecord.h"
#include "platform/TrashMover.h"

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

class UninstallApp;
class UnFileItem;

// How one removal run takes items away, and its record. By default every item moves into the
// Trash of its volume (TrashMover) and the record says where it went; with `deleteNow` items are
// deleted at once. An item no Trash can take (a read-only volume, a Trash that cannot be made or
// is on another device) is deleted only when `deleteWhereNoTrash` says the user agreed, else it
// stays and is reported as left.
//
// Made on the delete queue at the start of a run and used there; the record is saved before the
// first item moves and after each.
class TrashRemoval {
public:
    enum class Outcome {
        done,        // moved (or deleted, when asked to)
        needsRights, // the user's rights do not reach: the daemon may
        left,        // stays where it is
    };
    // One daemon request that answers YES or NO (nullopt: no answer).
    using DaemonMove = std::function<std::optional<bool>(const std::string& path, const std::string& trashName)>;

    TrashRemoval(const std::vector<std::shared_ptr<UninstallApp>>& apps, bool deleteNow, bool deleteWhereNoTrash);

    bool deletesNow() const { return deleteNow_; }
    const platform::TrashMover::Owner& owner() const { return owner_; }

    // Takes the item at `realPath` (canonical) with the user's rights.
    Outcome take(const std::string& realPath);
    // Moves the item through `move` (a daemon request), trying the Trash's numbered names while
    // the one asked for turns out to be taken. True when it moved.
    bool takeThroughDaemon(const std::string& realPath, const DaemonMove& move);
    // For a move that something else makes (the sandboxed path's administrator command): the first
    // free place in the owner's Trash for the item, noted in the record as planned; "" when there
    // is no Trash to name.
    std::string planTrashPlace(const std::string& path);
    // After such a move: moved when the item lies at `planned` and not at its place, else left.
    void noteMovedIfThere(const std::string& path, const std::string& planned);
    // Notes what became of an item taken by other means (deleted by the daemon, a script, ...).
    void noteDeleted(const std::string& realPath);
    void noteLeft(const std::string& realPath);

    // The administrator's right for the items outside the user's own places, asked of the daemon
    // once per run through `ask` (which may show the system's password prompt); false, noted in the
    // record, when it was not given.
    bool holdsAdministratorRight(const std::function<std::optional<bool>()>& ask);
    // Whether an item needs that right: it lies outside the user's home and temporary folders.
    bool needsAdministratorRight(const std::string& realPath) const { return liesBeyondOwnPlaces(realPath, owner_.home); }
    // The same for any caller: outside `home` and this process's temporary folders (TMPDIR and the
    // per-user cache folder beside it).
    static bool liesBeyondOwnPlaces(const std::string& realPath, const std::string& home);
    // Each ticked item that is there, once per real path (through the system's own links only),
    // in the order of the applications and their groups.
    static void forEachTicked(const std::vector<std::shared_ptr<UninstallApp>>& apps,
                              const std::function<void(const UninstallApp&, const UnFileItem&, const std::string& realPath)>& visit);

    // A copy of the record as it stands.
    RemovalRecord record() const;

private:
    std::optional<std::size_t> indexOf(const std::string& realPath) const;
    void setState(std::size_t index, RemovalRecord::State state, const std::string& trashPath = {});

    bool deleteNow_;
    bool deleteWhereNoTrash_;
    platform::TrashMover::Owner owner_;
    mutable std::mutex mutex_;
    RemovalRecord record_;
    std::map<std::string, std::size_t> byPath_;
    std::optional<bool> administratorRight_;
};
