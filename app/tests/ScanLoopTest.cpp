#include "FakeSpotlight.h"
#include "ReferenceScan.h"
#include "ScannerTestSupport.h"
#include "app/locations/SearchFilePath.h"
#include "platform/DispatchQueue.h"
#include "platform/OneReply.h"
#include "platform/SystemCalls.h"
#include "platform/FileSystem.h"

#include <gtest/gtest.h>

#include <cstring>

#include <unistd.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <random>
#include <set>
#include <thread>

namespace {

using namespace std::chrono_literals;
using T = RkUninstallCategoryType;

class ScanLoopTest : public ::testing::Test {
protected:
    void SetUp() override { tree.activate(); }
    fixtures::MacTree tree;
};

// A tree with many applications whose names overlap, with files that match one, several or none
// of them in every searched folder, vendor folders, launch jobs and nested helpers.
void buildOverlappingTree(fixtures::MacTree& tree, std::vector<std::string>& bundles)
{
    std::mt19937 random(1234);
    const std::vector<std::string> vendors = {"acme", "northwind", "globex", "initech"};
    const std::vector<std::string> words = {"Note", "Notes", "Note Pad", "Sync", "Sync+", "Mail Box", "Draw", "Drawer"};
    for (std::size_t i = 0; i < words.size() * 2; ++i) {
        const std::string& vendor = vendors[i % vendors.size()];
        fixtures::AppBlueprint appBlueprint;
        appBlueprint.name = words[i % words.size()] + (i >= words.size() ? " Pro" : "");
        appBlueprint.identifier = "com." + vendor + "." + UninstallScaner::normalizeName(appBlueprint.name);
        appBlueprint.binaryInfoPlist = i % 3 == 0;
        // Executables a framework gives many, one that several share, and some of their own.
        appBlueprint.executable = i % 4 == 2 ? "Electron" : i % 6 == 3 ? "Worker" : i % 7 == 5 ? "engine" + std::to_string(i) : "";
        appBlueprint.files = {{"Contents/Resources/data.bin", static_cast<std::int64_t>(1000 + i * 777)}};
        const auto bundle = tree.addApp("/Applications", appBlueprint);
        bundles.push_back(bundle);
        if (i % 5 == 2)
            tree.writePlist(bundle + "/Contents/Helpers/Agent.app/Contents/Info.plist",
                            plist::Value(plist::Dictionary{{"CFBundleIdentifier", "net.agents." + vendor + std::to_string(i)}}));
        if (i % 5 == 0)
            tree.addApp("/Applications/" + appBlueprint.name + ".app/Contents/MacOS",
                        blueprintOf(appBlueprint.name + " Helper", appBlueprint.identifier + ".helper"));
        const std::string program = bundle + "/Contents/Library/LaunchServices/" + appBlueprint.identifier + ".job";
        tree.writeFile(program, "#!/bin/sh\n");
        writeJob(tree, tree.at((i % 2 ? "~" : "") + std::string("/Library/LaunchAgents/") + appBlueprint.identifier + ".job.plist"),
                 program, appBlueprint.identifier + ".job");
        if (i % 3 == 0) {
            const std::string plugIn = tree.at("/Library/QuickLook/" + appBlueprint.name + ".qlgenerator");
            tree.writePlist(plugIn + "/Contents/Info.plist",
                            plist::Value(plist::Dictionary{{"CFBundleIdentifier", appBlueprint.identifier + ".ql"}}));
        }
        if (i % 4 == 1) {
            const std::string tool = tree.at("/Library/PrivilegedHelperTools/Tool" + std::to_string(i));
            tree.writeFile(tool, "#!/bin/sh\n");
            writeJob(tree, tree.at("/Library/LaunchDaemons/" + appBlueprint.identifier + ".tool.plist"), tool, appBlueprint.identifier + ".tool");
            tree.writeFile(tree.at("/private/var/db/receipts/" + appBlueprint.identifier + ".pkg.bom"), "bom");
        }
    }
    const std::vector<std::string> folders = {
        "~/Library/Application Support", "/Library/Application Support", "~/Library/Caches", "/Library/Caches",
        "~/Library/Preferences", "~/Library/Logs", "~/Library/Containers", "~/Library/Cookies",
        "~/Library/Saved Application State", "~/Library/Logs/DiagnosticReports", "/Users/Shared", "~/Library",
        "~/Library/WebKit", "~/Library/LaunchAgents", "~/Library/Group Containers", "~/Library/HTTPStorages",
        "~/Library/Application Scripts", "~/Library/Preferences/ByHost", "/private/var/db/receipts",
        "~/Library/Caches/SentryCrash", "~/Library/Application Support/Google/Chrome/NativeMessagingHosts",
        "~/Library/Application Support/com.apple.sharedfilelist/com.apple.LSSharedFileList.ApplicationRecentDocuments"};
    const std::vector<std::string> tails = {"", ".plist", ".savedState", "_2024-03-04-111111_host.crash",
                                            "_abcdef12.ips", "Agent", "-old", ".binarycookies", ".",
                                            "_1a2b", "~", ".helper", "bar", "-2024-03-04-111111.ips"};
    for (const auto& folder : folders) {
        std::set<std::string> used;
        for (int n = 0; n < 40; ++n) {
            std::string base;
            switch (random() % 4) {
            case 0: base = words[random() % words.size()]; break;
            case 1: base = "com." + vendors[random() % vendors.size()] + "." + UninstallScaner::normalizeName(words[random() % words.size()]); break;
            case 2: base = random() % 2 ? "group.com." + vendors[random() % vendors.size()] + ".sync"
                                        : std::vector<std::string>{"Electron", "Worker", "engine5", "net.agents.globex2", "net.agents.acme12"}[random() % 5];
                    break;
            default: base = "Unrelated" + std::to_string(random() % 100); break;
            }
            const std::string name = base + tails[random() % tails.size()];
            if (!used.insert(name).second)
                continue;
            const std::string path = tree.at(folder + "/" + name);
            if (random() % 2)
                tree.writeFile(path + "/content.dat", std::string(random() % 5000, 'x'));
            else
                tree.writeFile(path, std::string(random() % 3000, 'y'));
        }
        const std::string vendorFolder = tree.at(folder + "/" + vendors[random() % vendors.size()]);
        tree.writeFile(vendorFolder + "/" + words[random() % words.size()] + "/x", "12345");
        tree.writeFile(vendorFolder + "/Unrelated/y", "1");
    }
    tree.symlink(tree.at("/Library/Application Support"), tree.at("~/Library/Application Support/Sync"));
}

TEST_F(ScanLoopTest, ResultsEqualThePlainAlgorithmItemForItem)
{
    std::vector<std::string> bundles;
    buildOverlappingTree(tree, bundles);

    const auto manager = scannedCatalogue();
    ASSERT_EQ(manager->allApps().size(), bundles.size());
    for (const auto& app : manager->allApps()) {
        ASSERT_TRUE(app->isReady);
        // Names the tree spreads around: these find more than their bundle and launch job.
        if (app->bundlePath->find(" Pro.app") == std::string::npos) {
            EXPECT_GT(app->fileGroups.size(), 2u) << *app->bundlePath;
        }
    }
    expectPlainScanResults(manager->allApps());
}

class RecordingDelegate : public UninstallDelegate {
public:
    void appsDidLoad() override { ++loads; }
    void appDidScan(const std::shared_ptr<UninstallApp>& app) override
    {
        EXPECT_TRUE(app->isReady);
        scanned.push_back(*app->bundlePath);
        threadOk = threadOk && std::this_thread::get_id() != mainThread;
    }
    void allAppsDidScan() override { ++finished; }
    void uninstallProgress(UninstallType, double, double) override {}
    bool shouldForceQuit(const std::shared_ptr<UninstallApp>&) override { return false; }

    std::atomic<int> loads{0};
    std::atomic<int> finished{0};
    std::vector<std::string> scanned;
    std::thread::id mainThread = std::this_thread::get_id();
    bool threadOk = true;
};

TEST_F(ScanLoopTest, LoadAppsHandsOverToTheScanQueue)
{
    for (const std::string name : {"One", "Two", "Three"})
        tree.addApp("/Applications", blueprintOf(name, "com.test." + name));
    const auto manager = UninstallAppManager::make();
    auto delegate = std::make_shared<RecordingDelegate>();
    manager->setDelegate(delegate);
    manager->loadApps();
    EXPECT_EQ(delegate->loads, 1);
    ASSERT_TRUE(dispatch::MainQueue::runUntil([&] { return delegate->finished.load() == 1; }, 10s));
    manager->waitForScans();
    std::vector<std::string> expected;
    for (const auto& app : manager->allApps())
        expected.push_back(*app->bundlePath);
    EXPECT_EQ(delegate->scanned, expected);
    EXPECT_EQ(manager->index(), 3);
    EXPECT_EQ(manager->count(), 3);
    EXPECT_TRUE(delegate->threadOk);
}

TEST_F(ScanLoopTest, AnEmptyCatalogueStopsWithoutTheFinalCall)
{
    const auto manager = UninstallAppManager::make();
    auto delegate = std::make_shared<RecordingDelegate>();
    manager->setDelegate(delegate);
    manager->loadApps();
    // Delayed tasks run by due time, so once this one has run, so has the scan loop loadApps left.
    std::this_thread::sleep_for(600ms);
    manager->waitForScans();
    EXPECT_EQ(delegate->loads, 1);
    EXPECT_EQ(delegate->finished, 0);
}

TEST_F(ScanLoopTest, SizesOfFoldersLinksAndMetadata)
{
    fixtures::AppBlueprint appBlueprint;
    appBlueprint.name = "Sized";
    appBlueprint.identifier = "com.test.sized";
    appBlueprint.executableBytes = 10000;
    appBlueprint.files = {{"Contents/Resources/a.bin", 30000}, {"Contents/Resources/deep/b.bin", 5000}};
    appBlueprint.iconColor.reset();
    const auto bundle = tree.addApp("/Applications", appBlueprint);
    const auto manager = UninstallAppManager::make();
    const std::int64_t infoSize = static_cast<std::int64_t>(platform::fs::linkStatus(bundle + "/Contents/Info.plist")->st_size);
    EXPECT_EQ(UninstallAppManager::sizeOfPath(bundle, manager.get()), 45000 + infoSize);

    // A link to a big folder counts as the link itself.
    tree.writeFileOfSize(tree.at("/Big/huge.bin"), 50'000'000);
    tree.symlink(tree.at("/Big"), tree.at("~/Library/Caches/com.test.sized"));
    const auto scanned = scanBundle(bundle, manager);
    ASSERT_EQ(pathsIn(*scanned, T::cache).size(), 1u);
    const std::int64_t linkSize = static_cast<std::int64_t>(tree.at("/Big").size());
    const auto& cache = *std::find_if(scanned->fileGroups.begin(), scanned->fileGroups.end(), [](const auto& group) { return group->type == T::cache; });
    EXPECT_EQ(cache->fileItem.front()->size, linkSize);
    EXPECT_EQ(scanned->totalSize, scanned->bundleSize + linkSize);

    // Spotlight's figure is used from 20480 bytes on; below it the folder is walked.
    auto spotlight = std::make_shared<FakeSpotlight>();
    spotlight->sizes[bundle] = 50'000'000;
    spotlight->sizes[tree.at("/Big")] = 10'000;
    ScopedSpotlight scoped(spotlight);
    EXPECT_EQ(UninstallAppManager::sizeOfPath(bundle, manager.get()), 50'000'000);
    EXPECT_EQ(UninstallAppManager::sizeOfPath(tree.at("/Big"), manager.get()), 50'000'000);
    // The threshold itself is trusted; a byte less is walked.
    spotlight->sizes[tree.at("/Big")] = 20480;
    EXPECT_EQ(UninstallAppManager::sizeOfPath(tree.at("/Big"), manager.get()), 20480);
    spotlight->sizes[tree.at("/Big")] = 20479;
    EXPECT_EQ(UninstallAppManager::sizeOfPath(tree.at("/Big"), manager.get()), 50'000'000);
    manager->stopScanning();
    EXPECT_EQ(UninstallAppManager::sizeOfPath(bundle, manager.get()), 50'000'000);
    EXPECT_EQ(UninstallAppManager::sizeOfPath(tree.at("/Big"), manager.get()), 0);
    // Without a catalogue nothing is walked either.
    EXPECT_EQ(UninstallAppManager::sizeOfPath(bundle, nullptr), 50'000'000);
    EXPECT_EQ(UninstallAppManager::sizeOfPath(tree.at("/Big"), nullptr), 0);
}

TEST_F(ScanLoopTest, HiddenEntriesCountAndAFileLinkedTwiceCountsOnce)
{
    const auto manager = UninstallAppManager::make();
    const std::string folder = tree.at("~/Library/Application Support/Linked");
    tree.writeFileOfSize(folder + "/.DS_Store", 1000);
    tree.writeFileOfSize(folder + "/.hidden/inner.bin", 2000);
    tree.writeFileOfSize(folder + "/a.bin", 5000);
    ASSERT_EQ(::link((folder + "/a.bin").c_str(), (folder + "/.hidden/b.bin").c_str()), 0);
    // A file whose other link lies outside the walk counts once too.
    tree.writeFileOfSize(tree.at("/Outside/c.bin"), 700);
    ASSERT_EQ(::link(tree.at("/Outside/c.bin").c_str(), (folder + "/c.bin").c_str()), 0);
    EXPECT_EQ(UninstallAppManager::sizeOfPath(folder, manager.get()), 1000 + 2000 + 5000 + 700);
}

// A system-call table that runs a step of the test at a chosen point of a walk.
class WalkHook {
public:
    explicit WalkHook(std::function<void(const char* name)> onOpen) : table_(platform::sys::systemTable())
    {
        action() = std::move(onOpen);
        table_.openat = [](int folder, const char* name, int flags, mode_t mode) {
            action()(name);
            return platform::sys::systemTable().openat(folder, name, flags, mode);
        };
        // Folders handed to the helper thread are opened by their path.
        table_.open = [](const char* path, int flags, mode_t mode) {
            const char* slash = std::strrchr(path, '/');
            action()(slash ? slash + 1 : path);
            return platform::sys::systemTable().open(path, flags, mode);
        };
        previous_ = platform::sys::install(&table_);
    }
    ~WalkHook()
    {
        platform::sys::install(previous_);
        action() = nullptr;
    }

private:
    static std::function<void(const char*)>& action()
    {
        static std::function<void(const char*)> current;
        return current;
    }
    platform::sys::SystemCalls table_;
    const platform::sys::SystemCalls* previous_ = nullptr;
};

TEST_F(ScanLoopTest, ClearingContinueStopsARunningWalkWithTheTotalSoFar)
{
    for (int d = 0; d < 200; ++d)
        for (int f = 0; f < 50; ++f)
            tree.writeFileOfSize(tree.at("/Walk/d" + std::to_string(d) + "/f" + std::to_string(f)), 1000);
    const auto manager = UninstallAppManager::make();
    EXPECT_EQ(UninstallAppManager::sizeOfPath(tree.at("/Walk"), manager.get()), 200 * 50 * 1000);

    // The flag clears as the walk enters its twentieth folder: what was counted so far comes back.
    std::atomic<int> opened{0};
    std::int64_t partial = -1;
    {
        WalkHook hook([&](const char*) {
            if (++opened == 20)
                manager->stopScanning();
        });
        partial = UninstallAppManager::sizeOfPath(tree.at("/Walk"), manager.get());
    }
    EXPECT_GE(opened.load(), 20);
    EXPECT_LT(opened.load(), 200);
    EXPECT_GT(partial, 0);
    EXPECT_LT(partial, 200 * 50 * 1000);
    EXPECT_EQ(partial % 1000, 0);
    // Once cleared, no walk starts at all.
    EXPECT_EQ(UninstallAppManager::sizeOfPath(tree.at("/Walk"), manager.get()), 0);
}

TEST_F(ScanLoopTest, AFolderThatVanishesDuringTheWalkIsSkipped)
{
    for (int d = 0; d < 300; ++d)
        tree.writeFileOfSize(tree.at("/Vanish/d" + std::to_string(d) + "/f"), 100);
    const auto manager = UninstallAppManager::make();
    // Each folder is removed just before the walk opens it: listed, then gone. The walk may share
    // its folders with a helper thread.
    std::mutex lock;
    std::vector<std::string> vanished;
    std::int64_t size = -1;
    {
        WalkHook hook([&](const char* name) {
            const std::string folder(name);
            if (folder == "d7" || folder == "d150" || folder == "d299") {
                fixtures::MacTree::removeTree(tree.at("/Vanish/" + folder));
                std::lock_guard guard(lock);
                vanished.push_back(folder);
            }
        });
        size = UninstallAppManager::sizeOfPath(tree.at("/Vanish"), manager.get());
    }
    std::sort(vanished.begin(), vanished.end());
    EXPECT_EQ(vanished, (std::vector<std::string>{"d150", "d299", "d7"}));
    EXPECT_EQ(size, 297 * 100);
}

}  // namespace
