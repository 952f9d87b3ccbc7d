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
        }
    }
    place.applications = std::move(now.applications);
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
    if (waiting_.empty())
        firstWaiting_ = std::chrono::steady_clock::now();
    auto& candidate = waiting_[path::toLower(application.identifier)];
    // The bundle in the Trash is the one to describe the application while it is there; the icon
    // of a bundle that went is gone with it.
    if (candidate.identifier.empty() || inTrash) {
        candidate.identifier = application.identifier;
        candidate.displayName = application.displayName;
        candidate.iconPath = inTrash ? application.iconPath : std::string();
        candidate.bundlePath = application.bundlePath;
    }
    if (judging_)
        return;
    if (std::chrono::steady_clock::now() - firstWaiting_ < settleTime_ * kLongestWait || !settle_.isActive())
        settle_.start(settleTime_);
}

void TrashWatch::judgeWaiting()
{
    if (judging_ || waiting_.empty())
        return;
    std::vector<RemovedApplication> candidates;
    for (auto& [identifier, candidate] : waiting_)
        candidates.push_back(std::move(candidate));
    waiting_.clear();
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
        running_[path::toLower(application.identifier)] = application;
    if (!running_.empty() && !runningCheck_.isActive())
        runningCheck_.start();
    if (!report.empty() && onReport_)
        onReport_(report);
    // What came while the judgement ran waits its settle time from now.
    if (!waiting_.empty()) {
        firstWaiting_ = std::chrono::steady_clock::now();
        settle_.start(settleTime_);
    }
}

void TrashWatch::checkRunning()
{
    for (auto it = running_.begin(); it != running_.end();) {
        if (RunningBundle::runsFrom(it->second.bundlePath)) {
            ++it;
            continue;
        }
        // Judged as if it had just gone: waiting_ takes it unless it went again meanwhile.
        if (waiting_.empty())
            firstWaiting_ = std::chrono::steady_clock::now();
        waiting_.emplace(it->first, it->second);
        it = running_.erase(it);
        if (!judging_ && !settle_.isActive())
            settle_.start(settleTime_);
    }
    if (running_.empty())
        runningCheck_.stop();
}
