#include "agent/RemainsJudge.h"

#include "agent/RunningBundle.h"
#include "app/catalogue/UninstallAppManager.h"
#include "app/scanner/SystemIdentifiers.h"
#include "platform/BundleIdentifier.h"
#include "platform/PathUtil.h"

#include <set>

namespace path = platform::path;

std::vector<RemovedApplication> RemainsJudge::judge(const std::vector<RemovedApplication>& candidates,
                                                    std::vector<RemovedApplication>* stillRunning)
{
    std::vector<RemovedApplication> left;
    for (const auto& candidate : candidates) {
        if (SystemIdentifiers::isSystem(candidate.identifier))
            continue;
        if (RunningBundle::runsFrom(candidate.bundlePath)) {
            if (stillRunning)
                stillRunning->push_back(candidate);
            continue;
        }
        left.push_back(candidate);
    }
    if (left.empty())
        return left;

    const auto manager = UninstallAppManager::make();
    manager->discoverApps();
    std::set<BundleIdentifier> installed;
    for (const auto& app : manager->allApps())
        installed.insert(BundleIdentifier(app->bundleIdentifier()));
    std::erase_if(left, [&](const RemovedApplication& candidate) { return installed.count(BundleIdentifier(candidate.identifier)) > 0; });
    if (left.empty())
        return left;

    // What installed applications are offered is never a remain, so the whole catalogue is scanned
    // first.
    manager->scanAndFindRemains();

    std::vector<RemovedApplication> judged;
    for (auto candidate : left) {
        for (const auto& gone : manager->goneApps()) {
            // Where the search for installed copies ran out of time, a copy may be installed yet.
            if (!BundleIdentifier::same(gone->bundleIdentifier(), candidate.identifier) || !gone->remainsCertain)
                continue;
            for (const auto& group : gone->fileGroups)
                for (const auto& item : group->fileItem)
                    candidate.remains.push_back(item->filePath);
            candidate.remainsSize = gone->totalSize;
            candidate.remainsOf = gone;
        }
        if (!candidate.remains.empty())
            judged.push_back(std::move(candidate));
    }
    return judged;
}
