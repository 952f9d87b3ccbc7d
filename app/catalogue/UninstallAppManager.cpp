#include "app/catalogue/UninstallAppManager.h"

#include "app/locations/ReviewManager.h"
#include "app/locations/SearchFilePath.h"
#include "app/removal/UninstallDelete.h"
#include "app/scanner/BundleWalk.h"
#include "app/scanner/RemainsFinder.h"
#include "app/scanner/ScanIndex.h"
#include "app/scanner/SizeWalk.h"
#include "app/scanner/UninstallScaner.h"
#include "platform/FileSystem.h"
#include "system/Utility.h"

#include <chrono>
#include <cstdio>
#include <set>
#include <system_error>
#include <unordered_set>

const std::shared_ptr<UninstallAppManager>& UninstallAppManager::shared()
{
    static auto* instance = new std::shared_ptr<UninstallAppManager>(make());
    return *instance;
}

std::shared_ptr<UninstallAppManager> UninstallAppManager::make()
{
    return std::shared_ptr<UninstallAppManager>(new UninstallAppManager);
}

void UninstallAppManager::loadApps()
{
    discoverApps();
    std::weak_ptr<UninstallAppManager> weakSelf = weak_from_this();
    scanerQueue.asyncAfter(std::chrono::milliseconds(500), [weakSelf] {
        if (const auto self = weakSelf.lock())
            self->runScanLoop();
    });
}

void UninstallAppManager::discoverApps()
{
    std::unordered_set<std::string> seen;
    for (const auto& bundle : SearchFilePath::applicationBundles()) {
        if (!seen.insert(bundle).second)
            continue;
        allApps.push_back(UninstallApp::create(bundle));
    }
    if (auto target = delegate.lock())
        target->appsDidLoad();
}

void UninstallAppManager::runScanLoop()
{
    std::shared_ptr<ScanIndex> run;
    // The walk for installed bundles that the remains need reads only the file system: it runs
    // beside the scan and is waited for at the end.
    std::future<std::vector<std::string>> bundleWalk;
    for (;;) {
        std::shared_ptr<UninstallApp> app;
        {
            std::lock_guard guard(lock);
            const long next = index();
            if (next < 0 || next >= static_cast<long>(allApps.size()))
                return;
            app = allApps[static_cast<std::size_t>(next)];
            setIndex(next + 1);
        }
        if (!run)
            run = std::make_shared<ScanIndex>(allApps, otherInstalledIdentifiers);
        if (findsRemains && !bundleWalk.valid())
            bundleWalk = startBundleWalk();
        UninstallScaner scanner(weak_from_this(), run);
        scanner.scan(app);
        app->isReady = true;
        if (const auto target = delegate.lock())
            target->appDidScan(app);
        setCount(count() + 1);
        if (count() == static_cast<long>(allApps.size())) {
            if (findsRemains)
                findGoneApps(run, bundleWalk.valid() ? std::optional(bundleWalk.get()) : std::nullopt);
            if (const auto target = delegate.lock())
                target->allAppsDidScan();
            return;
        }
    }
}

std::future<std::vector<std::string>> UninstallAppManager::startBundleWalk()
{
    const std::weak_ptr<StopToken> stop = weak_from_this();
    auto walk = [stop, roots = BundleWalk::defaultRoots(), deadline = std::chrono::steady_clock::now() + RemainsFinder::kWalkTime] {
        const auto token = stop.lock();
        return BundleWalk::bundlesUnder(roots, RemainsFinder::kWalkDepth, deadline, token.get());
    };
    try {
        return std::async(std::launch::async, walk);
    } catch (const std::system_error&) {
        // No thread to spare: the finder walks on this one when the scan is done.
        return {};
    }
}

void UninstallAppManager::findGoneApps(std::shared_ptr<ScanIndex> run, std::optional<std::vector<std::string>> walkedBundles)
{
    std::vector<std::shared_ptr<UninstallApp>> installed;
    {
        std::lock_guard guard(lock);
        installed = allApps;
    }
    if (!run)
        run = std::make_shared<ScanIndex>(installed, otherInstalledIdentifiers);
    std::set<std::string> offered;
    for (const auto& app : installed)
        for (const auto& group : app->fileGroups)
            for (const auto& item : group->fileItem)
                offered.insert(item->filePath);
    auto found = RemainsFinder(weak_from_this(), run).find(installed, otherInstalledIdentifiers, offered, std::move(walkedBundles));
    std::lock_guard guard(lock);
    goneApps = std::move(found);
}

std::int64_t UninstallAppManager::sizeOfPath(const std::string& path, const UninstallAppManager* manager)
{
    return SizeWalk::sizeOfPath(path, manager);
}

std::shared_ptr<XPCRemoteObject<UninstallServiceprotocol>> UninstallAppManager::xpcServiceObj()
{
    std::lock_guard guard(linkMutex_);
    if (!link_) {
        link_ = std::make_shared<XPCRemoteObject<UninstallServiceprotocol>>(uninstallservice::kServiceName, [](const std::string& message) {
            std::printf("%s\n", message.c_str());
            std::fflush(stdout);
        });
    }
    return link_;
}

void UninstallAppManager::removeApps(std::vector<std::shared_ptr<UninstallApp>> apps)
{
    std::weak_ptr<UninstallAppManager> weakSelf = weak_from_this();
    deleteQueue.async([weakSelf, apps = std::move(apps)] {
        const auto self = weakSelf.lock();
        if (!self)
            return;
        const auto link = self->xpcServiceObj();
        const double total = static_cast<double>(apps.size());
        double handled = 0;
        const auto run = std::make_shared<TrashRemoval>(apps, self->removesImmediately.load(), self->deletesWhereNoTrash.load());
        for (const auto& app : apps) {
            UninstallDelete engine(self, link, app);
            engine.run = run;
            const bool running = engine.isAppRunning();
            const bool sandboxed = Utility::isSandboxed();
            if (running && !sandboxed) {
                const auto target = self->delegate.lock();
                if (!target || !target->shouldForceQuit(app))
                    continue;
                const std::string bundle = app->bundlePath.value_or("");
                if (platform::fs::exists(bundle))
                    awaitDaemonReply(*link, [&](UninstallServiceprotocol& daemon, auto reply) { daemon.KillProcessWithBundlePath(bundle, reply); });
            }
            if (const auto target = self->delegate.lock()) {
                const double value = handled;
                std::weak_ptr<UninstallDelegate> weakTarget = target;
                dispatch::MainQueue::async([weakTarget, value, total] {
                    if (const auto receiver = weakTarget.lock())
                        receiver->uninstallProgress(eDeleting, value, total);
                });
            }
            if (!sandboxed || ReviewManager::shared().reviewPeriodActive())
                engine.standardDelete();
            else
                engine.sandboxedDelete();
            handled += 1;
        }
        {
            std::lock_guard guard(self->recordMutex_);
            self->lastRemoval_ = run->record();
        }
        if (const auto target = self->delegate.lock())
            target->uninstallProgress(eDeleteCompleted, 1.0, 1.0);
    });
}

void UninstallAppManager::putBack(RemovalRecord record, std::function<void(PutBack::Report)> done)
{
    std::weak_ptr<UninstallAppManager> weakSelf = weak_from_this();
    deleteQueue.async([weakSelf, record = std::move(record), done = std::move(done)]() mutable {
        const auto self = weakSelf.lock();
        if (!self)
            return;
        auto refused = std::make_shared<bool>(false);
        const auto daemon = Utility::isSandboxed() ? PutBack::DaemonPutBack{}
                                                   : PutBack::throughDaemon([&self] { return self->xpcServiceObj(); }, refused);
        auto report = PutBack::run(record, false, daemon);
        report.administratorRightRefused = *refused;
        {
            std::lock_guard guard(self->recordMutex_);
            if (self->lastRemoval_ && self->lastRemoval_->identifier == record.identifier)
                self->lastRemoval_ = record;
        }
        dispatch::MainQueue::async([done = std::move(done), report = std::move(report)] {
            if (done)
                done(report);
        });
    });
}

std::optional<RemovalRecord> UninstallAppManager::lastRemoval()
{
    std::lock_guard guard(recordMutex_);
    return lastRemoval_;
}
