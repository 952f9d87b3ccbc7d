#include "app/removal/RemovalRights.h"

#include "app/locations/SearchFilePath.h"
#include "app/records/UninstallApp.h"
#include "app/removal/OwnLaunchService.h"
#include "app/removal/TrashRemoval.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "platform/SystemLinks.h"

#include <sys/stat.h>
#include <unistd.h>

bool RemovalRights::mayMoveItself(const std::string& path)
{
    const std::string folder = platform::path::deletingLastComponent(path);
    if (::access(folder.c_str(), W_OK | X_OK) != 0)
        return false;
    struct stat folderStatus {};
    struct stat itemStatus {};
    if (::stat(folder.c_str(), &folderStatus) != 0 || ::lstat(path.c_str(), &itemStatus) != 0)
        return true;  // gone: nothing to ask anyone for
    if (S_ISDIR(itemStatus.st_mode) && ::access(path.c_str(), W_OK) != 0)
        return false;
    const uid_t self = ::geteuid();
    return self == 0 || !(folderStatus.st_mode & S_ISVTX) || itemStatus.st_uid == self || folderStatus.st_uid == self;
}

RemovalRights::Need RemovalRights::of(const std::string& path, bool launchJob, const std::string& home)
{
    if ((!launchJob || OwnLaunchService::serves(path)) && mayMoveItself(path))
        return Need::none;
    return TrashRemoval::liesBeyondOwnPlaces(path, home) ? Need::administrator : Need::daemon;
}

RemovalRights::Summary RemovalRights::ofTicked(const std::vector<std::shared_ptr<UninstallApp>>& apps)
{
    const std::string home = platform::TrashMover::currentUser(SearchFilePath::realHomeDirectory()).home;
    Summary summary;
    TrashRemoval::forEachTicked(apps, [&](const UninstallApp&, const UnFileItem& item, const std::string& real) {
        const Need need = of(real, item.type == RkUninstallCategoryType::daemon, home);
        if (need != Need::none)
            summary.throughDaemon.push_back(item.filePath);
        if (need == Need::administrator)
            summary.administrator.push_back(item.filePath);
    });
    return summary;
}
