#include "platform/FolderWatcher.h"

#include "platform/SystemCalls.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

namespace platform {

FolderWatcher::FolderWatcher() : fd_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {}

FolderWatcher::~FolderWatcher()
{
    if (fd_ >= 0)
        sys::calls().close(fd_);
}

std::vector<std::string> FolderWatcher::watch(const std::vector<std::string>& folders)
{
    std::vector<std::string> unwatched;
    for (const auto& folder : folders) {
        if (isWatching(folder))
            continue;
        const int number = fd_ < 0 ? -1 : sys::calls().watchFolder(fd_, folder.c_str());
        if (number < 0) {
            unwatched.push_back(folder);
            continue;
        }
        folders_[number] = folder;
    }
    return unwatched;
}

bool FolderWatcher::isWatching(const std::string& folder) const
{
    return std::any_of(folders_.begin(), folders_.end(), [&](const auto& entry) { return entry.second == folder; });
}

void FolderWatcher::noteChange(std::vector<Change>& changes, const std::string& folder, bool gone) const
{
    const auto it = std::find_if(changes.begin(), changes.end(), [&](const Change& change) { return change.folder == folder; });
    if (it == changes.end())
        changes.push_back(Change{folder, gone});
    else
        it->folderGone = it->folderGone || gone;
}

std::vector<FolderWatcher::Change> FolderWatcher::readChanges()
{
    std::vector<Change> changes;
    if (fd_ < 0)
        return changes;
    alignas(inotify_event) char buffer[16384];
    for (;;) {
        const ssize_t filled = sys::restarting([&] { return sys::calls().read(fd_, buffer, sizeof buffer); });
        if (filled <= 0)
            break;
        for (ssize_t offset = 0; offset + static_cast<ssize_t>(sizeof(inotify_event)) <= filled;) {
            inotify_event event;
            std::memcpy(&event, buffer + offset, sizeof event);
            offset += static_cast<ssize_t>(sizeof(inotify_event) + event.len);
            if (event.mask & IN_Q_OVERFLOW) {
                for (const auto& [number, folder] : folders_)
                    noteChange(changes, folder, false);
                continue;
            }
            const auto it = folders_.find(event.wd);
            if (it == folders_.end())
                continue;
            // The folder went (a moved one would go on being watched where it went), or (IN_IGNORED
            // alone) its file system was unmounted: the path is no longer watched.
            if (event.mask & (IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED)) {
                noteChange(changes, it->second, true);
                if (!(event.mask & IN_IGNORED))
                    ::inotify_rm_watch(fd_, event.wd);
                folders_.erase(it);
                continue;
            }
            noteChange(changes, it->second, false);
        }
    }
    return changes;
}

}  // namespace platform
