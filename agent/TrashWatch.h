#pragma once

#include "agent/BundleSnapshot.h"
#include "agent/FolderApplications.h"
#include "agent/RemovedApplication.h"
#include "platform/BundleIdentifier.h"
#include "platform/DispatchQueue.h"
#include "platform/FolderWatcher.h"

#include <QObject>
#include <QTimer>

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

class QSocketNotifier;

// Notices applications the user takes away: an .app that goes from an application folder
// discovery lists, or appears in ~/.Trash. Like discovery, it looks into plain folders down to
// three levels below each application folder (/Applications/Vendor/Tools/X.app); a folder that
// comes into the Trash is looked into as deep, so a vendor's folder dragged there, apps and all,
// counts too. Each such application waits until nothing has changed for the settle time (an
// updater takes the old copy away and puts a new one back, by a rename or file by file), and
// while a bundle that came into an application folder is still being written; then all that
// waited are judged together (RemainsJudge) and those that left something behind make one report.
// A bundle moved into the Trash as a whole (the folder that left an application folder is the
// one that came into the Trash) is a removal, not an update: it waits only a moment. An
// application that is installed again is told (the panel offering its remains goes). Folders
// that cannot be watched are looked at again every rescan interval instead. An application still
// running from the Trash is judged once it has quit.
// Lives on the main thread; the judging runs on a queue of its own.
class TrashWatch : public QObject {
public:
    using ReportHandler = std::function<void(const std::vector<RemovedApplication>&)>;
    using InstalledHandler = std::function<void(const std::string& identifier)>;

    explicit TrashWatch(ReportHandler onReport, QObject* parent = nullptr);
    ~TrashWatch() override;

    // Set before start(). Told of each application that comes into an application folder.
    void setInstalledHandler(InstalledHandler onInstalled) { onInstalled_ = std::move(onInstalled); }
    // How long nothing may change before what went is judged: 30 s, long enough for real updaters.
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
    // An application waiting to be judged, with the bundle folders seen leaving an application
    // folder and coming into the Trash.
    struct Waiting {
        RemovedApplication application;
        std::set<FileIdentity> left;
        std::set<FileIdentity> trashed;
        // Judged again after it quit: it went to the Trash before.
        bool trashedBefore = false;
        bool movedWhole() const;
    };

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
    // A bundle that came into (or is being rewritten in) an application folder: until it is
    // quiet, nothing is judged.
    void noteFresh(const std::string& bundle);
    // Looks at the fresh bundles again; those that went or stayed quiet long enough are dropped,
    // those that became readable are looked at in their folder. Returns when the last of them
    // changed (the epoch when none did).
    std::chrono::steady_clock::time_point lastBundleChange();
    // When a waiting application is due to be judged, given the last change of a fresh bundle.
    std::chrono::steady_clock::time_point dueAt(const Waiting& candidate, std::chrono::steady_clock::time_point bundleChange) const;
    // Arms the settle timer for the first waiting application to come due.
    void scheduleJudging();
    void judgeWaiting();
    // Whether an application folder holds a bundle with this identifier, as last looked at.
    bool isListed(const std::string& identifier) const;
    void finishJudging(const std::vector<RemovedApplication>& report, const std::vector<RemovedApplication>& stillRunning);
    // Those of `running_` that have quit wait to be judged.
    void checkRunning();

    ReportHandler onReport_;
    InstalledHandler onInstalled_;
    std::chrono::milliseconds settleTime_{std::chrono::seconds(30)};
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
        std::vector<std::string> unreadable;
    };
    std::map<std::string, Place> places_;
    std::map<BundleIdentifier, Waiting> waiting_;
    std::chrono::steady_clock::time_point firstWaiting_;
    std::chrono::steady_clock::time_point lastChange_;
    // Bundles that came into application folders, as last looked at, and since when they look so.
    struct Fresh {
        BundleSnapshot snapshot;
        std::chrono::steady_clock::time_point since;
    };
    std::map<std::string, Fresh> fresh_;
    // Gone from their folders but running from the Trash: judged once they quit.
    std::map<BundleIdentifier, RemovedApplication> running_;
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
