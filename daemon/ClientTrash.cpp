#include "daemon/ClientTrash.h"

#include "platform/FileDescriptor.h"
#include "platform/PathUtil.h"
#include "platform/SafeRemover.h"
#include "platform/SystemRoot.h"

#include <atomic>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

using platform::TrashMover;

std::optional<ClientTrash> ClientTrash::open(uid_t uid, const std::string& home, const std::string& path, bool create,
                                             std::string& why)
{
    passwd entry{};
    passwd* found = nullptr;
    std::vector<char> buffer(16384);
    if (::getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) != 0 || !found) {
        why = "uid " + std::to_string(uid) + " has no password entry";
        return std::nullopt;
    }
    const TrashMover::Owner owner{uid, found->pw_gid, home};
    std::string folder = TrashMover::trashFolderFor(path, owner, why);
    if (folder.empty())
        return std::nullopt;
    // Only a Trash of the system this daemon serves (a test's own root serves a tree, never the
    // machine's homes).
    char real[PATH_MAX];
    const std::string root = ::realpath(platform::fixedPath("/").c_str(), real) ? std::string(real) : platform::fixedPath("/");
    if (root != "/" && !platform::path::startsWith(folder, root + "/")) {
        why = "the client's Trash " + folder + " lies outside the system served";
        return std::nullopt;
    }
    const int fd = TrashMover::openTrash(folder, owner, create, why);
    if (fd < 0)
        return std::nullopt;
    return ClientTrash(fd, std::move(folder));
}

ClientTrash::ClientTrash(ClientTrash&& other) noexcept : fd_(other.fd_), folder_(std::move(other.folder_))
{
    other.fd_ = -1;
}

ClientTrash::~ClientTrash()
{
    if (fd_ >= 0)
        ::close(fd_);
}

std::optional<ClientTrash::Identity> ClientTrash::identify(const std::string& path, std::string& why)
{
    platform::FileDescriptor parent(platform::SafeRemover::openFolderNoFollow(platform::path::deletingLastComponent(path)));
    struct stat item {};
    if (parent.get() < 0 || ::fstatat(parent.get(), platform::path::lastComponent(path).c_str(), &item, AT_SYMLINK_NOFOLLOW) != 0) {
        why = "it is gone or its folder is reached through a link";
        return std::nullopt;
    }
    return Identity{static_cast<std::uint64_t>(item.st_dev), static_cast<std::uint64_t>(item.st_ino)};
}

bool ClientTrash::moveIn(const std::string& path, const std::string& trashName, std::string& why) const
{
    const auto result = TrashMover::moveNamed(path, fd_, folder_, trashName);
    why = result.why;
    return result.ok;
}

bool ClientTrash::moveBack(const std::string& trashName, const std::string& path, const Identity& expected, std::string& why) const
{
    struct stat item {};
    if (!TrashMover::isOneName(trashName) || ::fstatat(fd_, trashName.c_str(), &item, AT_SYMLINK_NOFOLLOW) != 0) {
        why = "no longer in the Trash";
        return false;
    }
    if (static_cast<std::uint64_t>(item.st_dev) != expected.device || static_cast<std::uint64_t>(item.st_ino) != expected.inode) {
        why = "the item in the Trash is not the one that was moved there";
        return false;
    }
    // root's staging folder, private to this move
    static std::atomic<unsigned> made{0};
    const std::string staging = ".ostrova-put-back-" + std::to_string(::getpid()) + "-" + std::to_string(++made);
    if (::mkdirat(fd_, staging.c_str(), 0700) != 0) {
        why = "no staging folder can be made in the Trash";
        return false;
    }
    platform::FileDescriptor held(::openat(fd_, staging.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    struct stat folder {};
    if (held.get() < 0 || ::fstat(held.get(), &folder) != 0 || folder.st_uid != 0 || (folder.st_mode & 077) != 0 ||
        folder.st_dev != item.st_dev) {
        why = "the staging folder is not root's alone";
        return false;
    }
    const auto dropStaging = [&] {
        // Only while the name still holds the folder made here (a swapped one stays where it is).
        struct stat now {};
        if (::fstatat(fd_, staging.c_str(), &now, AT_SYMLINK_NOFOLLOW) == 0 && now.st_ino == folder.st_ino && now.st_dev == folder.st_dev)
            ::unlinkat(fd_, staging.c_str(), AT_REMOVEDIR);
    };
    constexpr const char* kStaged = "item";
    if (::renameat(fd_, trashName.c_str(), held.get(), kStaged) != 0) {
        why = "no longer in the Trash";
        dropStaging();
        return false;
    }
    struct stat staged {};
    const bool same = ::fstatat(held.get(), kStaged, &staged, AT_SYMLINK_NOFOLLOW) == 0 &&
                      static_cast<std::uint64_t>(staged.st_dev) == expected.device &&
                      static_cast<std::uint64_t>(staged.st_ino) == expected.inode;
    if (!same) {
        // Something was swapped in meanwhile: it goes back where it was taken from.
        TrashMover::freeName(fd_, trashName, S_ISDIR(staged.st_mode), {}, [&](const std::string& name) {
            return platform::sys::calls().renameat(held.get(), kStaged, fd_, name.c_str(), platform::sys::kRenameNoReplace) == 0;
        });
        why = "the item in the Trash was swapped while being put back";
        dropStaging();
        return false;
    }
    const auto result = TrashMover::moveBack(held.get(), kStaged, path);
    if (!result.ok)
        platform::sys::calls().renameat(held.get(), kStaged, fd_, trashName.c_str(), platform::sys::kRenameNoReplace);
    why = result.why;
    dropStaging();
    return result.ok;
}
