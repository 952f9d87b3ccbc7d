#pragma once

#include "app/catalogue/LockedValue.h"
#include "app/records/UninstallApp.h"
#include "app/scanner/BundleWalk.h"
#include "app/scanner/Exclusions.h"
#include "app/scanner/StopToken.h"
#include "app/catalogue/UninstallDelegate.h"
#include "app/removal/PutBack.h"
#include "app/removal/RemovalRecord.h"
#include "platform/DispatchQueue.h"
#include "xpc/UninstallServiceprotocol.h"
#include "xpc/XPCRemoteObject.h"

#include <atomic>
#include <functional>
#include <future>
#include <optional>
#include <string>
#include <memory>
#include <mutex>
#include <vector>

class ScanIndex;

// The catalogue of installed applications. It owns the records, the scan queue and the delete
// queue, and reports to one delegate (the list screen, the tool's reporter, the agent's listener).
// Everything it knows is read through calls that copy under its lock; nothing outside changes its
// state but through the operations below.
//
// Threads: discovery runs on the caller's thread (a global queue); scans run on scanerQueue and
// removals on deleteQueue, one application at a time.
class UninstallAppManager : public std::enable_shared_from_this<UninstallAppManager> {
public:
    using Apps = std::vector<std::shared_ptr<UninstallApp>>;

    // The process-wide catalogue, made on first use and never destroyed.
    static const std::shared_ptr<UninstallAppManager>& shared();
    // A catalogue of its own (tests, the command-line tool, the agent).
    static std::shared_ptr<UninstallAppManager> make();

    // The installed applications listed, in the order found.
    Apps allApps() const;
    // The remains of applications that are gone, one record per application, nothing ticked.
    // Filled by the scan loop after the last installed application, before allAppsDidScan.
    Apps goneApps() const;
    // The applications whose bundles lie in a Trash, read at the start of each scan run.
    Apps trashedApps() const;
    // Position in allApps of the next application to scan, and how many have been scanned.
    long index() const { return _index.get(); }
    long count() const { return _count.get(); }

    void setDelegate(std::weak_ptr<UninstallDelegate> delegate);
    // Whether the scan loop looks for goneApps (on by default); callers that only want installed
    // applications turn it off and save the walk of the home.
    void setFindsRemains(bool finds);
    // The exclusions the catalogue goes by: read from the store at discovery, at each scan run and
    // removal run, and by applyExclusions.
    std::shared_ptr<const Exclusions> exclusions() const;
    // After the store changed: reads it again and finds on deleteQueue what it now excludes; then,
    // on the main queue (the screens read the records there), drops that from the scanned records
    // and the remains, marks the protected applications and unticks them, all inside the delegate's
    // changeListedApps. deleteQueue goes on once that is done; the main thread must therefore not
    // wait for deleteQueue meanwhile. `done` (may be empty) runs on the main queue after it.
    void applyExclusions(std::function<void()> done = {});
    // The token scans and size walks go on by; held weakly by them.
    std::weak_ptr<StopToken> stopToken() const { return stop_; }
    // Scans and size walks end at their next step; the catalogue scans no more.
    void stopScanning() { stop_->stop(); }

    // Discovers the installed applications, appends their records to allApps, tells the delegate and
    // queues the scan loop on scanerQueue. Blocks while it walks; call it from a global queue.
    void loadApps();
    // The discovery part of loadApps alone (appsDidLoad included), for callers that scan themselves.
    void discoverApps();
    // Forgets every record and scan, so that loadApps starts afresh.
    void startOver();
    // Lists only `chosen` (found by discoverApps, or made by the caller) and scans them from the
    // start; the applications listed before and not chosen stay installed: their claims on entries
    // still count.
    void scanOnly(const Apps& chosen);
    // On the calling thread: scans every listed application and finds the remains of gone ones
    // (also when nothing is installed).
    void scanAndFindRemains();

    // Scans the applications of allApps from `index` on, one at a time, on the calling thread:
    // each is marked ready and reported with appDidScan; after the last, allAppsDidScan.
    void runScanLoop();
    // Finds the remains of gone applications with the scan run `run` (a new one when null) and
    // puts them in goneApps; what the scan gave the applications of allApps is never a remain.
    // `walkedBundles`: what BundleWalk found below its default roots, when it ran beforehand (the
    // remains are not certain when it ran out of time).
    void findGoneApps(std::shared_ptr<ScanIndex> run = nullptr, std::optional<BundleWalk::Found> walkedBundles = std::nullopt);
    // The application folders now hold `bundles`: on scanerQueue, the records of applications that
    // went leave allApps and those of new ones join it (appsDidChange), then the new ones are
    // scanned, or the remains found again when applications only went (allAppsDidScan at the end).
    void applicationsFound(std::vector<std::string> bundles);
    // Runs `task` on deleteQueue after what is queued there.
    void afterRemovals(std::function<void()> task);
    // Blocks until what is queued on scanerQueue, or on deleteQueue, has run.
    void waitForScans();
    void waitForRemovals();

    // The link to the daemon, made on first use and kept; its errors are printed.
    std::shared_ptr<XPCRemoteObject<UninstallServiceprotocol>> xpcServiceObj();

    struct RemovalOptions {
        // Deleted at once instead of moved into the Trash of their volume with a record Put Back
        // can use.
        bool removesImmediately = false;
        // Where no Trash can take an item, it is deleted only when the user agreed; otherwise left.
        bool deletesWhereNoTrash = false;
        // Makes sure the daemon runs (installing it asks an administrator). Called at most once a
        // run, on deleteQueue, and only when the run first needs the daemon: an item the user's
        // rights did not take, a launch job to unload or a process to quit. None: the daemon is
        // asked as it is.
        std::function<void()> daemonStarter;
        // A reset: the bundle and everything inside it stay, whatever is ticked.
        bool keepsBundle = false;
    };
    // Removes the applications one after the other on deleteQueue and returns at once. A running
    // application is quit first when the delegate agrees (outside the sandbox), or skipped. Progress
    // goes to the delegate: eDeleting on the main queue before each, eDeleteCompleted at the end.
    // A gone application's remains are looked at again just before (RemainsRecheck): what is no
    // longer what was judged stays, and the record says why. Before eDeleteCompleted the catalogue
    // drops the items no longer on disk, and the scanned applications and remains left with none.
    void removeApps(Apps apps, RemovalOptions options);
    void removeApps(Apps apps) { removeApps(std::move(apps), RemovalOptions{}); }
    // Ticks what a reset takes: every related item but the bundle and what lies inside it (those
    // are unticked). Nothing for a protected application.
    static void selectForReset(UninstallApp& app);
    // Ends the removal under way: a wait for the daemon ends at once, nothing more is asked of it,
    // and the applications not yet begun stay as they are (their items left in the record). Any
    // thread.
    void cancelRemoval();
    // The record of the last removal run, once it has ended (nullopt before).
    std::optional<RemovalRecord> lastRemoval();

    // Puts a recorded removal back on deleteQueue (through the daemon for what the user's rights do
    // not reach, outside the sandbox) and returns at once; `done` gets the report on the main queue.
    void putBack(RemovalRecord record, std::function<void(PutBack::Report)> done);

    // The scan's size measure (SizeWalk::sizeOfPath), governed by `manager`'s stop token.
    static std::int64_t sizeOfPath(const std::string& path, const UninstallAppManager* manager);

private:
    UninstallAppManager() = default;
    // BundleWalk over its default roots on a thread of its own; an invalid future when no thread
    // could be started.
    std::future<BundleWalk::Found> startBundleWalk();
    std::shared_ptr<ScanIndex> makeRun(const Apps& scanned);
    void findRemainsAgain();
    void pruneAfterRemoval();
    std::shared_ptr<const Exclusions> reloadExclusions();
    void setIndex(long value) { _index.set(value); }
    void setCount(long value) { _count.set(value); }
    std::shared_ptr<UninstallDelegate> delegate() const;

    // Guards the lists and the claim of the next application to scan.
    mutable std::mutex lock;
    Apps allApps_;
    // Installed applications that are not listed (the command-line tool scans only the chosen
    // ones): their claims on entries count as any installed application's.
    Apps otherInstalledApps_;
    Apps goneApps_;
    Apps trashedApps_;
    std::shared_ptr<const Exclusions> exclusions_ = std::make_shared<Exclusions>();
    std::atomic<bool> findsRemains_{true};
    std::weak_ptr<UninstallDelegate> delegate_;
    LockedValue<long> _index{0};
    LockedValue<long> _count{0};
    std::shared_ptr<StopToken> stop_ = std::make_shared<StopToken>();
    dispatch::SerialQueue scanerQueue{"com.uninstatll.scaner"};
    dispatch::SerialQueue deleteQueue{"com.uninstatll.delete"};
    std::mutex linkMutex_;
    std::shared_ptr<XPCRemoteObject<UninstallServiceprotocol>> link_;
    std::mutex recordMutex_;
    std::optional<RemovalRecord> lastRemoval_;
    std::shared_ptr<std::atomic<bool>> removalCancelled_ = std::make_shared<std::atomic<bool>>(false);
};
