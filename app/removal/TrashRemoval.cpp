#include "app/removal/TrashRemoval.h"

#include "app/locations/SearchFilePath.h"
#include "app/records/UninstallApp.h"
#include "platform/FileDescriptor.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "platform/SafeRemover.h"
#include "platform/SystemLinks.h"

#include <fcntl.h>

#include <cerrno>
#include <set>
#include <cstdlib>

namespace {

// Errors that say the user's rights do not reach the item or its folder.
bool isRightsError(int error)
{
    return error == EACCES || error == EPERM;
}

// The Trash folder, open to look for free names in: -1 while it is not made (the daemon makes it),
// where every name is free.
platform::FileDescriptor openToLookIn(const std::string& trashFolder)
{
    return platform::FileDescriptor(::open(trashFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
}

}  // namespace

TrashRemoval::TrashRemoval(const std::vector<std::shared_ptr<UninstallApp>>& apps, bool deleteNow, bool deleteWhereNoTrash)
    : deleteNow_(deleteNow),
      deleteWhereNoTrash_(deleteWhereNoTrash),
      owner_(platform::TrashMover::currentUser(SearchFilePath::realHomeDirectory()))
{
    std::vector<std::string> names;
    for (const auto& app : apps)
        names.push_back(app->displayName());
    record_ = RemovalRecord::begin(names);
    // Everything the run is to take, before anything moves.
    forEachTicked(apps, [&](const UninstallApp& app, const UnFileItem& item, const std::string& real) {
        byPath_[real] = record_.add(real, item.size, app.displayName(), BundleIdentifier(app.bundleIdentifier()));
    });
    record_.saved = record_.save();
}

std::optional<std::size_t> TrashRemoval::indexOf(const std::string& realPath) const
{
    const auto it = byPath_.find(realPath);
    return it == byPath_.end() ? std::nullopt : std::optional(it->second);
}

void TrashRemoval::setState(std::size_t index, RemovalRecord::State state, const std::string& trashPath)
{
    auto& item = record_.items[index];
    item.state = state;
    if (!trashPath.empty())
        item.trashPath = trashPath;
    const bool saved = record_.save();
    record_.saved = record_.saved && saved;
}

TrashRemoval::Outcome TrashRemoval::take(const std::string& realPath)
{
    std::lock_guard lock(mutex_);
    auto index = indexOf(realPath);
    if (!index) {
        // Not planned at the start (it appeared since): added now, so nothing moves unrecorded.
        if (!platform::fs::linkStatus(realPath))
            return Outcome::done;
        byPath_[realPath] = record_.add(realPath, 0, "");
        index = indexOf(realPath);
    }
    if (deleteNow_) {
        if (platform::SafeRemover::remove(realPath)) {
            setState(*index, RemovalRecord::State::deleted);
            return Outcome::done;
        }
        return Outcome::needsRights;
    }
    const auto moved = platform::TrashMover::moveToTrash(realPath, owner_, [&](const std::string& planned) {
        setState(*index, RemovalRecord::State::planned, planned);
    });
    if (moved.ok) {
        setState(*index, RemovalRecord::State::moved, moved.trashPath);
        return Outcome::done;
    }
    if (moved.error == ENOENT && !platform::fs::linkStatus(realPath)) {
        setState(*index, RemovalRecord::State::deleted);
        return Outcome::done;
    }
    if (isRightsError(moved.error))
        return Outcome::needsRights;
    // No Trash takes it here (read-only, another device, no Trash to be made).
    if (deleteWhereNoTrash_ && platform::SafeRemover::remove(realPath)) {
        setState(*index, RemovalRecord::State::deleted);
        return Outcome::done;
    }
    setState(*index, RemovalRecord::State::left);
    return Outcome::left;
}

bool TrashRemoval::takeThroughDaemon(const std::string& realPath, const DaemonMove& move)
{
    std::unique_lock lock(mutex_);
    auto index = indexOf(realPath);
    if (!index) {
        byPath_[realPath] = record_.add(realPath, 0, "");
        index = indexOf(realPath);
    }
    std::string why;
    const std::string trashFolder = platform::TrashMover::trashFolderFor(realPath, owner_, why);
    if (trashFolder.empty())
        return false;
    const auto trash = openToLookIn(trashFolder);
    bool moved = false;
    platform::TrashMover::freeName(trash.get(), platform::path::lastComponent(realPath), platform::fs::isDirectoryNoFollow(realPath), {},
                                   [&](const std::string& trashName) {
        const std::string planned = platform::path::appending(trashFolder, trashName);
        setState(*index, RemovalRecord::State::planned, planned);
        lock.unlock();
        const auto answer = move(realPath, trashName);
        lock.lock();
        moved = answer == true;
        if (moved)
            setState(*index, RemovalRecord::State::moved, planned);
        // Taken meanwhile: the next number. Anything else is a refusal or a failure.
        return moved || !platform::fs::linkStatus(planned) || !platform::fs::linkStatus(realPath);
    });
    if (moved)
        return true;
    if (platform::fs::linkStatus(realPath))
        setState(*index, RemovalRecord::State::left);
    return false;
}

std::string TrashRemoval::planTrashPlace(const std::string& path)
{
    std::lock_guard lock(mutex_);
    auto index = indexOf(path);
    if (!index) {
        byPath_[path] = record_.add(path, 0, "");
        index = indexOf(path);
    }
    std::string why;
    const std::string trashFolder = platform::TrashMover::trashFolderFor(path, owner_, why);
    if (trashFolder.empty())
        return "";
    // Places planned for other items of the run that have not moved yet are taken too.
    std::set<std::string> plannedHere;
    for (std::size_t other = 0; other < record_.items.size(); ++other) {
        const auto& item = record_.items[other];
        if (other != *index && item.state == RemovalRecord::State::planned && !item.trashPath.empty() &&
            platform::path::deletingLastComponent(item.trashPath) == trashFolder)
            plannedHere.insert(platform::path::lastComponent(item.trashPath));
    }
    const std::string name = platform::TrashMover::freeName(openToLookIn(trashFolder).get(), platform::path::lastComponent(path),
                                                            platform::fs::isDirectoryNoFollow(path), plannedHere);
    if (name.empty())
        return "";
    const std::string planned = platform::path::appending(trashFolder, name);
    setState(*index, RemovalRecord::State::planned, planned);
    return planned;
}

void TrashRemoval::noteMovedIfThere(const std::string& path, const std::string& planned)
{
    std::lock_guard lock(mutex_);
    if (const auto index = indexOf(path)) {
        const bool moved = platform::fs::linkStatus(planned) && !platform::fs::linkStatus(path);
        setState(*index, moved ? RemovalRecord::State::moved : RemovalRecord::State::left, planned);
    }
}

void TrashRemoval::noteDeleted(const std::string& realPath)
{
    std::lock_guard lock(mutex_);
    if (const auto index = indexOf(realPath))
        setState(*index, RemovalRecord::State::deleted);
}

void TrashRemoval::noteLeft(const std::string& realPath)
{
    std::lock_guard lock(mutex_);
    if (const auto index = indexOf(realPath))
        setState(*index, RemovalRecord::State::left);
}

RemovalRecord TrashRemoval::record() const
{
    std::lock_guard lock(mutex_);
    return record_;
}

bool TrashRemoval::liesBeyondOwnPlaces(const std::string& realPath, const std::string& home)
{
    namespace path = platform::path;
    if (path::isInside(realPath, home))
        return false;
    const char* temporary = std::getenv("TMPDIR");
    std::string why;
    const auto folder = temporary && *temporary ? platform::SystemLinks::resolveFolder(path::trimTrailingSlashes(temporary), why) : std::nullopt;
    // The per-user cache folder ("C") sits beside the temporary one ("T").
    return !(folder && (path::isInside(realPath, *folder) || path::isInside(realPath, path::deletingLastComponent(*folder))));
}

bool TrashRemoval::holdsAdministratorRight(const std::function<std::optional<bool>()>& ask)
{
    std::lock_guard lock(mutex_);
    if (!administratorRight_) {
        administratorRight_ = ask().value_or(false);
        record_.administratorRightRefused = !*administratorRight_;
    }
    return *administratorRight_;
}

void TrashRemoval::forEachTicked(const std::vector<std::shared_ptr<UninstallApp>>& apps,
                                 const std::function<void(const UninstallApp&, const UnFileItem&, const std::string&)>& visit)
{
    std::set<std::string> seen;
    for (const auto& app : apps) {
        for (const auto& group : app->fileGroups) {
            for (const auto& item : group->fileItem) {
                if (!item->isSelected || !platform::fs::linkStatus(item->filePath))
                    continue;
                std::string why;
                const auto real = platform::SystemLinks::resolveParents(item->filePath, why);
                if (real && seen.insert(*real).second)
                    visit(*app, *item, *real);
            }
        }
    }
}
