#include "app/removal/PutBack.h"

#include "app/locations/SearchFilePath.h"
#include "app/removal/TrashRemoval.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "platform/TrashMover.h"

#include <cerrno>

PutBack::Report PutBack::run(RemovalRecord& record, bool dryRun, const DaemonPutBack& daemon)
{
    Report report;
    for (auto it = record.items.rbegin(); it != record.items.rend(); ++it) {
        auto& item = *it;
        if (item.state == RemovalRecord::State::deleted) {
            report.deleted.push_back(item.originalPath);
            continue;
        }
        if (item.state == RemovalRecord::State::restored) {
            report.alreadyBack.push_back(item.originalPath);
            continue;
        }
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

PutBack::DaemonPutBack PutBack::throughDaemon(std::function<std::shared_ptr<DaemonLink>()> connect, std::shared_ptr<bool> refused)
{
    struct State {
        std::shared_ptr<DaemonLink> link;
        std::optional<bool> administratorRight;
    };
    auto state = std::make_shared<State>();
    const std::string home = SearchFilePath::realHomeDirectory();
    return [=](const std::string& path, const std::string& trashName) -> std::optional<bool> {
        if (!state->link)
            state->link = connect();
        if (!state->link)
            return std::nullopt;
        if (TrashRemoval::liesBeyondOwnPlaces(path, home)) {
            if (!state->administratorRight)
                state->administratorRight = awaitDaemonReply(*state->link, [&](UninstallServiceprotocol& service, auto reply) {
                                                service.authorizeWithRight(uninstallservice::kRightRemoveSystemItems, reply);
                                            }).value_or(false);
            if (!*state->administratorRight) {
                *refused = true;
                return false;
            }
        }
        return awaitDaemonReply(*state->link, [&](UninstallServiceprotocol& service, auto reply) {
            service.putBackWithPath(path, trashName, reply);
        });
    };
}
