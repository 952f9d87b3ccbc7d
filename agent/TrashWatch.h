#pragma once

#include "agent/FolderApplications.h"
#include "agent/RemovedApplication.h"
#include "platform/DispatchQueue.h"
#include "platform/FolderWatcher.h"

#include <QObject>
#include <QTimer>

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class QSocketNotifier;

// Notices applications the user takes away: an .app that goes from an application folder
// discovery lists, or appears in ~/.Trash. Like discovery, it looks into plain folders down to
// three levels below each application folder (/Applications/Vendor/Tools/X.app); a folder that
// comes into the Trash is looked into as deep, so a vendor's folder dragged there, apps and all,
// counts too. Each such application waits until nothing has changed for the settle time (an
// update in place takes the old copy away and puts a new one back), then all that waited are
// judged together (RemainsJudge) and those that left something behind make one report. Folders that cannot be watched are looked at again every rescan interval instead. An
// application still running from the Trash is judged once it has quit.
// Lives on the main thread; the judging runs on a queue of its own.
class TrashWatch : public QObject {
public:
    using ReportHandler = std::function<void(const std::vector<RemovedApplication>&)>;

    explicit TrashWatch(ReportHandler onReport, QObject* parent = nullptr);
    ~TrashWatch() override;

    // Set before start().
    void setSettleTime(std::chrono::milliseconds time) { settleTime_ = time; }
    void setRescanInterval(std::chrono::milliseconds interval) { rescanInterval_ = interval; }
    // How often applications still running from the Trash are looked at again.
    void setRunningCheckInterval(std::chrono::milliseconds interval) { runningCheck_.setInterval(interval); }

    // Takes the first look at the folders and starts watching them.
    void start();

    // The folders looked at by the rescan rather than watched, now.
    const std::vector<std::string>& unwatchedFolders() const { return unwatched_; }
    // Whether the folder is watched as one that may hold applications.
    bool watches(const std::string& folder) const { return places_.count(folder) && watcher_.isWatching(folder); }
    // How many times waiting applications were judged so far, whatever came of it.
    int judgedRounds() const { return judgedRounds_; }
    // Nothing waits to be judged and no judgement runs.
    bool isIdle() const { return waiting_.empty() && !judging_; }
    // Applications waiting for their program, running from the Trash, to quit.
    std::size_t runningCount() const { return running_.size(); }

private:
    struct Link;

    void readChanges();
    void rescanUnwatched();
    void watchFolders(const std::vector<std::string>& folders);
    // Compares the folder with what was last seen of it; new candidates restart the settle time
    // unless `report` is false (the first look). Plain folders that appeared in it are watched and
    // looked into; of those that went, the applications went too.
    void look(const std::string& folder, bool report = true);
    void track(const std::string& folder, int depth, bool report);
    void untrack(const std::string& folder);
    // The applications in a folder that came into the Trash, and in the folders in it.
    void lookIntoTrashed(const std::string& folder, int depth);
    void addCandidate(const ShelvedApplication& application, bool inTrash);
    void judgeWaiting();
    void finishJudging(const std::vector<RemovedApplication>& report, const std::vector<RemovedApplication>& stillRunning);
    // Those of `running_` that have quit wait to be judged.
    void checkRunning();

    ReportHandler onReport_;
    std::chrono::milliseconds settleTime_{std::chrono::seconds(1)};
    std::chrono::milliseconds rescanInterval_{std::chrono::minutes(1)};
    std::string trash_;
    std::vector<std::string> folders_;
    std::vector<std::string> unwatched_;
    // A folder looked at: an application folder or the Trash (depth 0), or a plain folder below an
    // application folder.
    struct Place {
        int depth = 0;
        std::map<std::string, ShelvedApplication> applications;
        std::vector<std::string> folders;
    };
    std::map<std::string, Place> places_;
    // By identifier in lower case.
    std::map<std::string, RemovedApplication> waiting_;
    std::chrono::steady_clock::time_point firstWaiting_;
    // Gone from their folders but running from the Trash: judged once they quit.
    std::map<std::string, RemovedApplication> running_;
    bool judging_ = false;
    int judgedRounds_ = 0;
    platform::FolderWatcher watcher_;
    std::unique_ptr<QSocketNotifier> notifier_;
    QTimer settle_;
    QTimer rescan_;
    QTimer runningCheck_;
    std::shared_ptr<Link> link_;
    // Last, so that it finishes a running judgement first when the watch goes.
    dispatch::SerialQueue judgeQueue_{"com.qzt.ostrova.agent.judge"};
};
