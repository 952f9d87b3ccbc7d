#include "app/removal/RemainsRecheck.h"

#include "app/bundles/BundleReader.h"
#include "app/locations/SearchFilePath.h"
#include "app/records/UninstallApp.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"

std::set<BundleIdentifier> RemainsRecheck::installedIdentifiers()
{
    std::set<BundleIdentifier> identifiers;
    for (const auto& bundle : SearchFilePath::applicationBundles())
        if (const std::string identifier = BundleReader::record(bundle)->bundleIdentifier(); !identifier.empty())
            identifiers.insert(BundleIdentifier(identifier));
    return identifiers;
}

RemainsRecheck::Kept RemainsRecheck::apply(UninstallApp& app, const std::set<BundleIdentifier>& installed)
{
    Kept kept;
    const bool claimed = installed.count(BundleIdentifier(app.bundleIdentifier())) > 0;
    for (const auto& group : app.fileGroups) {
        for (const auto& item : group->fileItem) {
            if (!item->isSelected)
                continue;
            if (claimed) {
                item->isSelected = false;
                kept.installed.push_back(item->filePath);
                continue;
            }
            if (item->inode == 0)
                continue;
            const auto now = platform::fs::linkStatus(item->filePath);
            if (now && (now->st_dev != item->device || now->st_ino != item->inode)) {
                item->isSelected = false;
                kept.replaced.push_back(item->filePath);
            }
        }
    }
    return kept;
}
