#include "ReferenceScan.h"
#include "ScannerTestSupport.h"
#include "fixtures/TrapTree.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using T = RkUninstallCategoryType;

class TrapTreeTest : public ::testing::Test {
protected:
    void SetUp() override { tree.activate(); }
    fixtures::MacTree tree;
};

std::set<std::string> offered(const UninstallApp& app)
{
    std::set<std::string> paths;
    for (const auto& group : app.fileGroups)
        if (group->type != T::bundle)
            for (const auto& item : group->fileItem)
                paths.insert(item->filePath);
    return paths;
}

std::string categoryOf(const UninstallApp& app, const std::string& path)
{
    for (const auto& group : app.fileGroups)
        for (const auto& item : group->fileItem)
            if (item->filePath == path)
                return std::string(categoryCaseName(group->type));
    return "";
}

// Every item that belongs to an application is offered to it, and nothing else: precision and
// recall 1.0, item by item.
TEST_F(TrapTreeTest, EveryApplicationGetsExactlyItsOwnItems)
{
    const fixtures::TrapTree trap(tree);
    const auto manager = UninstallAppManager::make();
    manager->discoverApps();
    ASSERT_EQ(manager->allApps().size(), trap.truth.size());
    manager->runScanLoop();

    std::set<std::string> everything;
    for (const auto& app : manager->allApps()) {
        const auto expected = trap.truth.at(*app->bundlePath);
        const auto actual = offered(*app);
        for (const auto& path : expected)
            EXPECT_TRUE(actual.count(path)) << app->displayName() << " misses " << path;
        for (const auto& path : actual)
            EXPECT_TRUE(expected.count(path)) << app->displayName() << " is offered " << path;
        everything.insert(actual.begin(), actual.end());
    }
    for (const auto& path : trap.nobodys)
        EXPECT_FALSE(everything.count(path)) << "offered: " << path;
}

// Each new item lies where a user looks for it; launch jobs stay the only daemon items.
TEST_F(TrapTreeTest, ItemsGoWhereAUserLooksForThem)
{
    const fixtures::TrapTree trap(tree);
    const auto foo = scanBundle(trap.helperApp);
    const auto at = [&](const std::string& macPath) { return categoryOf(*foo, tree.at(macPath)); };
    EXPECT_EQ(at("~/Library/Group Containers/group.com.vendor.foo"), "Sandbox");
    EXPECT_EQ(at("~/Library/Group Containers/Foo Stash"), "Sandbox");
    EXPECT_EQ(at("~/Library/Application Scripts/com.vendor.foo.ShareExtension"), "Sandbox");
    EXPECT_EQ(at("~/Library/HTTPStorages/com.vendor.foo.binarycookies"), "cookies");
    EXPECT_EQ(at("~/Library/Preferences/ByHost/com.vendor.foo.0A1B2C3D-4E5F-6789-ABCD-EF0123456789.plist"), "preference");
    EXPECT_EQ(categoryOf(*foo, trap.helperTool), "other");
    EXPECT_EQ(categoryOf(*foo, trap.helperJob), "daemon");
    EXPECT_EQ(at("/private/var/db/receipts/com.vendor.foo.pkg.bom"), "other");
    EXPECT_EQ(at("/Library/Audio/Plug-Ins/Components/FooSynth.component"), "other");
    for (const auto& path : pathsIn(*foo, T::daemon))
        EXPECT_NE(path.find("/Library/LaunchDaemons/"), std::string::npos) << path;
}

// The plain algorithm agrees item for item on the trap tree too.
TEST_F(TrapTreeTest, TheScanEqualsThePlainAlgorithm)
{
    const fixtures::TrapTree trap(tree);
    expectPlainScanResults(scannedCatalogue()->allApps());
}

}  // namespace
