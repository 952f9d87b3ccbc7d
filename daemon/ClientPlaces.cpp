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

}  // namespace

std::optional<RemovalPolicy::Client> ClientPlaces::of(const xpcsocket::Peer& peer, const AdministratorGroup& administrators)
{
    RemovalPolicy::Client client;
    client.systemWide = administrators.includes(peer.uid);
    const auto given = platform::process::environmentOf(peer, "HOME");
    const auto home = given ? realFolder(*given) : std::nullopt;
    if (home && isFolderOf(*home, peer.uid)) {
        client.home = *home;
    } else if (const auto fallback = passwordHome(peer.uid)) {
        client.home = *fallback;
    } else {
        return std::nullopt;
    }
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
