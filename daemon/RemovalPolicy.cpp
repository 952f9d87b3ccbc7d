#include "daemon/RemovalPolicy.h"

#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "system/ProtectedPaths.h"

#include <sys/stat.h>

namespace path = platform::path;

RemovalPolicy::RemovalPolicy(const SearchFilePath::User& client)
{
    applicationFolders_ = SearchFilePath::applicationFolders(&client);
    for (const auto type : SearchFilePath::searchedCategories()) {
        const auto folders = SearchFilePath::foldersForCategory(type, &client);
        for (std::size_t i = 0; i < folders.size(); ++i) {
            // Without a temporary folder of the client's own, its two cache places are left out.
            if (type == RkUninstallCategoryType::cache && i >= 2 && client.temporaryDirectory.empty())
                continue;
            searchedFolders_.push_back(path::trimTrailingSlashes(folders[i]));
        }
    }
    libraries_ = {SearchFilePath::resolveHomePath("/Library"), client.home + "/Library"};
}

bool RemovalPolicy::insideAny(const std::string& candidate, const std::vector<std::string>& roots)
{
    for (const auto& root : roots) {
        if (path::isInside(candidate, root))
            return true;
    }
    return false;
}

bool RemovalPolicy::isShared(const std::string& candidate) const
{
    const std::string trimmed = path::trimTrailingSlashes(candidate);
    for (const auto& folder : searchedFolders_)
        if (trimmed == folder)
            return true;
    for (const auto& folder : applicationFolders_)
        if (trimmed == path::trimTrailingSlashes(folder))
            return true;
    for (const auto& library : libraries_)
        for (const auto& name : SearchFilePath::standardLibraryFolderNames())
            if (path::toLower(trimmed) == path::toLower(library + "/" + name))
                return true;
    return false;
}

bool RemovalPolicy::wellFormed(const std::string& candidate, std::string& why) const
{
    if (candidate.empty() || candidate.front() != '/') {
        why = "not an absolute path";
        return false;
    }
    for (const auto& part : path::components(candidate)) {
        if (part == "." || part == "..") {
            why = "the path holds \".\" or \"..\"";
            return false;
        }
    }
    if (isProtectedPath(candidate)) {
        why = "a protected path";
        return false;
    }
    // Every folder on the way from "/" must be a folder, not a link to one.
    const auto parts = path::components(path::deletingLastComponent(path::trimTrailingSlashes(candidate)));
    std::string walked;
    for (const auto& part : parts) {
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
    if (isShared(candidate)) {
        why = "a folder that holds other applications' data";
        return false;
    }
    if (!insideAny(candidate, searchedFolders_) && !insideAny(candidate, applicationFolders_)) {
        why = "outside the application folders and the searched folders";
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
        why = "not in an application folder";
        return false;
    }
    return true;
}

bool RemovalPolicy::allowsExecutable(const std::string& executablePath, std::string& why) const
{
    // The innermost .app folder that holds it must be an allowed bundle.
    std::string folder = path::deletingLastComponent(executablePath);
    while (folder.size() > 1 && path::toLower(path::extension(folder)) != "app")
        folder = path::deletingLastComponent(folder);
    if (folder.size() <= 1) {
        why = "not inside an application bundle";
        return false;
    }
    return allowsBundle(folder, why) && wellFormed(executablePath, why);
}
