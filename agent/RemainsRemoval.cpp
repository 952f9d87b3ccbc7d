#include "agent/RemainsRemoval.h"

#include "app/catalogue/UninstallAppManager.h"
#include "app/catalogue/UninstallDelegate.h"
#include "app/removal/DaemonInstaller.h"
#include "app/removal/RemovalRights.h"
#include "platform/Bundle.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "system/Utility.h"

#include <algorithm>
#include <future>
#include <map>
#include <set>

namespace path = platform::path;

// Hears the engine's last report and hands the outcome to the main queue.
class RemainsRemoval::Listener : public UninstallDelegate {
public:
    std::vector<std::string> listed;
    std::map<std::string, std::int64_t> sizes;
    std::weak_ptr<UninstallAppManager> manager;
    std::function<void(Outcome)> done;

    void appsDidLoad() override {}
    void appDidScan(const std::shared_ptr<UninstallApp>&) override {}
    void allAppsDidScan() override {}
    // An application that left remains is gone, so nothing is running to quit; should one run from
    // the Trash after all, its files stay rather than its work being lost.
    bool shouldForceQuit(const std::shared_ptr<UninstallApp>&) override { return false; }

    std::promise<void> finished;

    void uninstallProgress(UninstallType state, double, double) override
    {
        if (state != eDeleteCompleted)
            return;
        Outcome outcome;
        for (const auto& item : listed) {
            if (platform::fs::linkStatus(item)) {
                outcome.left.push_back(item);
            } else {
                outcome.removed.push_back(item);
                outcome.removedBytes += sizes[item];
            }
        }
        if (const auto catalogue = manager.lock())
            if (auto record = catalogue->lastRemoval()) {
                outcome.leftAsInstalled = record->leftAsInstalled;
                outcome.leftAsReplaced = record->leftAsReplaced;
                if (record->countInTrash() > 0)
                    outcome.record = std::move(record);
            }
        dispatch::MainQueue::async([done = done, outcome = std::move(outcome)] { done(outcome); });
        finished.set_value();
    }
};

// Installing the daemon asks for an administrator, so it is not asked for when plain user files
// are all there is.
bool RemainsRemoval::needsDaemon(const std::string& item)
{
    return !RemovalRights::mayMoveItself(item);
}

RemainsRemoval::RemainsRemoval() = default;

RemainsRemoval::~RemainsRemoval()
{
    waitUntilFinished();
}

void RemainsRemoval::waitUntilFinished()
{
    queue_.sync([] {});
    // The catalogue's own queue holds the catalogue while it works: it must not be the last to.
    if (running_ && finished_.valid())
        finished_.wait();
}

bool RemainsRemoval::start(const std::vector<RemovedApplication>& applications, std::function<void(Outcome)> done)
{
    if (running_)
        return false;
    running_ = true;
    manager_ = UninstallAppManager::make();
    listener_ = std::make_shared<Listener>();
    finished_ = listener_->finished.get_future();
    listener_->manager = manager_;
    listener_->done = [this, done = std::move(done)](Outcome outcome) {
        running_ = false;
        if (done)
            done(std::move(outcome));
    };

    std::vector<std::shared_ptr<UninstallApp>> apps;
    for (const auto& application : applications) {
        if (!application.remainsOf)
            continue;
        const std::set<std::string> shown(application.remains.begin(), application.remains.end());
        // Exactly what the panel listed: anything the record holds beside it stays.
        for (const auto& group : application.remainsOf->fileGroups)
            for (const auto& item : group->fileItem) {
                item->isSelected = shown.count(item->filePath) > 0;
                if (item->isSelected) {
                    listener_->listed.push_back(item->filePath);
                    listener_->sizes[item->filePath] = item->size;
                }
            }
        apps.push_back(application.remainsOf);
    }
    manager_->setDelegate(listener_);

    queue_.async([manager = manager_, apps = std::move(apps), listed = listener_->listed] {
        if (!Utility::isSandboxed() && std::any_of(listed.begin(), listed.end(), needsDaemon))
            DaemonInstaller(containingApplication()).ensureDaemon();
        manager->removeApps(apps);
    });
    return true;
}

bool RemainsRemoval::putBack(RemovalRecord record, std::function<void(PutBack::Report)> done)
{
    if (running_)
        return false;
    running_ = true;
    if (!manager_)
        manager_ = UninstallAppManager::make();
    auto finished = std::make_shared<std::promise<void>>();
    finished_ = finished->get_future().share();
    const bool needsDaemon = std::any_of(record.items.begin(), record.items.end(),
                                         [](const RemovalRecord::Item& item) { return RemainsRemoval::needsDaemon(item.originalPath); });
    queue_.async([this, manager = manager_, needsDaemon, record = std::move(record), done = std::move(done), finished]() mutable {
        if (!Utility::isSandboxed() && needsDaemon)
            DaemonInstaller(containingApplication()).ensureDaemon();
        manager->putBack(std::move(record), [this, done = std::move(done)](PutBack::Report report) {
            running_ = false;
            if (done)
                done(report);
        });
        // The catalogue's queue takes its put back in turn after this: it is over once that queue
        // has come past it.
        manager->waitForRemovals();
        finished->set_value();
    });
    return true;
}

std::string RemainsRemoval::containingApplication()
{
    const auto bundle = platform::Bundle::mainBundle();
    if (!bundle)
        return "";
    // <Ostrova.app>/Contents/Library/LoginItems/agent.app
    std::string folder = path::deletingLastComponent(bundle->bundlePath());
    for (const char* expected : {"LoginItems", "Library", "Contents"}) {
        if (path::lastComponent(folder) != expected)
            return "";
        folder = path::deletingLastComponent(folder);
    }
    return path::extension(folder) == "app" ? folder : "";
}
