#include "app/catalogue/UninstallAppManager.h"

#include "app/bundles/BundleReader.h"
#include "app/catalogue/ExclusionStore.h"
#include "app/locations/ReviewManager.h"
#include "app/locations/SearchFilePath.h"
#include "app/removal/DaemonStart.h"
#include "app/removal/RemainsRecheck.h"
#include "app/removal/UninstallDelete.h"
#include "app/scanner/BundleWalk.h"
#include "app/scanner/RemainsFinder.h"
#include "app/scanner/ScanIndex.h"
#include "app/scanner/SizeWalk.h"
#include "app/scanner/TrashedApplications.h"
#include "app/scanner/TrashedRemains.h"
#include "app/scanner/UninstallScaner.h"
#include "platform/FileSystem.h"
#include "platform/OneReply.h"
#include "platform/PathUtil.h"
#include "platform/SystemLinks.h"
#include "system/Utility.h"

#include <algorithm>
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
    scanerQueue.async([weakSelf] {
        if (const auto self = weakSelf.lock())
            self->runScanLoop();
    });
}

UninstallAppManager::Apps UninstallAppManager::allApps() const
{
    std::lock_guard guard(lock);
    return allApps_;
}

UninstallAppManager::Apps UninstallAppManager::goneApps() const
{
    std::lock_guard guard(lock);
    return goneApps_;
}

UninstallAppManager::Apps UninstallAppManager::trashedApps() const
{
    std::lock_guard guard(lock);
    return trashedApps_;
}

void UninstallAppManager::setDelegate(std::weak_ptr<UninstallDelegate> delegate)
{
    std::lock_guard guard(lock);
    delegate_ = std::move(delegate);
}

std::shared_ptr<UninstallDelegate> UninstallAppManager::delegate() const
{
    std::lock_guard guard(lock);
    return delegate_.lock();
}

std::shared_ptr<const Exclusions> UninstallAppManager::exclusions() const
{
    std::lock_guard guard(lock);
    return exclusions_;
}

std::shared_ptr<const Exclusions> UninstallAppManager::reloadExclusions()
{
    auto loaded = std::make_shared<const Exclusions>(ExclusionStore::load());
    std::lock_guard guard(lock);
    exclusions_ = loaded;
    return loaded;
}

void UninstallAppManager::applyExclusions(std::function<void()> done)
{
    struct Change {
        std::shared_ptr<UninstallApp> app;
        bool protects = false;
        std::vector<std::shared_ptr<UnFileItem>> covered;
    };
    std::weak_ptr<UninstallAppManager> weakSelf = weak_from_this();
    deleteQueue.async([weakSelf, done = std::move(done)]() mutable {
        const auto self = weakSelf.lock();
        if (!self) {
            if (done)
                dispatch::MainQueue::async(std::move(done));
            return;
        }
        // The disk is read here; the records are only read.
        const auto rules = self->reloadExclusions();
        std::vector<Change> listed, gone;
        for (const auto& app : self->allApps())
            // One not yet scanned is the scan queue's to write; its scan applies them.
            listed.push_back({app, rules->protects(*app), app->isReady ? rules->covered(*app) : std::vector<std::shared_ptr<UnFileItem>>{}});
        for (const auto& app : self->goneApps())
            gone.push_back({app, rules->protects(*app), rules->covered(*app)});
        // The change is made on the main queue, where the screens read the records, and this queue
        // goes on only after it: a removal queued meanwhile never reads them while they change.
        // `self` is held meanwhile, so the catalogue is never taken down (its queues joined) by the
        // main thread while this waits for it. A block dropped unrun answers too.
        const auto changed = dispatch::OneReply<bool>::make();
        std::shared_ptr<void> answerOnDrop(nullptr, [changed](void*) { changed->answer(true); });
        dispatch::MainQueue::async([weakSelf, listed = std::move(listed), gone = std::move(gone), done = std::move(done), changed,
                                    answerOnDrop = std::move(answerOnDrop)] {
            if (const auto catalogue = weakSelf.lock()) {
                const auto change = [&] {
                    for (const auto& item : listed) {
                        item.app->isProtected = item.protects;
                        Exclusions::drop(*item.app, item.covered);
                        if (item.protects)
                            item.app->setSelectionState(kSelectionOff);
                    }
                    std::set<const UninstallApp*> emptied;
                    for (const auto& item : gone) {
                        Exclusions::drop(*item.app, item.covered);
                        if (item.protects || item.app->fileGroups.empty())
                            emptied.insert(item.app.get());
                    }
                    std::lock_guard guard(catalogue->lock);
                    std::erase_if(catalogue->goneApps_, [&](const auto& app) { return emptied.count(app.get()) > 0; });
                };
                if (const auto target = catalogue->delegate())
                    target->changeListedApps(change);
                else
                    change();
            }
            changed->answer(true);
            if (done)
                done();
        });
        changed->wait();
    });
}

void UninstallAppManager::setFindsRemains(bool finds)
{
    findsRemains_ = finds;
}

void UninstallAppManager::discoverApps()
{
    std::unordered_set<std::string> seen;
    Apps found;
    const auto rules = reloadExclusions();
    for (const auto& bundle : SearchFilePath::applicationBundles()) {
        if (!seen.insert(bundle).second)
            continue;
        found.push_back(BundleReader::record(bundle));
        found.back()->isProtected = rules->protects(*found.back());
    }
    {
        std::lock_guard guard(lock);
        allApps_.insert(allApps_.end(), found.begin(), found.end());
    }
    if (auto target = delegate())
        target->appsDidLoad();
}

void UninstallAppManager::startOver()
{
    std::lock_guard guard(lock);
    allApps_.clear();
    otherInstalledApps_.clear();
    goneApps_.clear();
    setIndex(0);
    setCount(0);
}

void UninstallAppManager::scanAndFindRemains()
{
    runScanLoop();
    // With nothing installed the loop has nothing to run after.
    bool none;
    {
        std::lock_guard guard(lock);
        none = allApps_.empty();
    }
    if (none && findsRemains_)
        findGoneApps();
}

void UninstallAppManager::runScanLoop()
{
    std::shared_ptr<ScanIndex> run;
    // The walk for installed bundles that the remains need reads only the file system: it runs
    // beside the scan and is waited for at the end.
    std::future<BundleWalk::Found> bundleWalk;
    for (;;) {
        std::shared_ptr<UninstallApp> app;
        Apps listed;
        long next;
        {
            std::lock_guard guard(lock);
            next = index();
            if (next < 0 || next >= static_cast<long>(allApps_.size()))
                return;
            app = allApps_[static_cast<std::size_t>(next)];
            setIndex(next + 1);
            if (!run)
                listed = allApps_;
        }
        if (!run) {
            run = makeRun(listed);
            std::vector<std::string> bundles;
            for (auto at = listed.begin() + next; at != listed.end(); ++at)
                bundles.push_back((*at)->bundlePath.value_or(""));
            run->measureBundlesAhead(std::move(bundles), stop_);
        }
        if (findsRemains_ && !bundleWalk.valid())
            bundleWalk = startBundleWalk();
        UninstallScaner scanner(stop_, run);
        scanner.scan(app);
        const auto rules = exclusions();
        rules->apply(*app);
        app->isProtected = rules->protects(*app);
        app->isReady = true;
        {
            std::lock_guard guard(lock);
            setCount(count() + 1);
        }
        if (const auto target = delegate())
            target->appDidScan(app);
        bool last;
        {
            // A removal may have taken scanned applications out meanwhile (pruneAfterRemoval).
            std::lock_guard guard(lock);
            last = count() == static_cast<long>(allApps_.size());
        }
        if (last) {
            if (findsRemains_)
                findGoneApps(run, bundleWalk.valid() ? std::optional(bundleWalk.get()) : std::nullopt);
            if (const auto target = delegate())
                target->allAppsDidScan();
            return;
        }
    }
}

void UninstallAppManager::scanOnly(const Apps& chosen)
{
    std::lock_guard guard(lock);
    Apps others;
    for (const auto* apps : {&allApps_, &otherInstalledApps_})
        for (const auto& app : *apps)
            if (std::find(chosen.begin(), chosen.end(), app) == chosen.end() && std::find(others.begin(), others.end(), app) == others.end())
                others.push_back(app);
    otherInstalledApps_ = std::move(others);
    allApps_ = chosen;
    setIndex(0);
    setCount(0);
}

void UninstallAppManager::applicationsFound(std::vector<std::string> bundles)
{
    std::weak_ptr<UninstallAppManager> weakSelf = weak_from_this();
    scanerQueue.async([weakSelf, bundles = std::move(bundles)] {
        const auto self = weakSelf.lock();
        if (!self)
            return;
        const std::set<std::string> found(bundles.begin(), bundles.end());
        const Apps listed = self->allApps();
        std::set<std::string> known;
        Apps kept;
        for (const auto& app : listed) {
            const std::string bundle = app->bundlePath.value_or("");
            known.insert(bundle);
            if (found.count(bundle))
                kept.push_back(app);
        }
        Apps came;
        for (const auto& bundle : bundles)
            if (!known.count(bundle))
                came.push_back(BundleReader::record(bundle));
        if (came.empty() && kept.size() == listed.size())
            return;
        {
            std::lock_guard guard(self->lock);
            // Everything kept is scanned; what came is scanned next, from where the loop stands.
            self->allApps_ = kept;
            self->setIndex(static_cast<long>(kept.size()));
            self->setCount(static_cast<long>(kept.size()));
            self->allApps_.insert(self->allApps_.end(), came.begin(), came.end());
        }
        if (const auto target = self->delegate())
            target->appsDidChange();
        // What came is scanned, and the remains are found again after it; when applications only
        // went, what they left is found at once.
        if (came.empty())
            self->findRemainsAgain();
        else
            self->runScanLoop();
    });
}

void UninstallAppManager::afterRemovals(std::function<void()> task)
{
    deleteQueue.async(std::move(task));
}

void UninstallAppManager::waitForScans()
{
    scanerQueue.sync([] {});
}

void UninstallAppManager::waitForRemovals()
{
    deleteQueue.sync([] {});
}

std::future<BundleWalk::Found> UninstallAppManager::startBundleWalk()
{
    const std::weak_ptr<StopToken> stop = stop_;
    auto walk = [stop, roots = BundleWalk::defaultRoots(), deadline = std::chrono::steady_clock::now() + RemainsFinder::kWalkTime] {
        const auto token = stop.lock();
        return BundleWalk::bundlesUnder(roots, deadline, token.get());
    };
    try {
        return std::async(std::launch::async, walk);
    } catch (const std::system_error&) {
        // No thread to spare: the finder walks on this one when the scan is done.
        return {};
    }
}

void UninstallAppManager::findRemainsAgain()
{
    if (findsRemains_)
        findGoneApps(nullptr, startBundleWalk().get());
    if (const auto target = delegate())
        target->allAppsDidScan();
}

void UninstallAppManager::findGoneApps(std::shared_ptr<ScanIndex> run, std::optional<BundleWalk::Found> walkedBundles)
{
    Apps installed, others;
    {
        std::lock_guard guard(lock);
        installed = allApps_;
        others = otherInstalledApps_;
    }
    if (!run)
        run = makeRun(installed);
    std::set<std::string> offered;
    for (const auto& app : installed)
        for (const auto& group : app->fileGroups)
            for (const auto& item : group->fileItem)
                offered.insert(item->filePath);
    std::vector<std::string> otherIdentifiers;
    for (const auto& app : others)
        otherIdentifiers.push_back(app->bundleIdentifier());
    const bool walkComplete = !walkedBundles || walkedBundles->complete;
    auto bundles = walkedBundles ? std::optional(std::move(walkedBundles->bundles)) : std::nullopt;
    std::vector<std::string> walkedIdentifiers;
    for (const auto& bundle : bundles.value_or(std::vector<std::string>{}))
        walkedIdentifiers.push_back(run->bundleIdentifierAt(bundle));
    auto found = RemainsFinder(stop_, run).find(installed, otherIdentifiers, offered, std::move(bundles), walkComplete);
    // Applications whose bundles lie in a Trash: found with every rule, under their own names.
    std::set<BundleIdentifier> installedIdentifiers;
    for (const auto* apps : {&installed, &others})
        for (const auto& app : *apps)
            installedIdentifiers.emplace(app->bundleIdentifier());
    for (const auto& bundle : walkedIdentifiers)
        installedIdentifiers.emplace(bundle);
    TrashedRemains(stop_, run).addTo(found, trashedApps(), installedIdentifiers, offered, walkComplete);
    const auto rules = exclusions();
    for (const auto& app : found)
        rules->apply(*app);
    std::erase_if(found, [&](const auto& app) { return app->fileGroups.empty() || rules->protects(*app); });
    std::lock_guard guard(lock);
    goneApps_ = std::move(found);
}

std::shared_ptr<ScanIndex> UninstallAppManager::makeRun(const std::vector<std::shared_ptr<UninstallApp>>& scanned)
{
    reloadExclusions();
    // A bundle in a Trash is no installed application, but its claims on entries count.
    Apps trashed;
    for (const auto& bundle : TrashedApplications::bundles())
        trashed.push_back(BundleReader::record(bundle));
    auto apps = scanned;
    apps.insert(apps.end(), trashed.begin(), trashed.end());
    Apps others;
    {
        std::lock_guard guard(lock);
        trashedApps_ = std::move(trashed);
        others = otherInstalledApps_;
    }
    return std::make_shared<ScanIndex>(apps, others);
}

std::int64_t UninstallAppManager::sizeOfPath(const std::string& path, const UninstallAppManager* manager)
{
    return SizeWalk::sizeOfPath(path, manager ? manager->stop_.get() : nullptr);
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

namespace {

// A cancelled run takes nothing more of the application: its ticked items stay, and say so.
void leaveTicked(const UninstallApp& app, TrashRemoval& run)
{
    for (const auto& group : app.fileGroups)
        for (const auto& item : group->fileItem) {
            std::string why;
            if (item->isSelected)
                if (const auto real = platform::SystemLinks::resolveParents(item->filePath, why))
                    run.noteLeft(*real);
        }
}

// A reset leaves the bundle with what lies inside it: not chosen at all, so that the run neither
// plans nor records it.
void untickBundle(UninstallApp& app)
{
    const std::string bundle = app.bundlePath.value_or("");
    if (bundle.empty())
        return;
    for (const auto& group : app.fileGroups)
        for (const auto& item : group->fileItem)
            if (group->type == RkUninstallCategoryType::bundle || item->filePath == bundle || platform::path::isInside(item->filePath, bundle))
                item->isSelected = false;
}

// What the run may not take: all of a protected application and the items the exclusions cover
// now, noted as left (they were chosen). False when nothing of the application may go.
bool untickWhatStays(UninstallApp& app, const Exclusions& rules, TrashRemoval& run)
{
    if (rules.protects(app)) {
        app.isProtected = true;
        leaveTicked(app, run);
        app.setSelectionState(kSelectionOff);
        return false;
    }
    const std::string identifier = app.bundleIdentifier();
    for (const auto& group : app.fileGroups)
        for (const auto& item : group->fileItem) {
            if (!item->isSelected)
                continue;
            if (rules.excludes(item->filePath, identifier)) {
                std::string why;
                if (const auto real = platform::SystemLinks::resolveParents(item->filePath, why))
                    run.noteLeft(*real);
                item->isSelected = false;
            }
        }
    return true;
}

}  // namespace

void UninstallAppManager::removeApps(Apps apps, RemovalOptions options)
{
    std::weak_ptr<UninstallAppManager> weakSelf = weak_from_this();
    const auto cancelled = std::make_shared<std::atomic<bool>>(false);
    {
        std::lock_guard guard(recordMutex_);
        removalCancelled_ = cancelled;
    }
    std::function<bool()> startDaemon = [cancelled] { return !cancelled->load(); };
    if (options.daemonStarter)
        startDaemon = [start = DaemonStart(options.daemonStarter, cancelled)] { return start.await(); };
    deleteQueue.async([weakSelf, apps = std::move(apps), startDaemon, cancelled, options] {
        const auto self = weakSelf.lock();
        if (!self)
            return;
        const auto link = self->xpcServiceObj();
        const double total = static_cast<double>(apps.size());
        double handled = 0;
        if (options.keepsBundle)
            for (const auto& app : apps)
                untickBundle(*app);
        const auto run = std::make_shared<TrashRemoval>(apps, options.removesImmediately, options.deletesWhereNoTrash);
        // The store as it is now: the tool or the agent may have scanned before a change.
        const auto rules = self->reloadExclusions();
        std::optional<std::set<BundleIdentifier>> installed;
        RemainsRecheck::Kept kept;
        for (const auto& app : apps) {
            // Remains are taken only while their application is still gone and they are the
            // files judged: an updater may have put it back since.
            if (app->isGone()) {
                if (!installed)
                    installed = RemainsRecheck::installedIdentifiers();
                const auto stays = RemainsRecheck::apply(*app, *installed);
                for (const auto* paths : {&stays.installed, &stays.replaced})
                    for (const auto& path : *paths) {
                        std::string why;
                        if (const auto real = platform::SystemLinks::resolveParents(path, why))
                            run->noteLeft(*real);
                    }
                kept.installed.insert(kept.installed.end(), stays.installed.begin(), stays.installed.end());
                kept.replaced.insert(kept.replaced.end(), stays.replaced.begin(), stays.replaced.end());
            }
            if (cancelled->load()) {
                leaveTicked(*app, *run);
                continue;
            }
            if (!untickWhatStays(*app, *rules, *run))
                continue;
            UninstallDelete engine(self, link, app);
            engine.run = run;
            engine.startDaemon = startDaemon;
            const bool running = engine.isAppRunning();
            const bool sandboxed = Utility::isSandboxed();
            if (running && !sandboxed) {
                const auto target = self->delegate();
                if (!target || !target->shouldForceQuit(app))
                    continue;
                const std::string bundle = app->bundlePath.value_or("");
                // The user's own processes are the user's to end; the daemon is asked only for
                // what still runs then (another user's).
                engine.quitOwnProcesses();
                if (engine.isAppRunning() && platform::fs::exists(bundle) && startDaemon())
                    awaitDaemonReply(*link, [&](UninstallServiceprotocol& daemon, auto reply) { daemon.KillProcessWithBundlePath(bundle, reply); });
                if (cancelled->load()) {
                    leaveTicked(*app, *run);
                    continue;
                }
            }
            if (const auto target = self->delegate()) {
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
            self->lastRemoval_->leftAsInstalled = std::move(kept.installed);
            self->lastRemoval_->leftAsReplaced = std::move(kept.replaced);
        }
        self->pruneAfterRemoval();
        if (const auto target = self->delegate())
            target->uninstallProgress(eDeleteCompleted, 1.0, 1.0);
    });
}

void UninstallAppManager::pruneAfterRemoval()
{
    // The files are looked at here, off the main thread; the screens only take the lists anew.
    // One not yet scanned is the scan queue's to write.
    const Apps listed = allApps(), gone = goneApps();
    for (const auto* apps : {&listed, &gone})
        for (const auto& app : *apps)
            if (app->isReady)
                app->dropItems([](const UnFileItem& item) { return !platform::fs::linkStatus(item.filePath); });
    std::lock_guard guard(lock);
    const auto emptied = [](const auto& app) { return app->fileGroups.empty() && app->isReady; };
    // A scanned application is one the loop has claimed: the loop's place moves back with it.
    const long dropped = static_cast<long>(std::erase_if(allApps_, emptied));
    setIndex(std::max(0L, index() - dropped));
    setCount(std::max(0L, count() - dropped));
    std::erase_if(goneApps_, emptied);
}

void UninstallAppManager::putBack(RemovalRecord record, std::function<void(PutBack::Report)> done)
{
    std::weak_ptr<UninstallAppManager> weakSelf = weak_from_this();
    deleteQueue.async([weakSelf, record = std::move(record), done = std::move(done)]() mutable {
        const auto self = weakSelf.lock();
        if (!self)
            return;
        auto refused = std::make_shared<bool>(false);
        const auto daemon = Utility::isSandboxed() ? PutBack::Daemon{}
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

void UninstallAppManager::selectForReset(UninstallApp& app)
{
    const std::string bundle = app.bundlePath.value_or("");
    const bool allowed = !app.isProtected && !bundle.empty();
    for (const auto& group : app.fileGroups)
        for (const auto& item : group->fileItem)
            item->isSelected = allowed && group->type != RkUninstallCategoryType::bundle && item->filePath != bundle &&
                               !platform::path::isInside(item->filePath, bundle);
}

void UninstallAppManager::cancelRemoval()
{
    std::lock_guard guard(recordMutex_);
    removalCancelled_->store(true);
}

std::optional<RemovalRecord> UninstallAppManager::lastRemoval()
{
    std::lock_guard guard(recordMutex_);
    return lastRemoval_;
}
