#include "app/removal/PutBack.h"

#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "platform/TrashMover.h"

#include <cerrno>

PutBack::Report PutBack::run(RemovalRecord& record, bool dryRun, const DaemonPutBack& daemon)
{
    Report report;
    for (auto it = record.items.rbegin(); it != record.items.rend(); ++it) {
        auto& item = *it;
        if (!record.isInTrash(item))
            continue;
        if (platform::fs::linkStatus(item.originalPath)) {
            report.taken.push_back(item.originalPath);
            continue;
        }
        if (!platform::fs::linkStatus(item.trashPath)) {
            report.gone.push_back(item.originalPath);
            continue;
        }
        if (dryRun) {
            report.restored.push_back(item.originalPath);
            report.bytes += item.size;
            continue;
        }
        const std::string folder = platform::path::deletingLastComponent(item.originalPath);
        if (!platform::fs::linkStatus(folder))
            platform::fs::makeDirectories(folder);
        auto result = platform::TrashMover::putBack(item.trashPath, item.originalPath);
        bool back = result.ok;
        if (!back && (result.error == EACCES || result.error == EPERM) && daemon)
            back = daemon(item.originalPath, platform::path::lastComponent(item.trashPath)) == true;
        if (back) {
            item.state = RemovalRecord::State::restored;
            report.restored.push_back(item.originalPath);
            report.bytes += item.size;
            record.save();
        } else if (result.error == EEXIST) {
            report.taken.push_back(item.originalPath);
        } else {
            report.failed.push_back(item.originalPath);
        }
    }
    return report;
}
