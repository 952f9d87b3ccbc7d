#include "app/removal/UninstallDelete.h"

#include "app/bundles/BundleReader.h"
#include "app/locations/FolderAccess.h"
#include "app/locations/ReviewManager.h"
#include "app/records/ItemSizes.h"
#include "app/records/UninstallApp.h"
#include "app/removal/AdministratorScript.h"
#include "app/removal/OwnLaunchService.h"
#include "app/locations/SearchFilePath.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "platform/ProcessTable.h"
#include "platform/SafeRemover.h"
#include "platform/SystemLinks.h"
#include "platform/SystemRoot.h"
#include "platform/SystemTools.h"
#include "system/ProcessManager.h"
#include "system/ProtectedPaths.h"
#include "system/ShellQuote.h"
#include "system/Utility.h"

#include <unistd.h>

#include <climits>
#include <cstdlib>

#include <algorithm>
#include <atomic>
#include <thread>

namespace {

std::atomic<long long> settleDelayMs{2000};

// How long a program of the user's asked to quit is waited for before the daemon is asked.
constexpr int kQuitWaitMs = 3000;

std::shared_ptr<UnFileGroup> firstGroupOf(const UninstallApp& app, RkUninstallCategoryType type)
{
    for (const auto& group : app.fileGroups)
        if (group->type == type)
            return group;
    return nullptr;
}

}  // namespace

UninstallDelete::UninstallDelete(std::weak_ptr<UninstallAppManager> manager, std::weak_ptr<DaemonLink> link,
                                 std::weak_ptr<UninstallApp> app)
    : mgr(std::move(manager)), current(std::move(app)), xpcObj(std::move(link))
{
}

void UninstallDelete::setSettleDelay(std::chrono::milliseconds delay)
{
    settleDelayMs = delay.count();
}

bool UninstallDelete::isAppRunning()
{
    const auto app = current.lock();
    // A gone application has no bundle left to run from.
    if (!app || app->isGone())
        return false;
    // Asked again after the user's own processes were quit: the queue is made afresh, not grown.
    cacheQueue.clear();
    cacheQueue.push_back(app);
    const std::string bundle = app->bundlePath.value_or("");
    for (const auto& nested : BundleReader::nestedApplications(bundle))
        cacheQueue.push_back(BundleReader::record(nested));
    // The application runs when a process runs an executable inside its bundle (its inner
    // applications and helpers count); another program of the same name elsewhere does not, as
    // when two applications built on one framework share an executable's name.
    char real[PATH_MAX];
    if (bundle.empty() || !::realpath(bundle.c_str(), real))
        return false;
    std::vector<std::string> names;
    for (const auto& queued : cacheQueue)
        names.push_back(queued->executableName());
    return ProcessManager::shared().runsFromBundle(real, names);
}

bool UninstallDelete::quitOwnProcesses()
{
    const auto app = current.lock();
    char real[PATH_MAX];
    if (!app || app->isGone() || !::realpath(app->bundlePath.value_or("").c_str(), real))
        return false;
    auto inside = ProcessManager::shared().GetProcessInfoWithBundlePath(real);
    const uid_t self = ::geteuid();
    std::erase_if(inside, [&](const auto& process) {
        const auto info = platform::ProcessTable::bsdInfo(process->pid);
        return process->pid == ::getpid() || !info || (self != 0 && info->uid != self);
    });
    if (inside.empty())
        return false;
    // Pinned before the signals, so that a pid given to a newcomer meanwhile is not waited for.
    std::vector<platform::process::ProcessHandle> pinned;
    for (const auto& process : inside)
        pinned.push_back(ProcessManager::pin(*process));
    const bool signalled = ProcessManager::shared().OnKillProcessInfos(inside);
    // The signals are sent, not yet obeyed: a program asked to quit is given a moment to go.
    bool ended = true;
    for (const auto& handle : pinned)
        ended = (!handle.valid() || handle.waitForEnd(kQuitWaitMs)) && ended;
    return signalled && ended;
}

std::optional<bool> UninstallDelete::ask(const char* operation,
                                         const std::function<void(UninstallServiceprotocol&, std::function<void(bool)>)>& call)
{
    const auto link = xpcObj.lock();
    if (!link)
        return std::nullopt;
    if (startDaemon && !startDaemon())
        return std::nullopt;
    requests.emplace_back(operation);
    return awaitDaemonReply(*link, call);
}

std::vector<std::string> UninstallDelete::removeSelectedFiles(const UninstallApp& app, const std::vector<std::string>& unloadedJobs)
{
    std::vector<std::string> removeFailed;
    for (const auto& group : app.fileGroups) {
        for (const auto& item : group->fileItem) {
            const bool unloaded = std::find(unloadedJobs.begin(), unloadedJobs.end(), item->filePath) != unloadedJobs.end();
            if ((item->type == RkUninstallCategoryType::daemon && !unloaded) || !item->isSelected || !platform::fs::linkStatus(item->filePath))
                continue;
            withStoredFolderAccess(SearchFilePath::accessRootForCategory(group->type), [&](bool granted) {
                if (!granted)
                    return;
                // Through the system's own links (/var, /tmp) and no other.
                std::string why;
                const auto real = platform::SystemLinks::resolveParents(item->filePath, why);
                if (!real) {
                    removeFailed.push_back(item->filePath);
                } else if (run) {
                    if (run->take(*real) == TrashRemoval::Outcome::needsRights)
                        removeFailed.push_back(*real);
                } else if (!platform::SafeRemover::remove(*real)) {
                    removeFailed.push_back(item->filePath);
                }
            });
        }
    }
    return removeFailed;
}

void UninstallDelete::standardDelete()
{
    const auto app = current.lock();
    if (!app || xpcObj.expired())
        return;
    const bool sandboxed = Utility::isSandboxed();
    std::vector<std::string> unloadFailed;
    std::vector<std::string> ownUnloaded;
    if (const auto jobs = firstGroupOf(*app, RkUninstallCategoryType::daemon); jobs && !jobs->fileItem.empty() && !sandboxed) {
        for (const auto& item : jobs->fileItem) {
            if (!item->isSelected || !platform::fs::exists(item->filePath))
                continue;
            const std::string path = item->filePath;
            // The user's own agent needs nobody's rights: the user's launch service unloads it
            // and it goes as any file of theirs.
            const bool own = OwnLaunchService::serves(path);
            if (own && OwnLaunchService::unload(path)) {
                ownUnloaded.push_back(path);
                continue;
            }
            if (unloadJob(path) != true && !own)
                unloadFailed.push_back(path);
        }
    }
    // A second chance with the user's own rights for what the daemon left loaded.
    if (!sandboxed) {
        for (const auto& path : unloadFailed) {
            if (!OwnLaunchService::unload(path))
                continue;
            if (!ProcessManager::shared().ProcessIsRunning(platform::path::lastComponent(path)))
                continue;
            ask(uninstallservice::kRemove, [&](UninstallServiceprotocol& daemon, auto reply) { daemon.removeWithPaths({path}, reply); });
        }
    }
    const auto removeFailed = removeSelectedFiles(*app, ownUnloaded);
    if (!sandboxed && !removeFailed.empty())
        takeThroughDaemon(removeFailed);
    updateAfterDelete();
}

bool UninstallDelete::mayAskDaemonFor(const std::string& path)
{
    if (!run)
        return true;
    std::string why;
    const auto real = platform::SystemLinks::resolveParents(path, why);
    if (!real || !run->needsAdministratorRight(*real))
        return true;
    return run->holdsAdministratorRight([&] {
        return ask(uninstallservice::kAuthorize, [&](UninstallServiceprotocol& daemon, auto reply) {
            daemon.authorizeWithRight(uninstallservice::kRightRemoveSystemItems, reply);
        });
    });
}

std::optional<bool> UninstallDelete::unloadJob(const std::string& path)
{
    if (!mayAskDaemonFor(path))
        return false;
    if (!run || run->deletesNow()) {
        const auto unloaded = ask(uninstallservice::kUnload, [&](UninstallServiceprotocol& daemon, auto reply) {
            daemon.unloadPlistWithPath(path, reply);
        });
        if (run && unloaded == true) {
            std::string why;
            if (const auto real = platform::SystemLinks::resolveParents(path, why))
                run->noteDeleted(*real);
        }
        return unloaded;
    }
    std::string why;
    const auto real = platform::SystemLinks::resolveParents(path, why);
    if (!real)
        return false;
    std::optional<bool> last;
    const bool moved = run->takeThroughDaemon(*real, [&](const std::string& jobPath, const std::string& trashName) {
        last = ask(uninstallservice::kUnloadToTrash, [&](UninstallServiceprotocol& daemon, auto reply) {
            daemon.unloadPlistWithPath(jobPath, trashName, reply);
        });
        return last;
    });
    return moved ? std::optional(true) : last;
}

void UninstallDelete::takeThroughDaemon(const std::vector<std::string>& asked)
{
    std::vector<std::string> paths;
    for (const auto& path : asked) {
        if (mayAskDaemonFor(path))
            paths.push_back(path);
        else if (run)
            run->noteLeft(path);
    }
    if (paths.empty())
        return;
    if (run && !run->deletesNow()) {
        for (const auto& path : paths) {
            run->takeThroughDaemon(path, [&](const std::string& itemPath, const std::string& trashName) {
                return ask(uninstallservice::kMoveToTrash, [&](UninstallServiceprotocol& daemon, auto reply) {
                    daemon.moveToTrashWithPath(itemPath, trashName, reply);
                });
            });
        }
        return;
    }
    ask(uninstallservice::kRemove, [&](UninstallServiceprotocol& daemon, auto reply) { daemon.removeWithPaths(paths, reply); });
    if (run)
        for (const auto& path : paths)
            platform::fs::linkStatus(path) ? run->noteLeft(path) : run->noteDeleted(path);
}

std::string UninstallDelete::sandboxedCommand(const std::vector<std::string>& jobPaths, const std::vector<std::string>& removeFailed,
                                              const std::vector<std::pair<std::string, std::string>>& trashMoves)
{
    std::vector<std::string> commands;
    const std::string launchctl = shellquote::single(platform::tools::launchctl());
    auto take = [&](const std::string& path) {
        const auto move = std::find_if(trashMoves.begin(), trashMoves.end(), [&](const auto& entry) { return entry.first == path; });
        if (move == trashMoves.end())
            commands.push_back("rm -rf " + shellquote::single(path));
        else
            commands.push_back("mv -n " + shellquote::single(path) + " " + shellquote::single(move->second));
    };
    for (const auto& path : jobPaths) {
        if (isProtectedPath(path))
            continue;
        commands.push_back(launchctl + " unload " + shellquote::single(path));
        take(path);
    }
    for (const auto& path : removeFailed) {
        if (!isProtectedPath(path))
            take(path);
    }
    std::string joined;
    for (const auto& command : commands) {
        if (!joined.empty())
            joined.append("; ");
        joined.append(command);
    }
    // The runner puts the text inside an AppleScript string literal.
    return shellquote::forAppleScript(joined);
}

void UninstallDelete::sandboxedDelete()
{
    const auto app = current.lock();
    if (!app || xpcObj.expired())
        return;
    std::vector<std::string> jobPaths;
    if (Utility::isSandboxed()) {
        if (const auto jobs = firstGroupOf(*app, RkUninstallCategoryType::daemon)) {
            for (const auto& item : jobs->fileItem)
                if (item->isSelected && platform::fs::exists(item->filePath))
                    jobPaths.push_back(item->filePath);
        }
    }
    const auto removeFailed = removeSelectedFiles(*app);
    // Moves planned in the record before the command runs, so that it says where things went.
    std::vector<std::pair<std::string, std::string>> trashMoves;
    if (run && !run->deletesNow()) {
        std::vector<std::string> taken = jobPaths;
        taken.insert(taken.end(), removeFailed.begin(), removeFailed.end());
        for (const auto& path : taken)
            if (const std::string planned = run->planTrashPlace(path); !planned.empty())
                trashMoves.emplace_back(path, planned);
    }
    const std::string command = sandboxedCommand(jobPaths, removeFailed, trashMoves);
    withStoredFolderAccess(platform::fixedPath("/"), [&](bool granted) {
        if (!granted || command.empty())
            return;
        requests.emplace_back("administrator script");
        runAdministratorScript(true, command, true, [](std::optional<std::string>) {});
    });
    for (const auto& [path, planned] : trashMoves)
        run->noteMovedIfThere(path, planned);
    updateAfterDelete();
}

void UninstallDelete::updateAfterDelete()
{
    const auto app = current.lock();
    if (!app)
        return;
    std::vector<const UnFileItem*> gone;
    for (const auto& group : app->fileGroups)
        for (const auto& item : group->fileItem)
            if (item->isSelected && !platform::fs::linkStatus(item->filePath))
                gone.push_back(item.get());
    // An item inside another that went (a helper inside the bundle) counts once, with the outer one.
    const std::int64_t bytes = ItemSizes::sum(gone);
    app->totalSize -= bytes;
    app->removedSize += bytes;
    for (auto& group : app->fileGroups) {
        auto& items = group->fileItem;
        items.erase(std::remove_if(items.begin(), items.end(),
                                   [&](const std::shared_ptr<UnFileItem>& item) {
                                       return std::find(gone.begin(), gone.end(), item.get()) != gone.end();
                                   }),
                    items.end());
    }
    app->fileGroups.erase(std::remove_if(app->fileGroups.begin(), app->fileGroups.end(),
                                         [](const auto& group) { return group->fileItem.empty(); }),
                          app->fileGroups.end());
    // Remains the user kept are still remains: they stay in the record, and there is no bundle to
    // wait for.
    if (app->isGone()) {
        cacheQueue.clear();
        return;
    }
    const std::string bundle = app->bundlePath.value_or("");
    if (!platform::fs::exists(bundle))
        keepOnlyFailedItems(*app);
    std::this_thread::sleep_for(std::chrono::milliseconds(settleDelayMs.load()));
    if (!platform::fs::exists(bundle))
        keepOnlyFailedItems(*app);
    cacheQueue.clear();
}

void UninstallDelete::keepOnlyFailedItems(UninstallApp& app)
{
    // With its bundle gone the application is uninstalled, and what the user chose to keep leaves
    // the record. A chosen item still on disk is a removal that failed: it stays, so that the
    // leftovers screen shows it instead of reporting a complete removal.
    for (auto& group : app.fileGroups) {
        auto& items = group->fileItem;
        items.erase(std::remove_if(items.begin(), items.end(),
                                   [](const std::shared_ptr<UnFileItem>& item) {
                                       return !item->isSelected || !platform::fs::linkStatus(item->filePath);
                                   }),
                    items.end());
    }
    app.fileGroups.erase(std::remove_if(app.fileGroups.begin(), app.fileGroups.end(),
                                        [](const auto& group) { return group->fileItem.empty(); }),
                         app.fileGroups.end());
}
