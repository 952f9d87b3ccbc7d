#pragma once

#include <sys/types.h>

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>

// What the daemon itself moved into its clients' Trashes: per client uid, each item's original
// place, the Trash folder and name it went to, and the device and inode it had. Only what is listed
// here may the daemon put back, only to where it came from, and only while it is still that inode.
// Kept in root's own folder (<root>/private/var/db/com.halvane.ostrova, mode 0700), which no user
// can read or write: a client's own removal records are plain files of the client's and prove
// nothing. Requests run on their connections' threads: one lock serialises the ledger.
class TrashLedger {
public:
    struct Entry {
        uid_t uid = 0;
        std::string original;     // canonical, with the system's links resolved
        std::string trashFolder;  // the Trash folder the item went into
        std::string trashName;
        std::uint64_t device = 0;
        std::uint64_t inode = 0;
    };

    // The ledger of the system the daemon serves.
    static TrashLedger& shared();
    explicit TrashLedger(std::string folder);

    bool add(const Entry& entry, std::string& why);
    // The newest entry for exactly this client, place, Trash folder and name.
    std::optional<Entry> find(uid_t uid, const std::string& original, const std::string& trashFolder, const std::string& trashName);
    // Takes out that very entry (its identity included).
    void remove(const Entry& entry);

    // How many entries one client keeps; the oldest go first beyond it.
    static constexpr std::size_t kMostEntries = 20000;

private:
    // The folder opened without following links, made when missing; -1 unless it is root's alone.
    int openFolder(std::string& why) const;

    std::string folder_;
    std::mutex mutex_;
};
