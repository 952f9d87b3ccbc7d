#include "agent/FolderApplications.h"

#include "app/records/UninstallApp.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"

namespace fs = platform::fs;
namespace path = platform::path;

std::map<std::string, ShelvedApplication> FolderApplications::list(const std::string& folder)
{
    std::map<std::string, ShelvedApplication> found;
    const auto entries = fs::listDirectory(folder);
    if (!entries)
        return found;
    for (const auto& entry : *entries) {
        if (path::toLower(path::extension(entry)) != "app")
            continue;
        const std::string bundle = path::appending(folder, entry);
        if (!fs::isDirectoryNoFollow(bundle))
            continue;
        const auto app = UninstallApp::create(bundle);
        const std::string identifier = app->bundleIdentifier();
        if (identifier.empty())
            continue;
        found[bundle] = ShelvedApplication{identifier, app->displayName(), app->icon ? app->icon->imagePath : std::string(), bundle};
    }
    return found;
}
