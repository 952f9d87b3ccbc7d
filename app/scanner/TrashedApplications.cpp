#include "app/scanner/TrashedApplications.h"

#include "app/locations/SearchFilePath.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"

#include <unistd.h>

#include <algorithm>

std::vector<std::string> TrashedApplications::trashFolders()
{
    std::vector<std::string> folders;
    const std::string home = SearchFilePath::realHomeDirectory();
    if (!home.empty())
        folders.push_back(home + "/.Trash");
    const std::string volumes = SearchFilePath::resolveHomePath("/Volumes");
    auto names = platform::fs::listDirectory(volumes).value_or(std::vector<std::string>{});
    std::sort(names.begin(), names.end());
    for (const auto& name : names)
        if (!name.empty() && name.front() != '.' && platform::fs::isDirectoryNoFollow(volumes + "/" + name))
            folders.push_back(volumes + "/" + name + "/.Trashes/" + std::to_string(::getuid()));
    return folders;
}

std::vector<std::string> TrashedApplications::bundles()
{
    std::vector<std::string> found;
    for (const auto& trash : trashFolders())
        if (platform::fs::isDirectoryNoFollow(trash))
            collect(trash, 0, found);
    return found;
}

void TrashedApplications::collect(const std::string& folder, int level, std::vector<std::string>& found)
{
    auto entries = platform::fs::listDirectory(folder).value_or(std::vector<std::string>{});
    std::sort(entries.begin(), entries.end());
    for (const auto& entry : entries) {
        const std::string path = folder + "/" + entry;
        if (!platform::fs::isDirectoryNoFollow(path))
            continue;
        if (platform::path::toLower(platform::path::extension(entry)) == "app")
            found.push_back(path);
        else if (level + 1 < kDepth)
            collect(path, level + 1, found);
    }
}
