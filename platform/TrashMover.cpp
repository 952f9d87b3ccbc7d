#include "platform/TrashMover.h"

#include "platform/FileDescriptor.h"
#include "platform/PathUtil.h"
#include "platform/SafeRemover.h"
#include "platform/SystemCalls.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace platform {
namespace {

using sys::calls;
using sys::restarting;

constexpr int kOpenFolder = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

TrashMover::Result failure(int error, std::string why, std::string trashPath = {})
{
    TrashMover::Result result;
    result.error = error;
    result.why = std::move(why);
    result.trashPath = std::move(trashPath);
    return result;
}

// Whether `name` in the open folder is still the item `item` was read from.
bool sameItem(int folder, const std::string& name, const struct stat& item)
{
    struct stat now {};
    return restarting([&] { return calls().fstatat(folder, name.c_str(), &now, AT_SYMLINK_NOFOLLOW); }) == 0 &&
           now.st_dev == item.st_dev && now.st_ino == item.st_ino;
}

// A rename that never replaces. kRenameNoReplace is refused (EINVAL) by file systems that do not
// know it. Looking at the new name first and renaming after could replace what appears in between,
// so there a file moves by a second name, which the kernel never gives over a taken one, and the
// old name's removal; a folder cannot have a second name and is not moved (EOPNOTSUPP).
int renameNoReplace(int fromFolder, const std::string& from, int toFolder, const std::string& to)
{
    const int result = restarting([&] { return calls().renameat(fromFolder, from.c_str(), toFolder, to.c_str(), sys::kRenameNoReplace); });
    if (result == 0 || errno != EINVAL)
        return result;
    struct stat item {};
    if (restarting([&] { return calls().fstatat(fromFolder, from.c_str(), &item, AT_SYMLINK_NOFOLLOW); }) != 0)
        return -1;
    if (S_ISDIR(item.st_mode)) {
        errno = EOPNOTSUPP;
        return -1;
    }
    if (restarting([&] { return calls().linkat(fromFolder, from.c_str(), toFolder, to.c_str()); }) != 0)
        return -1;
    struct stat linked {};
    if (restarting([&] { return calls().fstatat(toFolder, to.c_str(), &linked, AT_SYMLINK_NOFOLLOW); }) != 0)
        return -1;
    // Only the item linked loses its old name: what was put in its place meanwhile stays (the item
    // has left that name then, and keeps its new one).
    if (!sameItem(fromFolder, from, linked))
        return 0;
    if (restarting([&] { return calls().unlinkat(fromFolder, from.c_str(), 0); }) != 0) {
        const int error = errno;
        if (sameItem(toFolder, to, linked))
            (void)calls().unlinkat(toFolder, to.c_str(), 0);
        errno = error;
        return -1;
    }
    return 0;
}

// Whether the open folder holds nothing but "." and ".." (read through to its end).
bool isEmptyFolder(int folder)
{
    alignas(8) char buffer[4096];
    for (;;) {
        const long filled = restarting([&] { return calls().readFolder(folder, buffer, sizeof buffer); });
        if (filled < 0)
            return false;
        if (filled == 0)
            return true;
        sys::FolderRecords records(buffer, filled);
        sys::FolderEntry entry;
        while (records.next(entry)) {
            if (std::strcmp(entry.name, ".") != 0 && std::strcmp(entry.name, "..") != 0)
                return false;
        }
    }
}

// Opens the folder `name` of `parent`, made with `mode` (owned by `owner` when this process may
// give it away) when missing and allowed; it must be a real folder whose owner passes `ownerOk`.
int openOwnedFolder(int parent, const std::string& name, mode_t mode, bool create, const TrashMover::Owner& owner,
                    bool (*ownerOk)(const struct stat&, uid_t), std::string& why)
{
    struct stat st {};
    if (restarting([&] { return calls().fstatat(parent, name.c_str(), &st, AT_SYMLINK_NOFOLLOW); }) != 0) {
        if (errno != ENOENT || !create) {
            const int error = errno;
            why = name + ": " + std::strerror(error);
            errno = error;
            return -1;
        }
        const bool madeHere = restarting([&] { return calls().mkdirat(parent, name.c_str(), mode); }) == 0;
        if (!madeHere && errno != EEXIST) {
            const int error = errno;
            why = "cannot make " + name + ": " + std::strerror(error);
            errno = error;
            return -1;
        }
        // Only a folder this call made is changed: one that someone else put there meanwhile (or
        // renamed into its place since, which can only be a folder with something in it or one
        // not this process's) is judged below like any other, and never given away.
        if (madeHere) {
            FileDescriptor made(restarting([&] { return calls().openat(parent, name.c_str(), kOpenFolder, 0); }));
            struct stat madeStatus {};
            if (made.get() >= 0 && calls().fstat(made.get(), &madeStatus) == 0 && madeStatus.st_uid == ::geteuid() &&
                isEmptyFolder(made.get())) {
                if (::geteuid() == 0 && owner.uid != 0)
                    (void)::fchown(made.get(), owner.uid, owner.gid);
                (void)::fchmod(made.get(), mode);
            }
        }
    }
    FileDescriptor folder(restarting([&] { return calls().openat(parent, name.c_str(), kOpenFolder, 0); }));
    if (folder.get() < 0) {
        const int error = errno;
        why = error == ELOOP || error == ENOTDIR ? name + " is a link or not a folder" : name + ": " + std::strerror(error);
        // A link or a file where the Trash should be: no Trash here, whoever asks.
        errno = error == ELOOP ? ENOTDIR : error;
        return -1;
    }
    if (calls().fstat(folder.get(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        why = name + " is not a folder";
        errno = ENOTDIR;
        return -1;
    }
    if (!ownerOk(st, owner.uid)) {
        why = name + " is not the user's (owner " + std::to_string(st.st_uid) + ")";
        errno = ENOTDIR;
        return -1;
    }
    return folder.release();
}

bool ownedByUser(const struct stat& st, uid_t uid)
{
    return st.st_uid == uid;
}

// A volume's .Trashes is the system's (root's) or the user's own: another user's, sticky or not,
// could rename the user's Trash folder away and put one of its own in its place.
bool sharedTrashes(const struct stat& st, uid_t uid)
{
    return st.st_uid == uid || st.st_uid == 0;
}

}  // namespace

bool TrashMover::isOneName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos && name.find('\0') == std::string::npos;
}

std::string TrashMover::numberedName(const std::string& name, int number, bool isFolder)
{
    if (number <= 1)
        return name;
    const std::size_t dot = name.rfind('.');
    bool hasExtension = dot != std::string::npos && dot > 0 && dot + 1 < name.size();
    // A folder's dots are part of its name ("com.vendor.app"), unless it is a package.
    if (hasExtension && isFolder) {
        static const char* const kPackages[] = {"app", "bundle", "plugin", "framework", "kext", "savedstate", "prefpane",
                                                "appex", "xpc", "component", "mdimporter", "qlgenerator", "saver"};
        const std::string extension = path::toLower(name.substr(dot + 1));
        hasExtension = std::any_of(std::begin(kPackages), std::end(kPackages), [&](const char* known) { return extension == known; });
    }
    // Appended piece by piece: gcc 12 at -O3 takes `" " + std::to_string(number)` for an overlapping copy.
    std::string numbered = hasExtension ? name.substr(0, dot) : name;
    numbered += ' ';
    numbered += std::to_string(number);
    if (hasExtension)
        numbered += name.substr(dot);
    return numbered;
}

std::string TrashMover::freeName(int folder, const std::string& name, bool isFolder, const std::set<std::string>& planned,
                                 const std::function<bool(const std::string&)>& take)
{
    for (int number = 1; number <= kMaxNumberedNames; ++number) {
        const std::string numbered = numberedName(name, number, isFolder);
        struct stat held {};
        if (planned.count(numbered) != 0 ||
            (folder >= 0 && restarting([&] { return calls().fstatat(folder, numbered.c_str(), &held, AT_SYMLINK_NOFOLLOW); }) == 0))
            continue;
        if (!take || take(numbered))
            return numbered;
    }
    return "";
}

std::string TrashMover::trashFolderFor(const std::string& path, const Owner& owner, std::string& why)
{
    const std::string folder = path::deletingLastComponent(path);
    struct stat here {}, home {};
    if (restarting([&] { return calls().lstat(folder.c_str(), &here); }) != 0) {
        why = folder + ": " + std::strerror(errno);
        return "";
    }
    if (!owner.home.empty() && restarting([&] { return calls().lstat(owner.home.c_str(), &home); }) == 0 && home.st_dev == here.st_dev)
        return path::appending(owner.home, ".Trash");
    // The volume's root: the highest folder above the item still on its device.
    std::string root = folder;
    while (root != "/") {
        const std::string up = path::deletingLastComponent(root);
        struct stat above {};
        if (restarting([&] { return calls().lstat(up.c_str(), &above); }) != 0 || above.st_dev != here.st_dev)
            break;
        root = up;
    }
    return path::appending(path::appending(root, ".Trashes"), std::to_string(owner.uid));
}

int TrashMover::openTrash(const std::string& trashFolder, const Owner& owner, bool create, std::string& why, int* error)
{
    // errno as the failing step left it, before any descriptor is closed.
    auto failed = [&](int code) {
        if (error)
            *error = code;
        return -1;
    };
    const std::string name = path::lastComponent(trashFolder);
    const std::string parentPath = path::deletingLastComponent(trashFolder);
    if (name == ".Trash") {
        FileDescriptor home(SafeRemover::openFolderNoFollow(parentPath));
        if (home.get() < 0) {
            why = "the home " + parentPath + " cannot be opened without a link";
            return failed(ENOTDIR);
        }
        const int fd = openOwnedFolder(home.get(), name, 0700, create, owner, ownedByUser, why);
        return fd >= 0 ? fd : failed(errno);
    }
    if (path::lastComponent(parentPath) != ".Trashes" || name != std::to_string(owner.uid)) {
        why = trashFolder + " is no Trash of uid " + std::to_string(owner.uid);
        return failed(ENOTDIR);
    }
    FileDescriptor volume(SafeRemover::openFolderNoFollow(path::deletingLastComponent(parentPath)));
    if (volume.get() < 0) {
        why = "the volume's root cannot be opened without a link";
        return failed(ENOTDIR);
    }
    FileDescriptor trashes(openOwnedFolder(volume.get(), ".Trashes", 01333, create, Owner{0, 0, {}}, sharedTrashes, why));
    if (trashes.get() < 0)
        return failed(errno);
    const int fd = openOwnedFolder(trashes.get(), name, 0700, create, owner, ownedByUser, why);
    return fd >= 0 ? fd : failed(errno);
}

TrashMover::Result TrashMover::moveNamed(const std::string& path, int trash, const std::string& trashFolder,
                                         const std::string& trashName)
{
    const std::string trashPath = path::appending(trashFolder, trashName);
    if (!SafeRemover::isRemovablePath(path) || !isOneName(trashName))
        return failure(EINVAL, "not a path or a name to move", trashPath);
    FileDescriptor parent(SafeRemover::openFolderNoFollow(path::deletingLastComponent(path)));
    if (parent.get() < 0)
        return failure(errno == ENOENT ? ENOENT : ELOOP, "its folder cannot be opened without a link", trashPath);
    const std::string name = path::lastComponent(path);
    struct stat item {}, into {};
    if (restarting([&] { return calls().fstatat(parent.get(), name.c_str(), &item, AT_SYMLINK_NOFOLLOW); }) != 0)
        return failure(errno, std::strerror(errno), trashPath);
    if (calls().fstat(trash, &into) != 0)
        return failure(errno, std::strerror(errno), trashPath);
    if (item.st_dev == into.st_dev && item.st_ino == into.st_ino)
        return failure(EINVAL, "it is the Trash itself", trashPath);
    if (renameNoReplace(parent.get(), name, trash, trashName) != 0) {
        const int error = errno;
        return failure(error, error == EXDEV ? "the Trash is on another volume" : std::strerror(error), trashPath);
    }
    Result moved;
    moved.ok = true;
    moved.trashPath = trashPath;
    return moved;
}

TrashMover::Result TrashMover::moveToTrash(const std::string& path, const Owner& owner,
                                           const std::function<void(const std::string&)>& beforeMove)
{
    if (!SafeRemover::isRemovablePath(path))
        return failure(EINVAL, "not a path to move");
    std::string why;
    const std::string trashFolder = trashFolderFor(path, owner, why);
    if (trashFolder.empty())
        return failure(ENOENT, why);
    int opening = 0;
    FileDescriptor trash(openTrash(trashFolder, owner, true, why, &opening));
    if (trash.get() < 0) {
        // EACCES or EPERM: the user may not make or open it (someone with more rights may);
        // anything else: no Trash can be had there.
        const int error = opening == EACCES || opening == EPERM ? opening : ENOTDIR;
        return failure(error, "no Trash: " + why, trashFolder);
    }
    const std::string name = path::lastComponent(path);
    struct stat item {};
    const bool isFolder = restarting([&] { return calls().lstat(path.c_str(), &item); }) == 0 && S_ISDIR(item.st_mode);
    Result result;
    const std::string taken = freeName(trash.get(), name, isFolder, {}, [&](const std::string& trashName) {
        if (beforeMove)
            beforeMove(path::appending(trashFolder, trashName));
        result = moveNamed(path, trash.get(), trashFolder, trashName);
        return result.ok || result.error != EEXIST;
    });
    return taken.empty() ? failure(EEXIST, "the Trash holds too many items of that name", trashFolder) : result;
}

TrashMover::Result TrashMover::moveBack(int trash, const std::string& name, const std::string& path)
{
    if (!SafeRemover::isRemovablePath(path) || !isOneName(name))
        return failure(EINVAL, "not a path or a name to move", path);
    struct stat item {};
    if (restarting([&] { return calls().fstatat(trash, name.c_str(), &item, AT_SYMLINK_NOFOLLOW); }) != 0)
        return failure(ENOENT, "no longer in the Trash", path);
    FileDescriptor parent(SafeRemover::openFolderNoFollow(path::deletingLastComponent(path)));
    if (parent.get() < 0)
        return failure(errno == ENOENT ? ENOENT : ELOOP, "its folder is gone or is reached through a link", path);
    if (renameNoReplace(trash, name, parent.get(), path::lastComponent(path)) != 0) {
        const int error = errno;
        return failure(error, error == EEXIST ? "its place is taken" : std::strerror(error), path);
    }
    Result result;
    result.ok = true;
    result.trashPath = path;
    return result;
}

TrashMover::Result TrashMover::putBack(const std::string& trashPath, const std::string& path)
{
    FileDescriptor trash(SafeRemover::openFolderNoFollow(path::deletingLastComponent(trashPath)));
    if (trash.get() < 0)
        return failure(ENOENT, "no longer in the Trash", path);
    return moveBack(trash.get(), path::lastComponent(trashPath), path);
}

TrashMover::Owner TrashMover::currentUser(const std::string& home)
{
    Owner owner;
    owner.uid = ::geteuid();
    owner.gid = ::getegid();
    char real[PATH_MAX];
    owner.home = ::realpath(home.c_str(), real) ? std::string(real) : home;
    return owner;
}

}  // namespace platform
