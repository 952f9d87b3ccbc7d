// The agent's watch for applications taken away, over real inotify and a generated Mac whose
// applications left data behind: what makes a report, what never does, and the rescan of folders
// the system would not watch.
#include "AgentTestSupport.h"
#include "ManualTimer.h"
#include "agent/AppDelegate.h"
#include "agent/NotificationScheduler.h"
#include "agent/TrashWatch.h"
#include "fixtures/BackgroundProcess.h"
#include "fixtures/MacTree.h"
#include "fixtures/PathsBelow.h"
#include "fixtures/SystemCallFault.h"
#include "platform/UserDefaults.h"

#include <gtest/gtest.h>

#include <stdio.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <set>
#include <thread>

namespace {

using namespace std::chrono_literals;
using Reports = std::vector<std::set<std::string>>;

class TrashWatchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        tree.activate();
        tree.makeDirectories(tree.at("~/.Trash"));
        tree.makeDirectories(tree.at("~/Applications"));
    }

    static fixtures::AppBlueprint blueprint(const std::string& name, const std::string& identifier, const std::string& version = "1.0")
    {
        fixtures::AppBlueprint app;
        app.name = name;
        app.identifier = identifier;
        app.version = version;
        app.displayName = name + " Flyer";
        return app;
    }

    // An application in /Applications and two folders of its data; the bytes of that data.
    std::int64_t installWithRemains(const std::string& name, const std::string& identifier, std::int64_t bytes = 3000,
                                    const std::string& folder = "/Applications")
    {
        tree.addApp(folder, blueprint(name, identifier));
        tree.writeFile(tree.at("~/Library/Application Support/" + identifier + "/state.db"), std::string(bytes, 'a'));
        tree.writeFile(tree.at("~/Library/Caches/" + identifier + "/cache.bin"), std::string(bytes / 3, 'c'));
        return bytes + bytes / 3;
    }

    void move(const std::string& from, const std::string& to) { ASSERT_EQ(::rename(tree.at(from).c_str(), tree.at(to).c_str()), 0) << from; }
    void moveToTrash(const std::string& name) { move("/Applications/" + name + ".app", "~/.Trash/" + name + ".app"); }

    void startWatch(std::chrono::milliseconds settle = 1500ms)
    {
        watch = std::make_unique<TrashWatch>([this](const std::vector<RemovedApplication>& report) { reports.push_back(report); });
        watch->setSettleTime(settle);
        watch->setRescanInterval(200ms);
        watch->start();
    }

    // Waits for `rounds` judgements and for nothing to be left waiting after them.
    bool judged(int rounds = 1)
    {
        return processEventsUntil([&] { return watch->judgedRounds() >= rounds && watch->isIdle(); });
    }

    static std::set<std::string> identifiers(const std::vector<RemovedApplication>& report)
    {
        std::set<std::string> found;
        for (const auto& application : report)
            found.insert(application.identifier);
        return found;
    }

    // Waits for `rounds` judgements; the identifiers of every report so far.
    Reports reportedAfter(int rounds = 1)
    {
        EXPECT_TRUE(judged(rounds));
        Reports all;
        for (const auto& report : reports)
            all.push_back(identifiers(report));
        return all;
    }

    fixtures::MacTree tree;
    std::vector<std::vector<RemovedApplication>> reports;
    std::unique_ptr<TrashWatch> watch;
};

// Dragged to the Trash with fifty others at once, an application is reported with its remains in
// one report of them all.
TEST_F(TrashWatchTest, AnApplicationDraggedToTheTrashIsReportedWithItsRemains)
{
    std::int64_t bytes = installWithRemains("Kite", "com.example.kite", 4500);
    std::set<std::string> expected{"com.example.kite"};
    for (int i = 0; i < 50; ++i) {
        installWithRemains("Flock " + std::to_string(i), "com.example.flock" + std::to_string(i), 100 + i);
        expected.insert("com.example.flock" + std::to_string(i));
    }
    installWithRemains("Heron", "com.example.heron");  // stays installed
    // The bundle in the Trash still tells its names: what they name is the application's too.
    const std::string byName = tree.at("~/Library/Application Support/Kite Flyer");
    const std::string crash = tree.at("~/Library/Logs/DiagnosticReports/Kite-2026-11-03-101010.ips");
    tree.writeFile(byName + "/profile.db", std::string(15000, 'p'));
    tree.writeFile(crash, std::string(700, 'r'));
    bytes += 15000 + 700;
    startWatch();
    for (const auto& folder : {tree.at("/Applications"), tree.at("~/.Trash")})
        EXPECT_EQ(std::count(watch->unwatchedFolders().begin(), watch->unwatchedFolders().end(), folder), 0) << folder;
    moveToTrash("Kite");
    for (int i = 0; i < 50; ++i)
        moveToTrash("Flock " + std::to_string(i));

    ASSERT_TRUE(judged());
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(watch->judgedRounds(), 1);
    ASSERT_EQ(identifiers(reports[0]), expected);
    for (const auto& application : reports[0]) {
        if (application.identifier == "com.example.kite")
            continue;
        const int i = std::stoi(application.identifier.substr(std::string("com.example.flock").size()));
        EXPECT_EQ(application.remainsSize, (100 + i) + (100 + i) / 3) << application.identifier;
        EXPECT_EQ(application.displayName, "Flock " + std::to_string(i) + " Flyer");
    }
    const auto& kite = *std::find_if(reports[0].begin(), reports[0].end(), [](const auto& application) {
        return application.identifier == "com.example.kite";
    });
    EXPECT_EQ(kite.displayName, "Kite Flyer");
    EXPECT_EQ(kite.iconPath, tree.at("~/.Trash/Kite.app/Contents/Resources/AppIcon.icns"));
    EXPECT_EQ(kite.remainsSize, bytes);
    const std::set<std::string> remains(kite.remains.begin(), kite.remains.end());
    EXPECT_EQ(remains, (std::set<std::string>{tree.at("~/Library/Application Support/com.example.kite"),
                                              tree.at("~/Library/Caches/com.example.kite"), byName, crash}));
}

TEST_F(TrashWatchTest, ApplicationsInFoldersAreWatchedAsDeepAsDiscoveryLooks)
{
    installWithRemains("Kite", "com.example.kite", 3000, "/Applications/Vendor/Tools");
    // Four levels down: discovery never lists it, so neither is its going noticed.
    installWithRemains("Wren", "com.example.wren", 3000, "/Applications/A/B/C");
    installWithRemains("Tern", "com.example.tern", 3000, "/Applications/Gone/Sub");
    startWatch();
    // A folder made after the start is watched from then on.
    installWithRemains("Heron", "com.example.heron", 3000, "/Applications/Later");
    ASSERT_TRUE(processEventsUntil([&] { return watch->watches(tree.at("/Applications/Later")); }));
    EXPECT_TRUE(watch->watches(tree.at("/Applications/Vendor/Tools")));
    EXPECT_TRUE(watch->watches(tree.at("/Applications/A/B")));
    EXPECT_FALSE(watch->watches(tree.at("/Applications/A/B/C")));
    for (const char* bundle : {"/Applications/Vendor/Tools/Kite.app", "/Applications/A/B/C/Wren.app", "/Applications/Later/Heron.app"})
        std::filesystem::remove_all(tree.at(bundle));
    // A whole folder moved out of the application folders (not into the Trash) takes the
    // applications in it along.
    tree.makeDirectories(tree.at("/opt"));
    move("/Applications/Gone", "/opt/Gone");
    EXPECT_EQ(reportedAfter(), (Reports{{"com.example.kite", "com.example.heron", "com.example.tern"}}));
}

TEST_F(TrashWatchTest, AVendorsFolderDraggedToTheTrashReportsEachOfItsApplicationsOnce)
{
    installWithRemains("Kite", "com.example.kite", 3000, "/Applications/Vendor");
    installWithRemains("Heron", "com.example.heron", 3000, "/Applications/Vendor/Extras");
    installWithRemains("Marker", "com.example.marker");
    startWatch();
    move("/Applications/Vendor", "~/.Trash/Vendor");
    ASSERT_EQ(reportedAfter(), (Reports{{"com.example.kite", "com.example.heron"}}));
    for (const auto& application : reports[0]) {
        const std::string bundle = application.identifier == "com.example.kite" ? "~/.Trash/Vendor/Kite.app" : "~/.Trash/Vendor/Extras/Heron.app";
        EXPECT_EQ(application.bundlePath, tree.at(bundle));
        EXPECT_EQ(application.iconPath, tree.at(bundle + "/Contents/Resources/AppIcon.icns"));
    }
    // Looked into as it came, not watched.
    EXPECT_FALSE(watch->watches(tree.at("~/.Trash/Vendor")));
    EXPECT_TRUE(watch->watches(tree.at("~/.Trash")));
    // Emptied from the Trash later, they are not offered again.
    std::filesystem::remove_all(tree.at("~/.Trash/Vendor"));
    moveToTrash("Marker");
    EXPECT_EQ(reportedAfter(2), (Reports{{"com.example.kite", "com.example.heron"}, {"com.example.marker"}}));
}

// Only Marker is a removal with remains: Plain left nothing, another copy of Kite stays installed,
// Ostrova's own and Apple's are never offered, and Wren put back within the settle time is an update.
// Marker is named "Marker.App": a Mac volume ignores letter case, so it is an application all the same.
TEST_F(TrashWatchTest, OnlyARemovalWithRemainsOfAnApplicationNoLongerInstalledIsReported)
{
    for (const auto& [name, identifier] : {std::pair{"Kite", "com.example.kite"}, {"Ostrova", "com.qzt.ostrova"},
                                           {"Pages", "com.apple.iWork.Pages"}, {"Wren", "com.example.wren"},
                                           {"Marker", "com.example.marker"}})
        installWithRemains(name, identifier);
    tree.addApp("/Applications", blueprint("Plain", "com.example.plain"));
    tree.addApp("~/Applications", blueprint("Kite", "com.example.kite"));
    move("/Applications/Marker.app", "/Applications/Marker.App");
    startWatch();
    for (const char* name : {"Plain", "Kite", "Ostrova", "Pages"})
        moveToTrash(name);
    move("/Applications/Marker.App", "~/.Trash/Marker.App");
    fixtures::MacTree::removeTree(tree.at("/Applications/Wren.app"));
    tree.addApp("/Applications", blueprint("Wren", "com.example.wren", "2.0"));
    EXPECT_EQ(reportedAfter(), Reports{{"com.example.marker"}});
}

// How updaters put a new copy in place, after taking the old one away: nothing of it is a removal.
// A real removal in the same moments (Marker, to the Trash) is judged first and alone, and the new
// copy comes only after that, within the settle time.
enum class UpdaterWay { renamedIn, copiedFileByFile };
class UpdaterTest : public TrashWatchTest, public ::testing::WithParamInterface<UpdaterWay> {};

TEST_P(UpdaterTest, ANewCopyPutInPlaceIsNoRemoval)
{
    const UpdaterWay way = GetParam();
    installWithRemains("Kite", "com.example.kite");
    installWithRemains("Marker", "com.example.marker");
    // The new version, staged outside the application folders.
    auto newer = blueprint("Kite", "com.example.kite", "2.0");
    for (int part = 0; part < 18; ++part)
        newer.files.emplace_back("Contents/Resources/part" + std::to_string(part), 100);
    const std::string staged = tree.addApp("/opt/staging", newer);
    tree.makeDirectories(tree.at("/opt/old"));
    startWatch(1500ms);
    move("/Applications/Kite.app", "/opt/old/Kite.app");
    moveToTrash("Marker");
    ASSERT_TRUE(processEventsUntil([&] { return watch->judgedRounds() >= 1; }));
    ASSERT_FALSE(watch->isIdle());
    std::thread copier;
    const std::string target = tree.at("/Applications/Kite.app");
    if (way == UpdaterWay::renamedIn) {
        ASSERT_EQ(::rename(staged.c_str(), target.c_str()), 0);
    } else {
        // File by file over about five seconds, the Info.plist last: for most of that time the
        // folder is there without saying whose it is.
        copier = std::thread([staged, target] {
            std::vector<std::filesystem::path> files;
            for (const auto& entry : std::filesystem::recursive_directory_iterator(staged))
                if (entry.is_regular_file() && entry.path().filename() != "Info.plist")
                    files.push_back(entry.path());
            files.push_back(std::filesystem::path(staged) / "Contents/Info.plist");
            for (const auto& file : files) {
                const auto to = std::filesystem::path(target) / std::filesystem::relative(file, staged);
                std::filesystem::create_directories(to.parent_path());
                std::filesystem::copy_file(file, to);
                std::this_thread::sleep_for(250ms);
            }
        });
    }
    // The bound only guards against a hang: the copy alone takes five seconds.
    const bool judgedAll = QTest::qWaitFor([&] { return watch->judgedRounds() >= 2 && watch->isIdle(); }, 60000);
    if (copier.joinable())
        copier.join();
    ASSERT_TRUE(judgedAll);
    EXPECT_EQ(reportedAfter(2), Reports{{"com.example.marker"}});
}
INSTANTIATE_TEST_SUITE_P(Ways, UpdaterTest, ::testing::Values(UpdaterWay::renamedIn, UpdaterWay::copiedFileByFile),
                         [](const auto& way) { return way.param == UpdaterWay::renamedIn ? "RenamedIn" : "CopiedFileByFile"; });

TEST_F(TrashWatchTest, AnApplicationStillRunningFromTheTrashIsOfferedOnceItQuits)
{
    const std::int64_t bytes = installWithRemains("Kite", "com.example.kite");
    installWithRemains("Marker", "com.example.marker");
    installWithRemains("Wren", "com.example.wren");
    // Its program (a copy of sleep) runs, and keeps running once the bundle is in the Trash.
    const std::string program = fixtures::copyExecutable(tree.at("/Applications/Kite.app/Contents/MacOS/Kite"));
    auto running = std::make_unique<fixtures::BackgroundProcess>(std::vector<std::string>{program, "60"});
    ASSERT_TRUE(running->waitUntilRunning(std::filesystem::canonical(program).string()));
    startWatch();
    watch->setRunningCheckInterval(100ms);
    moveToTrash("Kite");
    moveToTrash("Marker");
    EXPECT_EQ(reportedAfter(), Reports{{"com.example.marker"}});
    EXPECT_EQ(watch->runningCount(), 1u);
    // While it runs it stays unjudged, whatever else happens: a later removal is judged meanwhile.
    moveToTrash("Wren");
    EXPECT_EQ(reportedAfter(2), (Reports{{"com.example.marker"}, {"com.example.wren"}}));
    EXPECT_EQ(watch->runningCount(), 1u);

    running.reset();
    ASSERT_TRUE(processEventsUntil([&] { return reports.size() == 3 && watch->isIdle(); }));
    ASSERT_EQ(reports[2].size(), 1u);
    EXPECT_EQ(reports[2][0].identifier, "com.example.kite");
    EXPECT_EQ(reports[2][0].remainsSize, bytes);
    EXPECT_EQ(watch->runningCount(), 0u);
}

TEST_F(TrashWatchTest, NothingIsReportedWhileTheUserHasTurnedTheWatchOff)
{
    installWithRemains("Kite", "com.example.kite");
    installWithRemains("Heron", "com.example.heron");
    const auto watching = [](bool on) { ASSERT_TRUE(platform::UserDefaults("com.qzt.ostrova").setObject("WatchesForRemovedApplications", plist::Value(on))); };
    watching(false);
    startWatch();
    moveToTrash("Kite");
    EXPECT_EQ(reportedAfter(), Reports{});

    // Turned on again, the next removal is reported.
    watching(true);
    moveToTrash("Heron");
    EXPECT_EQ(reportedAfter(2), Reports{{"com.example.heron"}});
}

TEST_F(TrashWatchTest, FoldersThatCannotBeWatchedAreRescanned)
{
    const std::int64_t bytes = installWithRemains("Kite", "com.example.kite");
    // No watch can be set for as long as the test runs: only the rescan can notice anything.
    fixtures::ScopedSystemCallFault limit(fixtures::SystemCall::watchFolder, ENOSPC, 1, 0);
    startWatch(300ms);
    const auto& unwatched = watch->unwatchedFolders();
    for (const char* folder : {"/Applications", "~/.Trash"})
        EXPECT_NE(std::find(unwatched.begin(), unwatched.end(), tree.at(folder)), unwatched.end()) << folder;
    const unsigned firstTries = limit.failed();
    moveToTrash("Kite");
    ASSERT_EQ(reportedAfter(), Reports{{"com.example.kite"}});
    ASSERT_EQ(reports[0].size(), 1u);
    EXPECT_EQ(reports[0][0].displayName, "Kite Flyer");
    EXPECT_EQ(reports[0][0].remainsSize, bytes);
    // The watches were tried again at each rescan.
    EXPECT_GT(limit.failed(), firstTries);
}

TEST_F(TrashWatchTest, TheAgentOffersARemovalWithinTwoSecondsAndWithdrawsItWhenPutBack)
{
    const std::int64_t bytes = installWithRemains("Kite", "com.example.kite");
    ManualTimer* timer = nullptr;
    NotificationScheduler scheduler{platform::UserDefaults("com.qzt.ostrova.agent"), std::chrono::system_clock::now, ManualTimer::factory(&timer)};
    AppDelegate delegate{scheduler};
    delegate.applicationDidFinishLaunching();
    ASSERT_NE(delegate.trashWatch, nullptr);
    const auto before = fixtures::pathsBelow(tree.at("~/Library"));
    moveToTrash("Kite");

    // With the settle time of real updaters (tens of seconds), a bundle moved into the Trash as a
    // whole is still offered within two seconds.
    const auto offered = [&] { return !delegate.removedApplications.empty() && delegate.remainsWindowController->window()->isVisible(); };
    ASSERT_TRUE(QTest::qWaitFor(offered, 2000));
    ASSERT_EQ(delegate.removedApplications.size(), 1u);
    EXPECT_EQ(delegate.removedApplications[0].identifier, "com.example.kite");
    EXPECT_EQ(delegate.removedApplications[0].remainsSize, bytes);

    // Put back from the Trash: the panel goes, and nothing of it was touched.
    move("~/.Trash/Kite.app", "/Applications/Kite.app");
    ASSERT_TRUE(processEventsUntil([&] { return delegate.removedApplications.empty() && !delegate.remainsWindowController->window()->isVisible(); }));
    EXPECT_EQ(fixtures::pathsBelow(tree.at("~/Library")), before);
}

}  // namespace
