#pragma once

#include <map>
#include <string>
#include <vector>

namespace platform {

// Watches folders, each without its subfolders, for entries that appear, go or are renamed, and for
// the folder itself going. Nothing is read on a thread of its own: the owner waits for
// descriptor() to become readable (a socket notifier, poll) and then calls readChanges().
// A folder that cannot be watched (it does not exist, the system's watch limit is reached) is
// handed back by watch(), for the owner to look at now and then instead.
class FolderWatcher {
public:
    struct Change {
        std::string folder;
        // The folder itself went (removed, moved away or its file system unmounted); it is no longer
        // watched.
        bool folderGone = false;
    };

    FolderWatcher();
    ~FolderWatcher();
    FolderWatcher(const FolderWatcher&) = delete;
    FolderWatcher& operator=(const FolderWatcher&) = delete;

    // Readable while changes wait; -1 when the system gave no watcher at all (then every folder is
    // handed back by watch()).
    int descriptor() const { return fd_; }

    // Adds the folders not watched yet; returns those of them that could not be watched.
    std::vector<std::string> watch(const std::vector<std::string>& folders);
    bool isWatching(const std::string& folder) const;

    // The folders that changed since the last call, each once, in the order first seen; empty when
    // nothing waits. When the system lost changes for want of room, every watched folder is listed.
    std::vector<Change> readChanges();

private:
    void noteChange(std::vector<Change>& changes, const std::string& folder, bool gone) const;

    int fd_ = -1;
    std::map<int, std::string> folders_;  // by watch number
};

}  // namespace platform
