#pragma once

#include "platform/BundleIdentifier.h"

#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The record of one removal run, kept so that the run can be undone: for every item its original
// place, where it went in the Trash, its owner, group, mode and size, and what became of it. It is
// written before the first item moves and again after each, replacing the file atomically, so a
// run ended half way leaves a record that says where everything went.
//
// Records live in ~/Library/Application Support/Ostrova/Removals/<identifier>.plist (XML).
class RemovalRecord {
public:
    enum class State {
        planned,   // about to move to trashPath (it may have, if the run ended there)
        moved,     // in the Trash at trashPath
        deleted,   // deleted at once (by choice, or with the user's consent where no Trash could take it)
        left,      // still at its place
        restored,  // put back
    };
    struct Item {
        std::string originalPath;
        std::string trashPath;
        uid_t owner = 0;
        gid_t group = 0;
        mode_t mode = 0;
        std::int64_t size = 0;
        State state = State::planned;
        std::string application;  // the display name of the application it belonged to
        // That application's bundle identifier; stored as "BundleIdentifier" when known (older
        // records and items of no application have none).
        BundleIdentifier bundleIdentifier;
        // A launch job file that a job was loaded from when the run began (its removal unloads it):
        // putting it back loads it again. Stored as "LoadedJob" only when true; older records have
        // no such key and load nothing.
        bool loadedJob = false;
    };

    std::string identifier;  // "yyyyMMdd-HHmmss-<n>", sortable by time
    std::string date;        // ISO 8601, UTC
    std::vector<std::string> applications;
    std::vector<Item> items;
    // Whether every save of the run succeeded (not stored in the file).
    bool saved = true;
    // Whether the daemon was refused the administrator's right for items outside the user's home
    // during the run (in memory only): those items were left.
    bool administratorRightRefused = false;
    // Remains left because they were no longer what was judged when the run came to them (in
    // memory only): an installed application has their application's identifier again, or
    // another file lies at their place.
    std::vector<std::string> leftAsInstalled;
    std::vector<std::string> leftAsReplaced;

    // A new record with a fresh identifier, its name taken in the records folder (an empty file
    // until the first save).
    static RemovalRecord begin(std::vector<std::string> applications);
    static std::string folder();
    std::string path() const;
    // Whether the records folder is this user's own: the home (the system's links above it resolved)
    // and every folder down to the records folder real folders of this process's user, the missing
    // ones made when `make` says so. Another user's folders (a HOME of theirs, as `sudo -E` passes it
    // to root) hold records anyone of them could have forged, and a link there would take root's
    // record elsewhere: neither is read or written.
    static bool ownFolder(bool make);

    // Writes the record; false when it could not be written.
    bool save() const;
    static std::optional<RemovalRecord> load(const std::string& identifier);
    // Every readable record, newest first.
    static std::vector<RemovalRecord> all();

    // Adds an item as it is now on disk (owner, group and mode read without following a link, and
    // whether a launch job is loaded from it); returns its index.
    std::size_t add(const std::string& originalPath, std::int64_t size, const std::string& application,
                    const BundleIdentifier& bundleIdentifier = BundleIdentifier());

    // Whether the item's move into the Trash happened: moved, or planned and found there while its
    // original place is empty (a run that ended between the move and the next save).
    bool isInTrash(const Item& item) const;
    // Whether the item went to the Trash and its copy there is still there (not emptied since; the
    // Trash entry itself is looked at, no link followed).
    bool isStillInTrash(const Item& item) const;
    // The items still in the Trash, and their bytes.
    std::size_t countInTrash() const;
    std::int64_t bytesInTrash() const;

    static const char* stateName(State state);
};
