#include "agent/TrashWatch.h"

#include "agent/RemainsJudge.h"
#include "agent/RunningBundle.h"
#include "app/catalogue/RemovedApplicationsSetting.h"
#include "app/locations/SearchFilePath.h"
#include "platform/PathUtil.h"

#include <QSocketNotifier>

#include <algorithm>
#include <mutex>

namespace path = platform::path;

namespace {

// A folder that never stops changing (a busy Downloads) must not keep the waiting ones from being
// judged: past this many settle times they are judged anyway.
constexpr int kLongestWait = 8;

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
    for (const auto& folder : folders_)
        seen_[folder] = FolderApplications::list(folder);
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
    if (!gone.empty())
        watchFolders(gone);
}

void TrashWatch::rescanUnwatched()
{
    const std::vector<std::string> folders = unwatched_;
    unwatched_.clear();
    watchFolders(folders);
    if (unwatched_.empty())
        rescan_.stop();
    for (const auto& folder : folders)
        look(folder);
}

void TrashWatch::look(const std::string& folder)
{
    auto now = FolderApplications::list(folder);
    auto& before = seen_[folder];
    if (folder == trash_) {
        for (const auto& [bundle, application] : now)
            if (!before.count(bundle))
                addCandidate(application, true);
    } else {
        for (const auto& [bundle, application] : before)
            if (!now.count(bundle))
                addCandidate(application, false);
    }
    before = std::move(now);
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
