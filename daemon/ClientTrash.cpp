#include "daemon/ClientTrash.h"

#include "platform/PathUtil.h"
#include "platform/SystemRoot.h"

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

bool ClientTrash::moveIn(const std::string& path, const std::string& trashName, std::string& why) const
{
    const auto result = TrashMover::moveNamed(path, fd_, folder_, trashName);
    why = result.why;
    return result.ok;
}

bool ClientTrash::moveBack(const std::string& trashName, const std::string& path, uid_t client, std::string& why) const
{
    struct stat item {};
    if (!TrashMover::isOneName(trashName) || ::fstatat(fd_, trashName.c_str(), &item, AT_SYMLINK_NOFOLLOW) != 0) {
        why = "no longer in the Trash";
        return false;
    }
    if (client != 0 && item.st_uid == client) {
        why = "the item is the client's own";
        return false;
    }
    if (!S_ISDIR(item.st_mode) && item.st_nlink > 1) {
        why = "the item has other names";
        return false;
    }
    const auto result = TrashMover::moveBack(fd_, trashName, path);
    why = result.why;
    return result.ok;
}
