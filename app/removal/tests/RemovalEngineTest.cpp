#include "app/bundles/BundleReader.h"
#include "app/catalogue/UninstallAppManager.h"
#include "app/catalogue/UninstallDelegate.h"
#include "app/records/ItemSizes.h"
#include "app/removal/PutBack.h"
#include "app/removal/RemovalRights.h"
#include "app/removal/UninstallDelete.h"
#include "app/scanner/UninstallScaner.h"
#include "fixtures/BackgroundProcess.h"
#include "fixtures/ChildProcess.h"
#include "fixtures/MacTree.h"
#include "fixtures/RemainsTree.h"
#include "fixtures/SystemCallFault.h"
#include "fixtures/Unprivileged.h"
#include "app/locations/FolderAccess.h"
#include "platform/AppleScriptTask.h"
#include "platform/Bookmark.h"
#include "platform/Sandbox.h"
#include "platform/UserDefaults.h"
#include "platform/FileSystem.h"
#include "platform/LaunchJobRecord.h"
#include "platform/PathUtil.h"
#include "platform/SystemCalls.h"
#include "system/ShellQuote.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <future>
#include <optional>
#include <set>

namespace {

using namespace std::chrono_literals;
using T = RkUninstallCategoryType;

fixtures::AppBlueprint blueprint(const std::string& name, const std::string& identifier, const std::string& executable = "")
{
    fixtures::AppBlueprint app;
    app.name = name;
    app.identifier = identifier;
    app.executable = executable;
    return app;
}

std::vector<std::string> itemPaths(const UninstallApp& app)
{
    std::vector<std::string> paths;
    for (const auto& group : app.fileGroups)
        for (const auto& item : group->fileItem)
            paths.push_back(item->filePath);
    return paths;
}

void untick(const UninstallApp& app, T type)
{
    for (const auto& group : app.fileGroups)
        if (group->type == type)
            group->setSelectionState(kSelectionOff);
}

class RemovalEngineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        tree.activate();
        tree.environment().set("OSTROVA_LAUNCHCTL", "/bin/false");
        UninstallDelete::setSettleDelay(0ms);
        manager = UninstallAppManager::make();
        // Nothing listens under this root: every daemon call fails at once.
        link = manager->xpcServiceObj();
    }
    void TearDown() override { UninstallDelete::setSettleDelay(2000ms); }

    // The application, scanned, every item ticked.
    std::shared_ptr<UninstallApp> scanned(const std::string& name, const std::string& identifier)
    {
        auto app = BundleReader::record(tree.addApp("/Applications", blueprint(name, identifier)));
        UninstallScaner(manager->stopToken()).scan(app);
        app->setSelectionState(kSelectionOn);
        return app;
    }

    // Removes the applications as the window does; how often the daemon was made sure of.
    unsigned remove(const std::vector<std::shared_ptr<UninstallApp>>& apps)
    {
        unsigned starts = 0;
        UninstallAppManager::RemovalOptions options;
        options.daemonStarter = [&] { ++starts; };
        manager->removeApps(apps, options);
        manager->waitForRemovals();
        return starts;
    }

    void writeJob(const std::string& file, const std::string& label, const std::vector<std::string>& arguments)
    {
        plist::Array words;
        for (const auto& word : arguments)
            words.emplace_back(word);
        tree.writePlist(file, plist::Value(plist::Dictionary{{"Label", label}, {"ProgramArguments", words}}));
    }

    // The folder becomes a link the user made (to where it now lies), which the remover never passes.
    void replaceByUsersLink(const std::string& folder)
    {
        ::rename(folder.c_str(), (folder + ".real").c_str());
        tree.symlink(folder + ".real", folder);
        ::lchown(folder.c_str(), fixtures::unprivilegedUid(), fixtures::unprivilegedGid());
    }

    // Runs the administrator's command as its script would; the shell command it parsed to.
    std::string runAsAdministrator(const std::string& command)
    {
        const std::string text = "do shell script \"" + command + "\"";
        const auto statement = platform::AppleScriptTask::parse(text);
        EXPECT_TRUE(statement);
        tree.writeFile(tree.at("/run.scpt"), text);
        platform::AppleScriptTask::run(tree.at("/run.scpt"));
        return statement ? statement->shell : "";
    }

    fixtures::MacTree tree;
    std::shared_ptr<UninstallAppManager> manager;
    std::shared_ptr<DaemonLink> link;
};

TEST_F(RemovalEngineTest, AnEmbeddedApplicationThatRunsMakesItsOuterOneRun)
{
    const auto bundle = tree.addApp("/Applications", blueprint("Outer", "com.test.outer"));
    const auto nested = tree.addApp("/Applications/Outer.app/Contents/MacOS", blueprint("Inner Helper", "com.test.outer.helper", "InnerHelperX"));
    const auto app = BundleReader::record(bundle);

    // A program of the same name running from elsewhere (another application built on the same
    // framework) is not this application running.
    const std::string namesake = fixtures::copyExecutable(tree.at("/Applications/Other.app/Contents/MacOS/InnerHelperX"));
    fixtures::BackgroundProcess other({namesake, "60"});
    ASSERT_TRUE(other.waitUntilRunning(namesake));
    EXPECT_FALSE(UninstallDelete(manager, link, app).isAppRunning());
    const std::string executable = fixtures::copyExecutable(nested + "/Contents/MacOS/InnerHelperX");
    fixtures::BackgroundProcess running({executable, "60"});
    ASSERT_TRUE(running.waitUntilRunning(executable));
    UninstallDelete engine(manager, link, app);
    EXPECT_TRUE(engine.isAppRunning());
    EXPECT_EQ(engine.cacheQueue.size(), 2u);
}

// What a removal took of an application counts a helper inside its bundle once, with the bundle.
TEST_F(RemovalEngineTest, WhatARemovalTookCountsAnItemInsideAnotherOnce)
{
    auto helper = blueprint("Kite Helper", "com.test.kite.helper");
    helper.files = {{"Contents/Resources/helper.bin", 7000}};
    tree.addApp("/Applications/Kite.app/Contents/MacOS", helper);
    tree.writeFile(tree.at("~/Library/Preferences/com.test.kite.plist"), std::string(300, 'p'));
    const auto app = scanned("Kite", "com.test.kite");
    std::int64_t listed = 0;
    for (const auto& group : app->fileGroups)
        for (const auto& item : group->fileItem)
            listed += item->size;
    const auto paths = itemPaths(*app);
    ASSERT_TRUE(std::any_of(paths.begin(), paths.end(), [](const auto& p) { return p.find("/MacOS/Kite Helper.app") != std::string::npos; }));
    const std::int64_t once = ItemSizes::ticked({app});
    ASSERT_LT(once, listed);
    UninstallDelete(manager, link, app).standardDelete();
    EXPECT_FALSE(platform::fs::linkStatus(*app->bundlePath));
    EXPECT_EQ(app->removedSize, once);
}

// A running application of the user's own is quit with the user's own rights when the user says
// so: the daemon is not asked for it.
TEST_F(RemovalEngineTest, TheUsersOwnRunningApplicationIsQuitWithoutTheDaemon)
{
    struct QuitAlways : UninstallDelegate {
        void appsDidLoad() override {}
        void appDidScan(const std::shared_ptr<UninstallApp>&) override {}
        void allAppsDidScan() override {}
        void uninstallProgress(UninstallType, double, double) override {}
        bool shouldForceQuit(const std::shared_ptr<UninstallApp>&) override { return true; }
    };
    const auto delegate = std::make_shared<QuitAlways>();  // the manager holds it weakly
    manager->setDelegate(delegate);
    const auto app = scanned("Pylon", "com.test.pylon");
    const std::string executable = fixtures::copyExecutable(*app->bundlePath + "/Contents/MacOS/Pylon");
    fixtures::BackgroundProcess running({executable, "60"});
    ASSERT_TRUE(running.waitUntilRunning(executable));
    EXPECT_EQ(remove({app}), 0u);
    EXPECT_TRUE(running.ended(5000));
    EXPECT_FALSE(platform::fs::linkStatus(*app->bundlePath));
    // The stored record names the application of each item by its identifier too.
    const auto record = manager->lastRemoval();
    ASSERT_TRUE(record);
    const auto stored = RemovalRecord::load(record->identifier);
    ASSERT_TRUE(stored);
    ASSERT_FALSE(stored->items.empty());
    for (const auto& item : stored->items)
        EXPECT_EQ(item.bundleIdentifier.spelled(), "com.test.pylon") << item.originalPath;
}

// In process, with nobody else asked: the ticked items (those behind the system's own links too:
// TMPDIR is given through the /var link, as on a Mac, and the per-user cache folder beside it), not
// the unticked ones nor those gone before the removal starts.
TEST_F(RemovalEngineTest, RemovesTheSelectionInProcessAndAsksNobodyElse)
{
    for (const char* file : {"~/Library/Application Support/Foo/data", "~/Library/Caches/com.test.foo/c",
                             "~/Library/Preferences/com.test.foo.plist", "/var/folders/ab/x1y2z3/C/com.test.foo/blob"})
        tree.writeFile(tree.at(file), "x");
    tree.writeFile(tree.temporaryDirectory() + "com.test.foo/scratch", "x");
    const auto app = scanned("Foo", "com.test.foo");
    untick(*app, T::preference);
    fixtures::MacTree::removeTree(tree.at("~/Library/Caches/com.test.foo"));

    UninstallDelete engine(manager, link, app);
    engine.standardDelete();
    EXPECT_TRUE(engine.requests.empty());
    EXPECT_FALSE(platform::fs::linkStatus(*app->bundlePath));
    for (const char* gone : {"~/Library/Application Support/Foo", "/private/var/folders/ab/x1y2z3/T/com.test.foo",
                             "/private/var/folders/ab/x1y2z3/C/com.test.foo"})
        EXPECT_FALSE(platform::fs::linkStatus(tree.at(gone))) << gone;
    EXPECT_TRUE(platform::fs::exists(tree.at("~/Library/Preferences/com.test.foo.plist")));
    // The bundle is gone: the record is emptied.
    EXPECT_TRUE(app->fileGroups.empty());
}

// The daemon is made sure of (on a Mac: an administrator asked to install it) only once a run needs
// it, and once a run: never for items the user's own rights move, once for a run whose moves the
// user's rights refused. A launch job always goes through it.
TEST_F(RemovalEngineTest, TheDaemonIsMadeSureOfOnlyWhenARunNeedsIt)
{
    struct Case {
        const char* name;
        int moveError;
        unsigned starts;
    };
    const Case cases[] = {{"Own", 0, 0}, {"Refused", EACCES, 1}, {"Forbidden", EPERM, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string identifier = std::string("com.test.") + c.name;
        tree.writeFile(tree.at("~/Library/Application Support/" + std::string(c.name) + "/data"), "x");
        tree.writeFile(tree.at("~/Library/Caches/" + identifier + "/c"), "x");
        const auto app = scanned(c.name, identifier);
        EXPECT_FALSE(RemovalRights::ofTicked({app}).needsDaemon());
        std::optional<fixtures::ScopedSystemCallFault> refused;
        if (c.moveError)
            refused.emplace(fixtures::SystemCall::renameat, c.moveError, 1, 0);
        EXPECT_EQ(remove({app}), c.starts);
        refused.reset();
        EXPECT_EQ(platform::fs::exists(tree.at("~/Library/Caches/" + identifier + "/c")), c.moveError != 0);
    }
    const std::string home = tree.home();
    EXPECT_EQ(RemovalRights::of(tree.at("~/Library/LaunchAgents/com.test.job.plist"), true, home), RemovalRights::Need::daemon);
    EXPECT_EQ(RemovalRights::of(tree.at("/Library/LaunchDaemons/com.test.job.plist"), true, home), RemovalRights::Need::administrator);
}

// The user's own agent is unloaded by the user's own launch service and goes like any file of theirs:
// the daemon is not started. One the user's launch service cannot unload still goes to the daemon.
TEST_F(RemovalEngineTest, TheUsersOwnAgentGoesWithTheirOwnLaunchServiceAlone)
{
    tree.environment().set("OSTROVA_LAUNCHCTL", OSTROVA_LAUNCHCTL_PATH);
    const std::string label = "com.test.own.agent";
    const std::string agent = tree.at("~/Library/LaunchAgents/" + label + ".plist");
    writeJob(agent, label, {fixtures::copyExecutable(tree.at("/Library/Application Support/com.test.own/OwnAgent")), "60"});
    ASSERT_EQ(fixtures::runProcess({OSTROVA_LAUNCHCTL_PATH, "load", agent}).exitCode, 0);
    const auto app = scanned("Own", "com.test.own");
    const auto summary = RemovalRights::ofTicked({app});
    EXPECT_TRUE(std::find(summary.throughDaemon.begin(), summary.throughDaemon.end(), agent) == summary.throughDaemon.end());
    EXPECT_EQ(remove({app}), 0u);
    EXPECT_FALSE(platform::fs::linkStatus(agent));
    const auto job = platform::LaunchJobRecord::read(label);
    EXPECT_FALSE(job && job->loaded());
    fixtures::runProcess({OSTROVA_LAUNCHCTL_PATH, "remove", label});

    // Where the user's launch service cannot unload it, the daemon is asked.
    tree.environment().set("OSTROVA_LAUNCHCTL", "/bin/false");
    const std::string stuck = tree.at("~/Library/LaunchAgents/com.test.stuck.agent.plist");
    writeJob(stuck, "com.test.stuck.agent", {tree.at("/Applications/Stuck.app/Contents/MacOS/Stuck")});
    EXPECT_EQ(remove({scanned("Stuck", "com.test.stuck")}), 1u);
    EXPECT_TRUE(platform::fs::linkStatus(stuck));
}

// Cancel ends the wait for the daemon at once: the item that needed it stays, the applications after
// it are not begun, and the record says they were left.
TEST_F(RemovalEngineTest, CancelEndsTheWaitForTheDaemonAndLeavesTheRest)
{
    const auto waiting = scanned("Waiting", "com.test.waiting");
    tree.writeFile(tree.at("~/Library/Preferences/com.test.untouched.plist"), "x");
    const auto untouched = scanned("Untouched", "com.test.untouched");
    auto entered = std::make_shared<std::promise<void>>();
    auto release = std::make_shared<std::promise<void>>();
    UninstallAppManager::RemovalOptions options;
    options.daemonStarter = [entered, held = release->get_future().share()] {
        entered->set_value();
        held.wait();
    };
    auto finished = std::make_shared<std::promise<void>>();
    {
        // Only the first application's bundle is beyond the user's rights.
        fixtures::ScopedSystemCallFault refused(fixtures::SystemCall::renameat, EACCES, 1, 0, "Waiting.app");
        manager->removeApps({waiting, untouched}, options);
        manager->afterRemovals([finished] { finished->set_value(); });
        ASSERT_EQ(entered->get_future().wait_for(60s), std::future_status::ready);
        manager->cancelRemoval();
        const bool ended = finished->get_future().wait_for(60s) == std::future_status::ready;
        release->set_value();
        ASSERT_TRUE(ended);
    }
    EXPECT_TRUE(platform::fs::exists(*waiting->bundlePath));
    EXPECT_TRUE(platform::fs::exists(*untouched->bundlePath));
    EXPECT_TRUE(platform::fs::exists(tree.at("~/Library/Preferences/com.test.untouched.plist")));
    const auto record = manager->lastRemoval();
    ASSERT_TRUE(record);
    std::size_t left = 0;
    for (const auto& item : record->items)
        left += item.application == "Untouched" && item.state == RemovalRecord::State::left;
    EXPECT_EQ(left, 2u);
}

// An item whose folder has since been replaced by a link the user made cannot go: it stays in the
// record, and the daemon that would be asked (none listens) does not hold the removal up.
TEST_F(RemovalEngineTest, WhatCannotGoStaysInTheRecordAndAnUnreachableDaemonEndsTheWait)
{
    for (const std::string identifier : {"com.test.bar", "com.test.baz"}) {
        tree.writeFile(tree.at("~/Library/Caches/" + identifier), "x");
        tree.writeFile(tree.at("~/Library/Preferences/" + identifier + ".plist"), "x");
    }
    tree.writeFile(tree.at("~/Library/Application Support/Bar/data"), "x");
    const auto bar = scanned("Bar", "com.test.bar");
    const auto baz = scanned("Baz", "com.test.baz");
    // Selected, then gone before the removal: skipped, and dropped from the record.
    ::unlink(tree.at("~/Library/Preferences/com.test.bar.plist").c_str());
    untick(*bar, T::bundle);
    untick(*baz, T::preference);
    replaceByUsersLink(tree.at("~/Library/Caches"));

    const auto start = std::chrono::steady_clock::now();
    UninstallDelete engine(manager, link, bar);
    engine.standardDelete();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 10s);
    EXPECT_EQ(engine.requests, std::vector<std::string>{uninstallservice::kRemove});
    EXPECT_EQ(itemPaths(*bar), (std::vector<std::string>{*bar->bundlePath, tree.at("~/Library/Caches/com.test.bar")}));
    EXPECT_FALSE(platform::fs::linkStatus(tree.at("~/Library/Application Support/Bar")));

    // With the bundle gone, not a complete removal: the failure is what remains of the record, the
    // kept preferences not.
    UninstallDelete(manager, link, baz).standardDelete();
    EXPECT_FALSE(platform::fs::linkStatus(*baz->bundlePath));
    EXPECT_EQ(itemPaths(*baz), std::vector<std::string>{tree.at("~/Library/Caches/com.test.baz")});
    EXPECT_TRUE(platform::fs::exists(tree.at("~/Library/Preferences/com.test.baz.plist")));
}

TEST_F(RemovalEngineTest, TheSecondChanceHandsLaunchctlAHostileJobPathAsOneArgument)
{
    // A launchctl that writes down what it was given, one argument a line.
    const std::string record = tree.at("/launchctl.args");
    const std::string launchctl = tree.at("/usr/local/bin/launchctl");
    tree.writeFile(launchctl, "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\" >> '" + record + "'; done\nexit 1\n");
    ::chmod(launchctl.c_str(), 0755);
    tree.environment().set("OSTROVA_LAUNCHCTL", launchctl);
    const std::string job = tree.at("~/Library/LaunchAgents/com.test.evil; touch pwned $(id).plist");
    writeJob(job, "com.test.evil", {tree.at("/Applications/Evil.app/Contents/MacOS/Evil")});
    const auto app = scanned("Evil", "com.test.evil");
    app->setSelectionState(kSelectionOff);
    bool found = false;
    for (const auto& group : app->fileGroups)
        for (const auto& item : group->fileItem)
            if (item->filePath == job)
                found = item->isSelected = true;
    ASSERT_TRUE(found);
    UninstallDelete(manager, link, app).standardDelete();
    EXPECT_EQ(platform::fs::readFile(record).value_or(""), "unload\n" + job + "\n");
}

// The administrator's command, run for real (launchctl is /bin/false here; the removals go on): it
// skips protected paths, quotes the rest, and moves to planned places in the Trash without
// replacing one taken meanwhile (that item stays).
TEST_F(RemovalEngineTest, TheAdministratorCommandSkipsProtectedPathsAndQuotesTheRest)
{
    const std::string odd = tree.at("/Library/Caches/it's \"a\" back\\slash $(touch CANARY)");
    tree.writeFile(odd + "/x", "x");
    const std::string job = tree.at("/Library/LaunchAgents/com.test.o'dd.plist");
    tree.writeFile(job, "x");
    const std::string shell = runAsAdministrator(UninstallDelete::sandboxedCommand(
        {job, tree.at("/Applications")}, {odd, tree.at("/Applications"), tree.at("/Library"), "/", tree.at("/Library/Caches/*")}));
    EXPECT_EQ(shell.find("rm -rf " + shellquote::single(tree.at("/Applications"))), std::string::npos);
    EXPECT_EQ(shell.find("'" + tree.at("/Library") + "'"), std::string::npos);
    EXPECT_EQ(shell.find("*"), std::string::npos);
    EXPECT_EQ(shell.find("rm -rf '/'"), std::string::npos);
    EXPECT_FALSE(platform::fs::linkStatus(odd));
    EXPECT_FALSE(platform::fs::linkStatus(job));
    EXPECT_TRUE(platform::fs::exists(tree.at("/Applications")));
    EXPECT_EQ(UninstallDelete::sandboxedCommand({}, {tree.at("/Applications")}), "");

    const std::string moved = tree.at("/Library/Caches/it's \"a\" $(touch CANARY)");
    tree.writeFile(moved + "/x", "x");
    const std::string kept = tree.at("/Library/Caches/com.test.kept");
    tree.writeFile(kept, "mine");
    const std::string trash = tree.at("~/.Trash");
    tree.writeFile(trash + "/taken", "already in the Trash");
    const std::string mover = runAsAdministrator(
        UninstallDelete::sandboxedCommand({}, {moved, kept}, {{moved, trash + "/it's \"a\" $(touch CANARY)"}, {kept, trash + "/taken"}}));
    EXPECT_EQ(mover.find("rm -rf"), std::string::npos) << mover;
    EXPECT_FALSE(platform::fs::linkStatus(moved));
    EXPECT_EQ(platform::fs::readFile(trash + "/it's \"a\" $(touch CANARY)/x"), "x");
    EXPECT_EQ(platform::fs::readFile(trash + "/taken"), "already in the Trash");
    EXPECT_EQ(platform::fs::readFile(kept), "mine");
    EXPECT_FALSE(platform::fs::exists("CANARY"));
}

// The places planned for a command to move items to (the sandboxed path) pass over the names the
// Trash holds and those planned for other items of the run that have not moved yet.
TEST_F(RemovalEngineTest, TwoItemsOfOneNamePlannedInOneRunGetAPlaceEach)
{
    const std::string trash = tree.at("~/.Trash");
    tree.makeDirectories(trash + "/Notes.app");
    const std::string once = tree.at("/Library/Caches/com.test.once/Notes.app");
    const std::string twice = tree.at("/Library/Caches/com.test.twice/Notes.app");
    tree.makeDirectories(once);
    tree.makeDirectories(twice);

    TrashRemoval run({}, false, false);
    EXPECT_EQ(run.planTrashPlace(once), trash + "/Notes 2.app");
    EXPECT_EQ(run.planTrashPlace(twice), trash + "/Notes 3.app");
    EXPECT_EQ(run.planTrashPlace(once), trash + "/Notes 2.app");
}

// What the record on disk says at the instant of each move into the Trash: the place the item is
// about to take is already written, so a run ended right after the rename loses nothing.
std::vector<std::string>& movesUnrecorded()
{
    static std::vector<std::string> list;
    return list;
}

int renameCheckingTheRecord(int fromFolder, const char* from, int toFolder, const char* to, unsigned flags)
{
    bool recorded = false;
    const auto records = RemovalRecord::all();
    if (!records.empty())
        for (const auto& item : records.front().items)
            recorded = recorded || (item.state == RemovalRecord::State::planned && platform::path::lastComponent(item.trashPath) == to);
    if (!recorded)
        movesUnrecorded().push_back(to);
    return platform::sys::systemTable().renameat(fromFolder, from, toFolder, to, flags);
}

TEST_F(RemovalEngineTest, EachMoveIsRecordedBeforeItHappens)
{
    tree.writeFile(tree.at("~/Library/Caches/com.test.quill/c.db"), "c");
    tree.writeFile(tree.at("~/Library/Preferences/com.test.quill.plist"), "p");
    const auto quill = scanned("Quill", "com.test.quill");
    ASSERT_GE(quill->fileGroups.size(), 3u);

    movesUnrecorded().clear();
    platform::sys::SystemCalls table = platform::sys::systemTable();
    table.renameat = renameCheckingTheRecord;
    const auto* previous = platform::sys::install(&table);
    UninstallDelete engine(manager, link, quill);
    engine.run = std::make_shared<TrashRemoval>(std::vector<std::shared_ptr<UninstallApp>>{quill}, false, false);
    engine.standardDelete();
    platform::sys::install(previous);

    EXPECT_TRUE(movesUnrecorded().empty()) << movesUnrecorded().front();
    const auto record = RemovalRecord::all().front();
    EXPECT_EQ(record.countInTrash(), record.items.size());
    EXPECT_GE(record.items.size(), 3u);
    EXPECT_FALSE(platform::fs::linkStatus(tree.at("/Applications/Quill.app")));
}

TEST_F(RemovalEngineTest, SandboxedRemovalUsesGrantsAndRunsNoScriptWhenAllWent)
{
    tree.writeFile(tree.at("~/Library/Caches/com.test.sand"), "x");
    const auto app = scanned("Sand", "com.test.sand");
    tree.environment().set("APP_SANDBOX_CONTAINER_ID", "com.qzt.ostrova");
    platform::Sandbox::resetGrants();
    {
        // Without a grant nothing outside the container is reached, and nothing is run either.
        UninstallDelete engine(manager, link, app);
        engine.sandboxedDelete();
        EXPECT_TRUE(engine.requests.empty());
        EXPECT_TRUE(platform::fs::exists(tree.at("~/Library/Caches/com.test.sand")));
    }
    // The user granted the whole disk: everything goes in-process and no script is needed.
    platform::UserDefaults::setStandardDomain("com.qzt.ostrova");
    tree.makeDirectories(tree.root());
    const auto bookmark = platform::Bookmark::create(tree.root(), true);
    ASSERT_TRUE(bookmark);
    platform::UserDefaults::standard().setObject(folderGrantKey(tree.root()), plist::Value(*bookmark));
    UninstallDelete engine(manager, link, app);
    engine.sandboxedDelete();
    EXPECT_TRUE(engine.requests.empty());
    EXPECT_FALSE(platform::fs::linkStatus(tree.at("~/Library/Caches/com.test.sand")));
    EXPECT_FALSE(platform::fs::linkStatus(*app->bundlePath));
    platform::Sandbox::resetGrants();
}

// A gone application's record has no bundle: nothing runs, the ticked remains go, the kept ones
// stay in the record (they are still remains) and on disk.
TEST_F(RemovalEngineTest, AGoneApplicationsKeptRemainsStayInItsRecord)
{
    const fixtures::RemainsTree remains(tree);
    manager->discoverApps();
    manager->runScanLoop();
    std::shared_ptr<UninstallApp> tally;
    for (const auto& app : manager->goneApps())
        if (app->bundleIdentifier() == "com.driftwood.tally")
            tally = app;
    ASSERT_TRUE(tally);
    std::set<std::string> ticked, kept;
    for (const auto& group : tally->fileGroups) {
        group->setSelectionState(group->type == T::cache ? kSelectionOn : kSelectionOff);
        for (const auto& item : group->fileItem)
            (item->isSelected ? ticked : kept).insert(item->filePath);
    }
    ASSERT_EQ(ticked.size(), 2u);

    UninstallDelete engine(manager, link, tally);
    EXPECT_FALSE(engine.isAppRunning());
    EXPECT_TRUE(engine.cacheQueue.empty());
    engine.standardDelete();
    EXPECT_TRUE(engine.requests.empty());
    const auto left = itemPaths(*tally);
    EXPECT_EQ(std::set<std::string>(left.begin(), left.end()), kept);
    for (const auto& path : ticked)
        EXPECT_FALSE(platform::fs::linkStatus(path)) << path;
    for (const auto& path : kept)
        EXPECT_TRUE(platform::fs::linkStatus(path)) << path;
}

// Two runs that begin in the same second, in two processes, each take a name before either saves:
// the names differ and both records survive. A pair that straddles a second's turn cannot collide
// and is tried again.
TEST(RemovalRecordNaming, TwoRunsOfOneSecondInTwoProcessesKeepTwoRecords)
{
    fixtures::MacTree tree;
    tree.activate();
    for (int attempt = 0; attempt < 5; ++attempt) {
        int toParent[2];
        int toChild[2];
        ASSERT_EQ(::pipe(toParent), 0);
        ASSERT_EQ(::pipe(toChild), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // The child starts with the parent's run counter, as two fresh processes both would.
            auto record = RemovalRecord::begin({"Child"});
            const std::string name = record.identifier + "\n";
            char go = 0;
            const bool told = ::write(toParent[1], name.data(), name.size()) == static_cast<ssize_t>(name.size());
            ::_exit(told && ::read(toChild[0], &go, 1) == 1 && record.save() ? 0 : 1);
        }
        ::close(toParent[1]);
        ::close(toChild[0]);
        std::string childName;
        for (char c = 0; ::read(toParent[0], &c, 1) == 1 && c != '\n';)
            childName += c;
        auto record = RemovalRecord::begin({"Parent"});
        EXPECT_EQ(::write(toChild[1], "g", 1), 1);
        int status = 0;
        ::waitpid(child, &status, 0);
        ::close(toParent[0]);
        ::close(toChild[1]);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        ASSERT_TRUE(record.save());
        if (childName.substr(0, 15) != record.identifier.substr(0, 15)) {
            for (const auto& entry : platform::fs::listDirectory(RemovalRecord::folder()).value_or(std::vector<std::string>{}))
                ::unlink((RemovalRecord::folder() + "/" + entry).c_str());
            continue;
        }
        EXPECT_NE(childName, record.identifier);
        std::set<std::string> kept;
        for (const auto& found : RemovalRecord::all())
            kept.insert(found.applications.empty() ? "" : found.applications.front());
        EXPECT_EQ(kept, (std::set<std::string>{"Child", "Parent"}));
        return;
    }
    FAIL() << "no two runs began in the same second";
}

// A folder and an item inside it, both in one removal, the item moved first: put back in the order
// of the moves, the item would find no folder, make a new one, and the folder's place would be
// taken. The last moved comes back first, so both come back whole.
TEST_F(RemovalEngineTest, PutBackBringsTheLastMovedBackFirst)
{
    const std::string folder = tree.at("~/Library/Application Support/Quill");
    tree.writeFile(folder + "/settings.json", "kept in the folder");
    tree.writeFile(folder + "/Sessions/today.db", "moved on its own");
    TrashRemoval run({}, false, false);
    ASSERT_EQ(run.take(folder + "/Sessions"), TrashRemoval::Outcome::done);
    ASSERT_EQ(run.take(folder), TrashRemoval::Outcome::done);
    ASSERT_FALSE(platform::fs::linkStatus(folder));

    auto record = run.record();
    const auto report = PutBack::run(record, false, {});
    EXPECT_TRUE(report.complete()) << (report.taken.empty() ? "" : report.taken.front());
    EXPECT_EQ(platform::fs::readFile(folder + "/settings.json"), "kept in the folder");
    EXPECT_EQ(platform::fs::readFile(folder + "/Sessions/today.db"), "moved on its own");
    EXPECT_TRUE(platform::fs::listDirectory(tree.at("~/.Trash")).value_or(std::vector<std::string>{"?"}).empty());
}

// A user agent put back is loaded again by the user's own launchctl (the stand-in's record of
// loaded jobs says from which file) when a job was loaded from it as its removal began, and only
// then; the record keeps that across a reload. A load that fails is told, not counted as done.
TEST_F(RemovalEngineTest, PutBackLoadsAgainOnlyWhatWasLoaded)
{
    const std::string label = "com.test.quill.agent";
    const std::string agent = tree.at("~/Library/LaunchAgents/" + label + ".plist");
    const std::string program = fixtures::copyExecutable(tree.at("/Applications/Quill.app/Contents/MacOS/QuillAgent"));
    const auto loadedFromAgent = [&] {
        std::string why;
        const auto file = platform::LaunchJobFile::read(agent, false, why);
        const auto job = platform::LaunchJobRecord::read(label);
        return file && job && job->loaded() && job->loadedFrom(agent, *file);
    };
    struct Unload {
        std::string label;
        ~Unload() { fixtures::runProcess({OSTROVA_LAUNCHCTL_PATH, "remove", label}); }
    } const unload{label};
    const struct {
        const char* name;
        bool loadedBefore, launchctlWorks, loadedAfter;
    } cases[] = {{"Loaded", true, true, true}, {"NotLoaded", false, true, false}, {"LoadFails", true, false, false}};
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        tree.environment().set("OSTROVA_LAUNCHCTL", "/bin/false");
        writeJob(agent, label, {program, "60"});
        if (row.loadedBefore) {
            ASSERT_EQ(fixtures::runProcess({OSTROVA_LAUNCHCTL_PATH, "load", agent}).exitCode, 0);
        }
        ASSERT_EQ(loadedFromAgent(), row.loadedBefore);
        std::string identifier;
        {
            TrashRemoval run({}, false, false);
            ASSERT_EQ(run.take(agent), TrashRemoval::Outcome::done);
            identifier = run.record().identifier;
        }
        fixtures::runProcess({OSTROVA_LAUNCHCTL_PATH, "remove", label});
        auto record = RemovalRecord::load(identifier);
        ASSERT_TRUE(record);
        ASSERT_EQ(record->items.size(), 1u);
        EXPECT_EQ(record->items.front().loadedJob, row.loadedBefore);

        tree.environment().set("OSTROVA_LAUNCHCTL", row.launchctlWorks ? OSTROVA_LAUNCHCTL_PATH : "/bin/false");
        const auto report = PutBack::run(*record, false, {});
        ASSERT_EQ(report.restored, std::vector<std::string>{agent});
        EXPECT_EQ(loadedFromAgent(), row.loadedAfter);
        EXPECT_EQ(report.loaded.size(), row.loadedAfter ? 1u : 0u);
        const bool failed = row.loadedBefore && !row.loadedAfter;
        EXPECT_EQ(report.notLoaded.size(), failed ? 1u : 0u);
        EXPECT_EQ(report.complete(), !failed);
        fixtures::runProcess({OSTROVA_LAUNCHCTL_PATH, "remove", label});
    }
}

}  // namespace
