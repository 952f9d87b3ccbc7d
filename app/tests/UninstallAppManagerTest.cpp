#include "app/catalogue/UninstallAppManager.h"
#include "fixtures/MacTree.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

class RecordingDelegate : public UninstallDelegate {
public:
    void appsDidLoad() override
    {
        ++loads;
        loadThread = std::this_thread::get_id();
    }
    void appDidScan(const std::shared_ptr<UninstallApp>&) override { ++scans; }
    void allAppsDidScan() override { ++allScans; }
    void uninstallProgress(UninstallType, double, double) override {}
    bool shouldForceQuit(const std::shared_ptr<UninstallApp>&) override { return false; }

    int loads = 0;
    int scans = 0;
    int allScans = 0;
    std::thread::id loadThread;
};

class UninstallAppManagerTest : public ::testing::Test {
protected:
    void SetUp() override { tree.activate(); }
    // loadApps scans on the catalogue's queue: that scan reads the tree, so it ends before the tree goes.
    void TearDown() override
    {
        for (const auto& manager : made)
            manager->waitForScans();
    }
    std::shared_ptr<UninstallAppManager> make()
    {
        made.push_back(UninstallAppManager::make());
        return made.back();
    }
    fixtures::MacTree tree;
    std::vector<std::shared_ptr<UninstallAppManager>> made;
};

TEST_F(UninstallAppManagerTest, EmptyTreeStillReportsTheLoad)
{
    const auto manager = make();
    auto delegate = std::make_shared<RecordingDelegate>();
    manager->setDelegate(delegate);
    manager->loadApps();
    EXPECT_TRUE(manager->allApps().empty());
    EXPECT_EQ(manager->count(), 0);
    EXPECT_EQ(delegate->loads, 1);
    EXPECT_EQ(delegate->loadThread, std::this_thread::get_id());
    // The catalogue holds its delegate weakly: once it is gone, nothing is called.
    delegate.reset();
    manager->loadApps();
    manager->waitForScans();
}

TEST_F(UninstallAppManagerTest, SameBundleThroughTwoFoldersIsListedOnceAtItsFirstPlace)
{
    fixtures::AppBlueprint appBlueprint;
    appBlueprint.identifier = "com.vendor.alpha";
    appBlueprint.name = "Alpha";
    const auto alpha = tree.addApp("/Applications", appBlueprint);
    appBlueprint.identifier = "com.vendor.beta";
    appBlueprint.name = "Beta";
    const auto beta = tree.addApp("~/Applications", appBlueprint);
    const auto external = tree.addApp("/Volumes/Disk", appBlueprint);
    // Reached twice: through a Desktop link and a Downloads link to the same place.
    tree.symlink(external, tree.at("~/Downloads/Beta.app"));
    tree.symlink(external, tree.at("~/Desktop/Beta.app"));

    const auto manager = make();
    manager->loadApps();
    std::vector<std::string> paths;
    for (const auto& app : manager->allApps())
        paths.push_back(*app->bundlePath);
    EXPECT_EQ(paths, (std::vector<std::string>{alpha, beta, external}));
    EXPECT_EQ(manager->allApps()[0]->bundleIdentifier(), "com.vendor.alpha");

    // A second discovery appends; the catalogue is never emptied by it.
    manager->loadApps();
    EXPECT_EQ(manager->allApps().size(), 6u);
}

}  // namespace

// An application removed while the scan loop is still going leaves the list, and the loop goes on
// with the one after it: none is skipped, and the end of the scan is still reported once.
TEST_F(UninstallAppManagerTest, ARemovalDuringTheScanNeitherSkipsNorLosesTheEnd)
{
    class RemoveFirst : public RecordingDelegate {
    public:
        std::weak_ptr<UninstallAppManager> manager;
        void appDidScan(const std::shared_ptr<UninstallApp>& app) override
        {
            RecordingDelegate::appDidScan(app);
            const auto catalogue = manager.lock();
            if (scans != 1 || !catalogue)
                return;
            app->setSelectionState(kSelectionOn);
            catalogue->removeApps({app});
            catalogue->waitForRemovals();
        }
    };
    fixtures::AppBlueprint blueprint;
    for (const char* name : {"Alpha", "Beta", "Gamma"}) {
        blueprint.name = name;
        blueprint.identifier = std::string("com.vendor.") + name;
        tree.addApp("/Applications", blueprint);
    }
    const auto manager = make();
    const auto delegate = std::make_shared<RemoveFirst>();
    delegate->manager = manager;
    manager->setDelegate(delegate);
    manager->discoverApps();
    auto expected = manager->allApps();
    expected.erase(expected.begin());
    manager->runScanLoop();

    EXPECT_EQ(manager->allApps(), expected);
    for (const auto& app : expected)
        EXPECT_TRUE(app->isReady) << app->executableName();
    EXPECT_EQ(delegate->scans, 3);
    EXPECT_EQ(delegate->allScans, 1);
    EXPECT_EQ(manager->count(), 2);
}
