#include "app/removal/PutBack.h"

#include "app/locations/SearchFilePath.h"
#include "app/removal/OwnLaunchService.h"
#include "app/removal/TrashRemoval.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "platform/SystemTools.h"
#include "platform/TrashMover.h"

#include <cerrno>

PutBack::Report PutBack::run(RemovalRecord& record, bool dryRun, const Daemon& daemon)
{
    Report report;
    std::vector<std::string> jobFiles;
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
        if (!back && (result.error == EACCES || result.error == EPERM) && daemon.putBack)
            back = daemon.putBack(item.originalPath, platform::path::lastComponent(item.trashPath)) == true;
        if (back) {
            item.state = RemovalRecord::State::restored;
            report.restored.push_back(item.originalPath);
            if (item.loadedJob)
                jobFiles.push_back(item.originalPath);
            report.bytes += item.size;
            record.save();
        } else if (result.error == EEXIST) {
            report.taken.push_back(item.originalPath);
        } else {
            report.failed.push_back(item.originalPath);
        }
    }
    // After everything else: a job's program may lie in an item that came back after its file.
    loadJobs(jobFiles, daemon.load, report);
    return report;
}

void PutBack::loadJobs(const std::vector<std::string>& jobFiles, const DaemonLoad& daemon, Report& report)
{
    for (const auto& path : jobFiles) {
        bool loaded = false;
        if (OwnLaunchService::serves(path)) {
            loaded = OwnLaunchService::load(path);
        } else if (daemon) {
            loaded = daemon(path) == true;
        }
        (loaded ? report.loaded : report.notLoaded).push_back(path);
    }
}

PutBack::Daemon PutBack::throughDaemon(std::function<std::shared_ptr<DaemonLink>()> connect, std::shared_ptr<bool> refused)
{
    struct State {
        std::shared_ptr<DaemonLink> link;
        std::optional<bool> administratorRight;
    };
    auto state = std::make_shared<State>();
    const std::string home = SearchFilePath::realHomeDirectory();
    // The link, once the right for `path` is held (asked once); null without either.
    const auto linkFor = [=](const std::string& path) -> std::shared_ptr<DaemonLink> {
        if (!state->link)
            state->link = connect();
        if (!state->link || !TrashRemoval::liesBeyondOwnPlaces(path, home))
            return state->link;
        if (!state->administratorRight)
            state->administratorRight = awaitDaemonReply(*state->link, [&](UninstallServiceprotocol& service, auto reply) {
                                            service.authorizeWithRight(uninstallservice::kRightRemoveSystemItems, reply);
                                        }).value_or(false);
        if (*state->administratorRight)
            return state->link;
        *refused = true;
        return nullptr;
    };
    Daemon daemon;
    daemon.putBack = [=](const std::string& path, const std::string& trashName) -> std::optional<bool> {
        const auto link = linkFor(path);
        if (!link)
            return state->link ? std::optional(false) : std::nullopt;
        return awaitDaemonReply(*link, [&](UninstallServiceprotocol& service, auto reply) { service.putBackWithPath(path, trashName, reply); });
    };
    daemon.load = [=](const std::string& path) -> std::optional<bool> {
        const auto link = linkFor(path);
        if (!link)
            return state->link ? std::optional(false) : std::nullopt;
        return awaitDaemonReply(*link, [&](UninstallServiceprotocol& service, auto reply) { service.loadPlistWithPath(path, reply); });
    };
    return daemon;
}
