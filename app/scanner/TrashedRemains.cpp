#include "app/scanner/TrashedRemains.h"

#include "app/locations/SearchFilePath.h"
#include "app/records/UninstallApp.h"
#include "app/scanner/ScanIndex.h"
#include "app/scanner/StopToken.h"
#include "app/scanner/UninstallScaner.h"
#include "platform/BundleIdentifier.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"

#include <algorithm>

TrashedRemains::TrashedRemains(std::weak_ptr<StopToken> stop, std::shared_ptr<ScanIndex> run)
    : stop_(std::move(stop)), run_(std::move(run))
{
}

void TrashedRemains::addTo(std::vector<std::shared_ptr<UninstallApp>>& gone, const std::vector<std::shared_ptr<UninstallApp>>& trashed,
                           const std::set<BundleIdentifier>& installedIdentifiers, const std::set<std::string>& offered, bool certain)
{
    std::set<BundleIdentifier> done;
    const auto helperTools = SearchFilePath::helperToolFolders();
    for (const auto& bundle : trashed) {
        const auto stop = stop_.lock();
        if (!stop || !stop->keepGoing())
            return;
        const std::string identifier = bundle->bundleIdentifier();
        const BundleIdentifier key(identifier);
        if (identifier.empty() || installedIdentifiers.count(key) || !done.insert(key).second)
            continue;
        UninstallScaner scanner(stop_, run_);
        scanner.scan(bundle);

        auto record = UninstallApp::gone(identifier, bundle->displayName());
        record->icon = bundle->icon;
        record->remainsCertain = certain;
        std::set<std::string> taken;
        auto take = [&](const std::shared_ptr<UnFileGroup>& from) {
            std::shared_ptr<UnFileGroup> into;
            for (const auto& group : record->fileGroups)
                if (group->type == from->type)
                    into = group;
            for (const auto& item : from->fileItem) {
                if (offered.count(item->filePath) || !taken.insert(item->filePath).second)
                    continue;
                if (!into) {
                    into = std::make_shared<UnFileGroup>();
                    into->type = from->type;
                    into->app = record;
                    record->fileGroups.push_back(into);
                }
                item->group = into;
                item->isSelected = false;
                if (const auto status = platform::fs::linkStatus(item->filePath)) {
                    item->device = status->st_dev;
                    item->inode = status->st_ino;
                }
                into->fileItem.push_back(item);
                record->totalSize += item->size;
            }
        };
        // Launch jobs and privileged helpers are judged by what runs them and who declares them
        // (RemainsFinder), never by the names of a bundle that no longer runs anything.
        for (const auto& group : bundle->fileGroups) {
            if (group->type == RkUninstallCategoryType::bundle || group->type == RkUninstallCategoryType::daemon)
                continue;
            std::erase_if(group->fileItem, [&](const auto& item) {
                return std::any_of(helperTools.begin(), helperTools.end(),
                                   [&](const std::string& folder) { return platform::path::isInside(item->filePath, folder); });
            });
            take(group);
        }
        // The record found by the identifier alone joins this one; entries another record held
        // are this application's by the stronger evidence.
        for (const auto& other : gone)
            if (BundleIdentifier(other->bundleIdentifier()) == key)
                for (const auto& group : other->fileGroups)
                    take(group);
        std::erase_if(gone, [&](const std::shared_ptr<UninstallApp>& other) {
            if (BundleIdentifier(other->bundleIdentifier()) == key)
                return true;
            for (const auto& group : other->fileGroups) {
                std::erase_if(group->fileItem, [&](const auto& item) {
                    if (!taken.count(item->filePath))
                        return false;
                    other->totalSize -= item->size;
                    return true;
                });
            }
            std::erase_if(other->fileGroups, [](const auto& group) { return group->fileItem.empty(); });
            return other->fileGroups.empty();
        });
        if (record->fileGroups.empty())
            continue;
        record->isReady = true;
        gone.push_back(record);
    }
}
