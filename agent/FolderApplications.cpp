#include "agent/FolderApplications.h"

#include "app/bundles/BundleReader.h"
#include "app/records/UninstallApp.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "platform/Workspace.h"

namespace fs = platform::fs;
namespace path = platform::path;

FolderApplications FolderApplications::list(const std::string& folder)
{
    FolderApplications found;
    const auto entries = fs::listDirectory(folder);
    if (!entries)
        return found;
    for (const auto& entry : *entries) {
        const std::string child = path::appending(folder, entry);
        if (!fs::isDirectoryNoFollow(child))
            continue;
        if (path::toLower(path::extension(entry)) != "app") {
            if (!platform::Workspace::isFilePackageAtPath(child))
                found.folders.push_back(child);
            continue;
        }
        const auto app = BundleReader::record(child);
        const std::string identifier = app->bundleIdentifier();
        if (identifier.empty()) {
            found.unreadable.push_back(child);
            continue;
        }
        const auto status = fs::linkStatus(child);
        found.applications[child] = ShelvedApplication{identifier, app->displayName(), app->icon ? app->icon->imagePath : std::string(), child,
                                                       status ? FileIdentity{status->st_dev, status->st_ino} : FileIdentity{}};
    }
    return found;
}
