#include "daemon/RemovalPolicy.h"

#include "app/locations/SearchFilePath.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "platform/SystemLinks.h"
#include "platform/SystemRoot.h"
#include "system/ProtectedPaths.h"

#include <sys/stat.h>

#include <algorithm>

namespace path = platform::path;

namespace {

// A folder of the lists as the checks see paths: with the system's links resolved.
std::string real(const std::string& folder)
{
    std::string why;
    return platform::SystemLinks::resolveFolder(path::trimTrailingSlashes(folder), why).value_or(path::trimTrailingSlashes(folder));
}

}  // namespace

RemovalPolicy::RemovalPolicy(const Client& client) : home_(client.home)
{
    // The per-user temporary places of SearchFilePath come from this process's environment; the
    // client's own (already checked) take their place.
    SearchFilePath::User user{client.home, ""};
    const auto cacheFolders = SearchFilePath::cacheFolders(&user);
    std::vector<std::string> all;
    for (const auto type : SearchFilePath::searchedCategories()) {
        for (const auto& folder : SearchFilePath::foldersForCategory(type, &user)) {
            const bool temporary = type == RkUninstallCategoryType::cache &&
                                   std::find(cacheFolders.begin() + 2, cacheFolders.end(), folder) != cacheFolders.end();
            if (!temporary)
                all.push_back(real(folder));
        }
    }
    for (const auto& folder : SearchFilePath::ownRuleRoots(&user))
        all.push_back(real(folder));
    for (const auto& folder : all) {
        protected_.push_back(folder);
        if (inHome(folder))
            ownFolders_.push_back(folder);
        if (client.systemWide || inHome(folder))
            searchedFolders_.push_back(folder);
    }
    for (const auto& folder : client.temporaryFolders) {
        protected_.push_back(folder);
        searchedFolders_.push_back(folder);
        ownFolders_.push_back(folder);
    }
    for (const auto& raw : SearchFilePath::applicationFolders(&user)) {
        const std::string folder = real(raw);
        protected_.push_back(folder);
        if (inHome(folder))
            ownFolders_.push_back(folder);
        if (client.systemWide || inHome(folder))
            applicationFolders_.push_back(folder);
    }
    for (const auto& library : {real(platform::fixedPath("/Library")), client.home + "/Library"}) {
        for (const auto& name : SearchFilePath::standardLibraryFolderNames())
            protected_.push_back(library + "/" + name);
        // Every application's per-host preferences (the searched folders below cover the others).
        protected_.push_back(library + "/Preferences/ByHost");
    }
    for (const char* fixed : {"/", "/Library", "/Volumes", "/usr", "/Users", "/Applications", "/private", "/System", "/var",
                              "/etc", "/tmp", "/private/var", "/private/tmp", "/private/etc"}) {
        protected_.push_back(real(platform::fixedPath(fixed)));
        protected_.push_back(path::trimTrailingSlashes(platform::fixedPath(fixed)));
        protected_.push_back(fixed);
    }
    protected_.push_back(client.home);
    std::sort(protected_.begin(), protected_.end());
    protected_.erase(std::unique(protected_.begin(), protected_.end()), protected_.end());
    for (const auto& folder : protected_)
        protectedLowered_.push_back(path::toLower(folder));
    std::sort(protectedLowered_.begin(), protectedLowered_.end());
}

bool RemovalPolicy::inHome(const std::string& candidate) const
{
    return !home_.empty() && (candidate == home_ || path::isInside(candidate, home_));
}

bool RemovalPolicy::inOwnPlaces(const std::string& candidate) const
{
    return insideAny(candidate, ownFolders_);
}

bool RemovalPolicy::insideAny(const std::string& candidate, const std::vector<std::string>& roots)
{
    return std::any_of(roots.begin(), roots.end(), [&](const std::string& root) { return path::isInside(candidate, root); });
}

bool RemovalPolicy::isProtected(const std::string& candidate) const
{
    // A Mac's file system ignores letter case: "/library/caches" is "/Library/Caches".
    const std::string lowered = path::toLower(candidate);
    return std::binary_search(protectedLowered_.begin(), protectedLowered_.end(), lowered);
}

bool RemovalPolicy::wellFormed(const std::string& candidate, std::string& why) const
{
    if (const auto problem = path::canonicalProblem(candidate); !problem.empty()) {
        why = problem;
        return false;
    }
    if (isProtected(candidate) || isProtectedPath(candidate)) {
        why = "a folder that holds other applications' data";
        return false;
    }
    // Every folder on the way from "/" must be a folder, not a link to one. Looked at with lstat:
    // following links here would pass a path through one.
    std::string walked;
    const auto parent = path::deletingLastComponent(candidate);
    for (const auto& part : path::components(parent)) {
        walked = walked.empty() ? part : path::appending(walked, part);
        const auto st = platform::fs::linkStatus(walked);
        if (st && S_ISLNK(st->st_mode)) {
            why = "the way to it passes the symbolic link " + walked;
            return false;
        }
    }
    return true;
}

bool RemovalPolicy::allowsRemoval(const std::string& candidate, std::string& why) const
{
    if (!wellFormed(candidate, why))
        return false;
    if (!insideAny(candidate, searchedFolders_) && !insideAny(candidate, applicationFolders_)) {
        why = "outside the client's application folders and searched folders";
        return false;
    }
    return true;
}

bool RemovalPolicy::allowsBundle(const std::string& bundlePath, std::string& why) const
{
    if (!wellFormed(bundlePath, why))
        return false;
    if (path::toLower(path::extension(bundlePath)) != "app") {
        why = "not an application bundle";
        return false;
    }
    if (!insideAny(bundlePath, applicationFolders_)) {
        why = "not in one of the client's application folders";
        return false;
    }
    return true;
}

bool RemovalPolicy::allowsExecutable(const std::string& executablePath, std::string& why) const
{
    if (!wellFormed(executablePath, why))
        return false;
    // The innermost .app folder that holds it must be an allowed bundle.
    std::string folder = path::deletingLastComponent(executablePath);
    while (folder.size() > 1 && path::toLower(path::extension(folder)) != "app")
        folder = path::deletingLastComponent(folder);
    if (folder.size() <= 1) {
        why = "not inside an application bundle";
        return false;
    }
    return allowsBundle(folder, why);
}
