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
            manager->scanerQueue.sync([] {});
    }
    std::shared_ptr<UninstallAppManager> make()
    {
        made.push_back(UninstallAppManager::make());
        return made.back();
    }
    fixtures::MacTree tree;
    std::vector<std::shared_ptr<UninstallAppManager>> made;
};

TEST_F(UninstallAppManagerTest, StartsEmptyWithItsQueues)
{
    const auto manager = make();
    EXPECT_TRUE(manager->allApps.empty());
    EXPECT_TRUE(manager->continue_);
    EXPECT_EQ(manager->index(), 0);
    EXPECT_EQ(manager->count(), 0);
    EXPECT_EQ(manager->scanerQueue.label(), "com.uninstatll.scaner");
    EXPECT_EQ(manager->deleteQueue.label(), "com.uninstatll.delete");
    EXPECT_EQ(UninstallAppManager::shared().get(), UninstallAppManager::shared().get());
}

TEST_F(UninstallAppManagerTest, EmptyTreeStillReportsTheLoad)
{
    const auto manager = make();
    auto delegate = std::make_shared<RecordingDelegate>();
    manager->delegate = delegate;
    manager->loadApps();
    EXPECT_TRUE(manager->allApps.empty());
    EXPECT_EQ(delegate->loads, 1);
    EXPECT_EQ(delegate->loadThread, std::this_thread::get_id());
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
    for (const auto& app : manager->allApps)
        paths.push_back(*app->bundlePath);
    EXPECT_EQ(paths, (std::vector<std::string>{alpha, beta, external}));
    EXPECT_EQ(manager->allApps[0]->bundleIdentifier(), "com.vendor.alpha");

    // A second discovery appends; the catalogue is never emptied by it.
    manager->loadApps();
    EXPECT_EQ(manager->allApps.size(), 6u);
}

TEST_F(UninstallAppManagerTest, WithoutADelegateNothingIsCalled)
{
    const auto manager = make();
    {
        auto delegate = std::make_shared<RecordingDelegate>();
        manager->delegate = delegate;
    }
    manager->loadApps();
    EXPECT_TRUE(manager->delegate.expired());
}

}  // namespace
