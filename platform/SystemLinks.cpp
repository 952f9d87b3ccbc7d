#include "platform/SystemLinks.h"

#include "platform/FileSystem.h"
#include "platform/PathUtil.h"

#include <sys/stat.h>

#include <vector>

namespace platform {
namespace {

// As many links as the kernel follows in one lookup.
constexpr int kMaxLinks = 40;

bool ownedByRootAndSafe(const struct stat& folder, const struct stat& below)
{
    if (folder.st_uid != 0)
        return false;
    if ((folder.st_mode & (S_IWGRP | S_IWOTH)) == 0)
        return true;
    return (folder.st_mode & S_ISVTX) != 0 && below.st_uid == 0;
}

// Whether the link at `link` (inside the real folder `parent`) is a system link.
bool isSystemLink(const std::string& parent, const struct stat& linkStatus, std::string& why)
{
    if (linkStatus.st_uid != 0) {
        why = "a link that is not root's";
        return false;
    }
    // From the link's folder up to "/", each folder with the entry below it on the way.
    struct stat below = linkStatus;
    for (std::string folder = parent;; folder = path::deletingLastComponent(folder)) {
        const auto st = fs::linkStatus(folder);
        if (!st || !S_ISDIR(st->st_mode) || !ownedByRootAndSafe(*st, below)) {
            why = "a link in a folder others may change (" + folder + ")";
            return false;
        }
        if (folder == "/")
            return true;
        below = *st;
    }
}

std::optional<std::string> resolve(const std::string& path, bool last, int& links, std::string& why)
{
    const auto parts = path::components(path);
    std::string resolved = "/";
    for (std::size_t i = 1; i < parts.size(); ++i) {
        const std::string next = path::appending(resolved, parts[i]);
        const bool isLast = i + 1 == parts.size();
        const auto st = isLast && !last ? std::nullopt : fs::linkStatus(next);
        if (!st || !S_ISLNK(st->st_mode)) {
            resolved = next;
            continue;
        }
        if (++links > kMaxLinks) {
            why = "too many links";
            return std::nullopt;
        }
        if (!isSystemLink(resolved, *st, why)) {
            why = "the way passes " + next + ", " + why;
            return std::nullopt;
        }
        const auto target = fs::readLink(next);
        if (!target || target->empty()) {
            why = "the link " + next + " cannot be read";
            return std::nullopt;
        }
        const std::string joined = path::standardize(target->front() == '/' ? *target : path::appending(resolved, *target));
        const auto real = resolve(joined, true, links, why);
        if (!real)
            return std::nullopt;
        resolved = *real;
    }
    return resolved;
}

std::optional<std::string> resolveCanonical(const std::string& path, bool last, std::string& why)
{
    if (const auto problem = path::canonicalProblem(path); !problem.empty()) {
        why = problem;
        return std::nullopt;
    }
    int links = 0;
    return resolve(path, last, links, why);
}

}  // namespace

std::optional<std::string> SystemLinks::resolveParents(const std::string& path, std::string& why)
{
    return resolveCanonical(path, false, why);
}

std::optional<std::string> SystemLinks::resolveFolder(const std::string& path, std::string& why)
{
    return resolveCanonical(path, true, why);
}

}  // namespace platform
