#include "agent/TrashWatch.h"

#include "agent/RemainsJudge.h"
#include "agent/RunningBundle.h"
#include "app/catalogue/RemovedApplicationsSetting.h"
#include "app/locations/SearchFilePath.h"
#include "platform/PathUtil.h"

#include <QSocketNotifier>

#include <algorithm>
#include <mutex>
#include <utility>

namespace path = platform::path;

namespace {

// A folder that never stops changing (a busy Downloads) must not keep the waiting ones from being
// judged: past this many settle times they are judged anyway.
constexpr int kLongestWait = 8;
// Nor a bundle that never stops changing (a program writing into its own bundle): a copy still
// being written holds the judgement back this many settle times at most.
constexpr int kLongestCopy = 20;
// What a bundle moved into the Trash as a whole waits, so that applications dragged there
// together are judged together.
constexpr std::chrono::milliseconds kWholeMoveSettle{300};
// Discovery finds bundles at most three levels below an application folder: the folders that can
// hold one lie at most two below it.
constexpr int kDeepestFolder = 2;

}  // namespace

// How a judgement on the queue finds its way back, if the watch still exists.
struct TrashWatch::Link {
    std::mutex mutex;
    TrashWatch* owner = nullptr;
};

TrashWatch::TrashWatch(ReportHandler onReport, QObject* parent)
    : QObject(parent), onReport_(std::move(onReport)), link_(std::make_shared<Link>())
{
    link_->owner = this;
    settle_.setSingleShot(true);
    connect(&settle_, &QTimer::timeout, this, [this] { judgeWaiting(); });
    connect(&rescan_, &QTimer::timeout, this, [this] { rescanUnwatched(); });
    runningCheck_.setInterval(std::chrono::seconds(10));
    connect(&runningCheck_, &QTimer::timeout, this, [this] { checkRunning(); });
}

bool TrashWatch::Waiting::movedWhole() const
{
    return trashedBefore || std::any_of(left.begin(), left.end(), [this](const FileIdentity& folder) { return trashed.count(folder) > 0; });
}

TrashWatch::~TrashWatch()
{
    std::lock_guard guard(link_->mutex);
    link_->owner = nullptr;
}

void TrashWatch::start()
{
    trash_ = path::appending(path::homeDirectory(), ".Trash");
    folders_ = SearchFilePath::applicationFolders();
    folders_.push_back(trash_);
    if (watcher_.descriptor() >= 0) {
        notifier_ = std::make_unique<QSocketNotifier>(watcher_.descriptor(), QSocketNotifier::Read);
        connect(notifier_.get(), &QSocketNotifier::activated, this, [this] { readChanges(); });
    }
    // Watched before the first look, so that nothing happening in between is missed.
    watchFolders(folders_);
    for (const auto& folder : folders_) {
        places_[folder];
        look(folder, false);
    }
    rescan_.setInterval(rescanInterval_);
}

void TrashWatch::watchFolders(const std::vector<std::string>& folders)
{
    for (const auto& folder : watcher_.watch(folders))
        if (std::find(unwatched_.begin(), unwatched_.end(), folder) == unwatched_.end())
            unwatched_.push_back(folder);
    if (!unwatched_.empty() && !rescan_.isActive())
        rescan_.start(rescanInterval_);
}

void TrashWatch::readChanges()
{
    std::vector<std::string> gone;
    for (const auto& change : watcher_.readChanges()) {
        look(change.folder);
        if (change.folderGone)
            gone.push_back(change.folder);
    }
    // Watched again where it is still looked at: an application folder always (one that went is
    // rescanned until it is back), a folder below only while its parent still holds one of its name.
    std::erase_if(gone, [this](const std::string& folder) { return !places_.count(folder); });
    if (!gone.empty())
        watchFolders(gone);
}

void TrashWatch::rescanUnwatched()
{
    std::vector<std::string> folders = unwatched_;
    unwatched_.clear();
    std::erase_if(folders, [this](const std::string& folder) { return !places_.count(folder); });
    watchFolders(folders);
    if (unwatched_.empty())
        rescan_.stop();
    for (const auto& folder : folders)
        look(folder);
}

void TrashWatch::look(const std::string& folder, bool report)
{
    const auto found = places_.find(folder);
    if (found == places_.end())
        return;
    Place& place = found->second;
    const bool inTrash = folder == trash_;
    auto now = FolderApplications::list(folder);
    if (report) {
        if (inTrash) {
            for (const auto& [bundle, application] : now.applications)
                if (!place.applications.count(bundle))
                    addCandidate(application, true);
        } else {
            for (const auto& [bundle, application] : place.applications)
                if (!now.applications.count(bundle))
                    addCandidate(application, false);
            for (const auto& bundle : now.unreadable)
                if (std::find(place.unreadable.begin(), place.unreadable.end(), bundle) == place.unreadable.end())
                    noteFresh(bundle);
            for (const auto& [bundle, application] : now.applications) {
                if (place.applications.count(bundle))
                    continue;
                noteFresh(bundle);
                if (onInstalled_)
                    onInstalled_(application.identifier);
            }
        }
    }
    place.applications = std::move(now.applications);
    place.unreadable = std::move(now.unreadable);
    if (place.depth >= kDeepestFolder)
        return;
    const std::vector<std::string> before = std::exchange(place.folders, now.folders);
    auto isNew = [&before](const std::string& sub) { return std::find(before.begin(), before.end(), sub) == before.end(); };
    // Folders in the Trash are looked into once, as they come, and not watched: a full Trash would
    // take up watches the user's other programs need, for nothing that changes there.
    if (inTrash) {
        if (report)
            for (const auto& sub : now.folders)
                if (isNew(sub))
                    lookIntoTrashed(sub, 1);
        return;
    }
    const int depth = place.depth;
    for (const auto& sub : before)
        if (std::find(now.folders.begin(), now.folders.end(), sub) == now.folders.end())
            untrack(sub);
    for (const auto& sub : now.folders)
        if (!places_.count(sub) || !watcher_.isWatching(sub))
            track(sub, depth + 1, report);
}

void TrashWatch::lookIntoTrashed(const std::string& folder, int depth)
{
    const auto now = FolderApplications::list(folder);
    for (const auto& [bundle, application] : now.applications)
        addCandidate(application, true);
    if (depth < kDeepestFolder)
        for (const auto& sub : now.folders)
            lookIntoTrashed(sub, depth + 1);
}

void TrashWatch::track(const std::string& folder, int depth, bool report)
{
    const bool known = places_.count(folder) > 0;
    places_[folder].depth = depth;
    watchFolders({folder});
    // A folder known already was watched again after it went and came back: what it holds now is
    // compared with what it held.
    look(folder, report || known);
}

void TrashWatch::untrack(const std::string& folder)
{
    const auto found = places_.find(folder);
    if (found == places_.end())
        return;
    Place place = std::move(found->second);
    places_.erase(found);
    std::erase(unwatched_, folder);
    for (const auto& [bundle, application] : place.applications)
        addCandidate(application, false);
    for (const auto& sub : place.folders)
        untrack(sub);
}

void TrashWatch::addCandidate(const ShelvedApplication& application, bool inTrash)
{
    const auto now = std::chrono::steady_clock::now();
    if (waiting_.empty())
        firstWaiting_ = now;
    auto& waiting = waiting_[BundleIdentifier(application.identifier)];
    (inTrash ? waiting.trashed : waiting.left).insert(application.identity);
    auto& candidate = waiting.application;
    // The bundle in the Trash is the one to describe the application while it is there; the icon
    // of a bundle that went is gone with it.
    if (candidate.identifier.empty() || inTrash) {
        candidate.identifier = application.identifier;
        candidate.displayName = application.displayName;
        candidate.iconPath = inTrash ? application.iconPath : std::string();
        candidate.bundlePath = application.bundlePath;
    }
    lastChange_ = now;
    if (!judging_)
        scheduleJudging();
}

void TrashWatch::noteFresh(const std::string& bundle)
{
    // Walked only when something waits for it (lastBundleChange); one that nothing waited for
    // that long no longer matters.
    const auto now = std::chrono::steady_clock::now();
    std::erase_if(fresh_, [&](const auto& entry) { return now - entry.second.since > settleTime_ * kLongestCopy; });
    fresh_[bundle] = Fresh{BundleSnapshot{}, now};
}

std::chrono::steady_clock::time_point TrashWatch::lastBundleChange()
{
    const auto now = std::chrono::steady_clock::now();
    std::chrono::steady_clock::time_point last{};
    std::set<std::string> becameReadable;
    for (auto it = fresh_.begin(); it != fresh_.end();) {
        auto snapshot = BundleSnapshot::of(it->first);
        if (snapshot != it->second.snapshot) {
            if (snapshot.readable && !it->second.snapshot.readable)
                becameReadable.insert(path::deletingLastComponent(it->first));
            it->second = Fresh{std::move(snapshot), now};
        }
        if (!it->second.snapshot.exists || now - it->second.since >= settleTime_ * 2) {
            it = fresh_.erase(it);
            continue;
        }
        last = std::max(last, it->second.since);
        ++it;
    }
    // Its Info.plist written last: the folder saw nothing of it, so it is looked at now.
    for (const auto& folder : becameReadable)
        look(folder);
    return last;
}

std::chrono::steady_clock::time_point TrashWatch::dueAt(const Waiting& candidate, std::chrono::steady_clock::time_point bundleChange) const
{
    const auto settle = candidate.movedWhole() ? std::min(settleTime_, std::chrono::milliseconds(kWholeMoveSettle)) : settleTime_;
    const auto quiet = std::min(lastChange_ + settle, firstWaiting_ + settle * kLongestWait);
    if (bundleChange == std::chrono::steady_clock::time_point{})
        return quiet;
    return std::max(quiet, std::min(bundleChange + settle, firstWaiting_ + settleTime_ * kLongestCopy));
}

void TrashWatch::scheduleJudging()
{
    if (waiting_.empty())
        return;
    std::chrono::steady_clock::time_point bundleChange{};
    for (const auto& [bundle, fresh] : fresh_)
        bundleChange = std::max(bundleChange, fresh.since);
    auto first = std::chrono::steady_clock::time_point::max();
    for (const auto& [identifier, candidate] : waiting_)
        first = std::min(first, dueAt(candidate, bundleChange));
    const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(first - std::chrono::steady_clock::now());
    settle_.start(std::max(wait, std::chrono::milliseconds(1)));
}

void TrashWatch::judgeWaiting()
{
    if (judging_ || waiting_.empty())
        return;
    // A bundle still being written may be the application coming back: what waits for it is
    // judged once it has been quiet for the settle time.
    const auto bundleChange = lastBundleChange();
    const auto now = std::chrono::steady_clock::now();
    std::vector<RemovedApplication> candidates;
    for (auto it = waiting_.begin(); it != waiting_.end();) {
        if (dueAt(it->second, bundleChange) > now) {
            ++it;
            continue;
        }
        candidates.push_back(std::move(it->second.application));
        it = waiting_.erase(it);
    }
    if (candidates.empty()) {
        scheduleJudging();
        return;
    }
    judging_ = true;
    judgeQueue_.async([link = link_, candidates = std::move(candidates)] {
        std::vector<RemovedApplication> report;
        std::vector<RemovedApplication> stillRunning;
        if (RemovedApplicationsSetting::isOn())
            report = RemainsJudge::judge(candidates, &stillRunning);
        std::lock_guard guard(link->mutex);
        if (TrashWatch* owner = link->owner)
            QMetaObject::invokeMethod(
                owner, [owner, report = std::move(report), stillRunning = std::move(stillRunning)] { owner->finishJudging(report, stillRunning); },
                Qt::QueuedConnection);
    });
}

void TrashWatch::finishJudging(const std::vector<RemovedApplication>& report, const std::vector<RemovedApplication>& stillRunning)
{
    judging_ = false;
    ++judgedRounds_;
    for (const auto& application : stillRunning)
        running_[BundleIdentifier(application.identifier)] = application;
    if (!running_.empty() && !runningCheck_.isActive())
        runningCheck_.start();
    // Installed again while it was judged: no longer gone.
    std::vector<RemovedApplication> gone = report;
    std::erase_if(gone, [this](const RemovedApplication& application) { return isListed(application.identifier); });
    if (!gone.empty() && onReport_)
        onReport_(gone);
    // What came while the judgement ran waits its settle time from now.
    if (!waiting_.empty()) {
        firstWaiting_ = lastChange_ = std::chrono::steady_clock::now();
        scheduleJudging();
    }
}

bool TrashWatch::isListed(const std::string& identifier) const
{
    for (const auto& [folder, place] : places_) {
        if (folder == trash_)
            continue;
        for (const auto& [bundle, application] : place.applications)
            if (BundleIdentifier::same(application.identifier, identifier))
                return true;
    }
    return false;
}

void TrashWatch::checkRunning()
{
    for (auto it = running_.begin(); it != running_.end();) {
        if (RunningBundle::runsFrom(it->second.bundlePath)) {
            ++it;
            continue;
        }
        // Judged as if it had just gone to the Trash: waiting_ takes it unless it went again meanwhile.
        if (waiting_.empty())
            firstWaiting_ = lastChange_ = std::chrono::steady_clock::now();
        waiting_.emplace(it->first, Waiting{it->second, {}, {}, true});
        it = running_.erase(it);
        if (!judging_ && !settle_.isActive())
            scheduleJudging();
    }
    if (running_.empty())
        runningCheck_.stop();
}
