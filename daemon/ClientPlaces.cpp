#include "daemon/ClientPlaces.h"

#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "platform/ProcessIdentity.h"
#include "platform/SystemLinks.h"
#include "platform/SystemRoot.h"

#include <pwd.h>
#include <sys/stat.h>

#include <vector>

namespace path = platform::path;

namespace {

// A canonical folder (not a link) that belongs to `uid`; root's are all folders.
bool isFolderOf(const std::string& folder, uid_t uid)
{
    if (!path::canonicalProblem(folder).empty())
        return false;
    const auto st = platform::fs::linkStatus(folder);
    return st && S_ISDIR(st->st_mode) && (uid == 0 || st->st_uid == uid);
}

// The folder with the system's links resolved (a TMPDIR is given through /var on a Mac).
std::optional<std::string> realFolder(const std::string& folder)
{
    std::string why;
    return platform::SystemLinks::resolveFolder(path::trimTrailingSlashes(folder), why);
}

std::optional<std::string> passwordHome(uid_t uid)
{
    passwd entry{};
    passwd* found = nullptr;
    std::vector<char> buffer(16384);
    if (::getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) != 0 || !found || !found->pw_dir)
        return std::nullopt;
    return realFolder(found->pw_dir);
}

// "/" and the system's own folders, with everything in them, are nobody's home (a service account's
// entry may name one, as the Mac's daemon account names root's /var/root).
bool isSystemFolder(const std::string& folder)
{
    if (folder == "/" || folder == realFolder(platform::fixedPath("/")).value_or(platform::fixedPath("/")))
        return true;
    for (const char* fixed : {"/System", "/Library", "/Applications", "/usr", "/bin", "/sbin", "/private", "/etc", "/var", "/tmp",
                              "/dev", "/cores", "/opt", "/Users/Shared", "/Volumes"}) {
        const std::string system = realFolder(platform::fixedPath(fixed)).value_or(platform::fixedPath(fixed));
        if (folder == system || path::isInside(folder, system) || path::isInside(system, folder))
            return true;
    }
    for (const char* over : {"/Users"})
        if (folder == realFolder(platform::fixedPath(over)).value_or(platform::fixedPath(over)))
            return true;
    return false;
}

}  // namespace

std::optional<std::string> ClientPlaces::accountHome(uid_t uid, std::string& why)
{
    const auto home = passwordHome(uid);
    if (!home) {
        why = "uid " + std::to_string(uid) + " has no home in its password entry";
        return std::nullopt;
    }
    if (!isFolderOf(*home, uid)) {
        why = "the home " + *home + " of uid " + std::to_string(uid) + " is not a folder of its own";
        return std::nullopt;
    }
    if (uid != 0 && isSystemFolder(*home)) {
        why = "the home " + *home + " of uid " + std::to_string(uid) + " is a system folder";
        return std::nullopt;
    }
    return home;
}

std::optional<RemovalPolicy::Client> ClientPlaces::of(const xpcsocket::Peer& peer, std::string& why)
{
    RemovalPolicy::Client client;
    client.systemWide = true;
    const auto account = accountHome(peer.uid, why);
    if (!account)
        return std::nullopt;
    client.home = *account;
    const auto given = platform::process::environmentOf(peer, "HOME");
    const auto narrowed = given && !given->empty() ? realFolder(*given) : std::nullopt;
    // Root may name any home: it needs nobody's leave for what lies there.
    if (narrowed && (peer.uid == 0 || path::isInside(*narrowed, *account)) && isFolderOf(*narrowed, peer.uid))
        client.home = *narrowed;
    const auto givenTemporary = platform::process::environmentOf(peer, "TMPDIR");
    const auto temporary = givenTemporary && !givenTemporary->empty() ? realFolder(*givenTemporary) : std::nullopt;
    if (temporary) {
        const std::string folder = *temporary;
        const std::string parent = path::deletingLastComponent(folder);
        const bool systemParent = parent == "/" || parent == realFolder(platform::fixedPath("/")).value_or(platform::fixedPath("/"));
        if (!systemParent && isFolderOf(folder, peer.uid) && isFolderOf(parent, peer.uid)) {
            client.temporaryFolders.push_back(folder);
            const std::string perUserCache = parent + "/C";
            if (!platform::fs::linkStatus(perUserCache) || isFolderOf(perUserCache, peer.uid))
                client.temporaryFolders.push_back(perUserCache);
        }
    }
    return client;
}
