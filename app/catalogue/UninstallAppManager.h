#pragma once

#include "app/catalogue/LockedValue.h"
#include "app/records/UninstallApp.h"
#include "app/scanner/BundleWalk.h"
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
// queue, and reports to one delegate (the list screen).
//
// Threads: discovery runs on the caller's thread (a global queue); scans run on scanerQueue and
// removals on deleteQueue, one application at a time. allApps is changed only by discovery and, once
// a removal run has finished, by the main thread.
class UninstallAppManager : public StopToken, public std::enable_shared_from_this<UninstallAppManager> {
public:
    // The process-wide catalogue, made on first use and never destroyed.
    static const std::shared_ptr<UninstallAppManager>& shared();
    // A catalogue of its own (tests, the command-line tool).
    static std::shared_ptr<UninstallAppManager> make();

    std::vector<std::shared_ptr<UninstallApp>> allApps;
    // Installed applications that are not in allApps (the command-line tool scans only the chosen
    // ones): their claims on entries count as any installed application's.
    std::vector<std::shared_ptr<UninstallApp>> otherInstalledApps;
    // Scans only `chosen` of `catalogue`; the others' claims still count.
    void scanOnly(const std::vector<std::shared_ptr<UninstallApp>>& chosen,
                  const std::vector<std::shared_ptr<UninstallApp>>& catalogue);
    // The remains of applications that are gone, one record per application, nothing ticked.
    // Filled by the scan loop after the last installed application, before allAppsDidScan.
    std::vector<std::shared_ptr<UninstallApp>> goneApps;
    // The applications whose bundles lie in a Trash, read at the start of each scan run.
    std::vector<std::shared_ptr<UninstallApp>> trashedApps;
    // Whether the scan loop looks for goneApps; callers that only want installed applications
    // (the command-line scan and uninstall) turn it off and save the walk of the home.
    bool findsRemains = true;
    // Scans and size walks go on only while continue_ (of StopToken) is true. Sampled without a lock
    // by design.
    std::weak_ptr<UninstallDelegate> delegate;
    LockedValue<long> _index{0};
    LockedValue<long> _count{0};
    std::mutex lock;
    dispatch::SerialQueue scanerQueue{"com.uninstatll.scaner"};
    dispatch::SerialQueue deleteQueue{"com.uninstatll.delete"};

    long index() const { return _index.get(); }
    void setIndex(long value) { _index.set(value); }
    long count() const { return _count.get(); }
    void setCount(long value) { _count.set(value); }

    // Discovers the installed applications, appends their records to allApps, tells the delegate and
    // queues the scan loop on scanerQueue. Blocks while it walks; call it from
    // a global queue.
    void loadApps();
    // The discovery part of loadApps alone (appsDidLoad included), for callers that scan themselves.
    void discoverApps();

    // Scans the applications of allApps from `index` on, one at a time, on the calling thread:
    // each is marked ready and reported with appDidScan; after the last, allAppsDidScan.
    void runScanLoop();
    // Finds the remains of gone applications with the scan run `run` (a new one when null) and
    // puts them in goneApps; what the scan gave the applications of allApps is never a remain.
    // `walkedBundles`: what BundleWalk found below its default roots, when it ran beforehand (the
    // remains are not certain when it ran out of time).
    void findGoneApps(std::shared_ptr<ScanIndex> run = nullptr, std::optional<BundleWalk::Found> walkedBundles = std::nullopt);
    // On scanerQueue, once applications went and none came: finds the remains again (when it finds
    // remains at all) and tells the delegate allAppsDidScan.
    void findRemainsAgain();

    // The link to the daemon, made on first use and kept; its errors are printed.
    std::shared_ptr<XPCRemoteObject<UninstallServiceprotocol>> xpcServiceObj();

    // How removeApps takes items: into the Trash of their volume with a record Put Back can use
    // (the default), or deleted at once. Where no Trash can take an item it is deleted only when
    // deletesWhereNoTrash says the user agreed; otherwise it is left. Set before removeApps.
    std::atomic<bool> removesImmediately{false};
    std::atomic<bool> deletesWhereNoTrash{false};
    // Makes sure the daemon runs (installing it asks an administrator). removeApps calls it at most
    // once a run, on deleteQueue, and only when the run first needs the daemon: an item the user's
    // rights did not take, a launch job to unload or a process to quit. None: the daemon is asked
    // as it is. Set before removeApps.
    std::function<void()> daemonStarter;
    // Ends the removal under way: a wait for the daemon ends at once, nothing more is asked of it,
    // and the applications not yet begun stay as they are (their items left in the record). Any
    // thread.
    void cancelRemoval();
    // The record of the last removal run, once it has ended (nullopt before).
    std::optional<RemovalRecord> lastRemoval();

    // Puts a recorded removal back on deleteQueue (through the daemon for what the user's rights do
    // not reach, outside the sandbox) and returns at once; `done` gets the report on the main queue.
    void putBack(RemovalRecord record, std::function<void(PutBack::Report)> done);

    // Removes the applications one after the other on deleteQueue and returns at once. A running
    // application is quit first when the delegate agrees (outside the sandbox), or skipped. Progress
    // goes to the delegate: eDeleting on the main queue before each, eDeleteCompleted at the end.
    // A gone application's remains are looked at again just before (RemainsRecheck): what is no
    // longer what was judged stays, and the record says why.
    void removeApps(std::vector<std::shared_ptr<UninstallApp>> apps);

    // The scan's size measure (SizeWalk::sizeOfPath), governed by `manager`'s continue_.
    static std::int64_t sizeOfPath(const std::string& path, const UninstallAppManager* manager);

private:
    UninstallAppManager() = default;
    // BundleWalk over its default roots on a thread of its own; an invalid future when no thread
    // could be started.
    std::future<BundleWalk::Found> startBundleWalk();
    std::shared_ptr<ScanIndex> makeRun(const std::vector<std::shared_ptr<UninstallApp>>& scanned);
    std::mutex linkMutex_;
    std::shared_ptr<XPCRemoteObject<UninstallServiceprotocol>> link_;
    std::mutex recordMutex_;
    std::optional<RemovalRecord> lastRemoval_;
    std::shared_ptr<std::atomic<bool>> removalCancelled_ = std::make_shared<std::atomic<bool>>(false);
};
