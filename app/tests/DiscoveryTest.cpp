#include "ScannerTestSupport.h"
#include "app/bundles/BundleReader.h"
#include "app/locations/SearchFilePath.h"
#include "fixtures/MacTree.h"
#include "fixtures/Unprivileged.h"
#include "fixtures/WrappedApp.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>

namespace {

class DiscoveryTest : public ::testing::Test {
protected:
    void SetUp() override { tree.activate(); }

    std::string app(const std::string& folder, const std::string& name, const std::string& identifier = "")
    {
        fixtures::AppBlueprint appBlueprint;
        appBlueprint.name = name;
        appBlueprint.identifier = identifier.empty() ? "com.test." + std::to_string(++counter) : identifier;
        return tree.addApp(folder, appBlueprint);
    }

    fixtures::MacTree tree;
    int counter = 0;
};

TEST_F(DiscoveryTest, DepthLimitIsThreeBelowTheFolder)
{
    const auto shallow = app("/Applications", "Top");
    const auto depth3 = app("/Applications/Tools/Sub", "Three");
    const auto depth4 = app("/Applications/Tools/Sub/Deep", "Four");
    const auto found = SearchFilePath::applicationBundles();
    EXPECT_TRUE(has(found, shallow));
    EXPECT_TRUE(has(found, depth3));
    EXPECT_FALSE(has(found, depth4));
}

TEST_F(DiscoveryTest, FolderOrderThenListingOrder)
{
    const auto downloads = app("~/Downloads", "Down");
    const auto system = app("/Applications", "Sys");
    const auto user = app("~/Applications", "Mine");
    const auto found = SearchFilePath::applicationBundles();
    EXPECT_EQ(found, (std::vector<std::string>{system, user, downloads}));
}

TEST_F(DiscoveryTest, LinksIntoApplicationFoldersAreSkippedOthersFollowed)
{
    const auto target = app("/Applications", "Linked");
    tree.symlink(target, tree.at("~/Desktop/Linked.app"));
    const auto elsewhere = app("/Volumes/Disk", "External");
    tree.symlink(elsewhere, tree.at("~/Desktop/External.app"));
    // A relative link is read beside the link itself.
    tree.symlink("../../../Volumes/Disk/External.app", tree.at("~/Downloads/Relative.app"));
    // Following a link still applies the filters: this one lands inside a bundle.
    const auto outer = app("/Volumes/Disk", "Outer");
    const auto inner = app("/Volumes/Disk/Outer.app/Contents/Library", "Inner");
    tree.symlink(inner, tree.at("~/Desktop/Inner.app"));
    tree.symlink(tree.at("/Volumes/Missing.app"), tree.at("~/Desktop/Dangling.app"));

    const auto found = SearchFilePath::applicationBundles();
    EXPECT_EQ(std::count(found.begin(), found.end(), target), 1);
    EXPECT_EQ(std::count(found.begin(), found.end(), elsewhere), 2);
    EXPECT_FALSE(has(found, tree.at("~/Desktop/External.app")));
    EXPECT_FALSE(has(found, inner));
    EXPECT_FALSE(has(found, outer));
    EXPECT_FALSE(has(found, tree.at("/Volumes/Missing.app")));
}

TEST_F(DiscoveryTest, EveryMountedVolumesApplicationsAreListedOnce)
{
    const auto system = app("/Applications", "Sys");
    const auto onVolume = app("/Volumes/Shuttle/Applications/Tools", "Loom");
    app("/Volumes/Shuttle", "Loose");
    app("/Volumes/.timemachine/Applications", "Snapshot");
    // The start-up disk's entry is a link to the root, whose applications are listed already.
    tree.symlink(tree.root(), tree.at("/Volumes/Macintosh HD"));
    EXPECT_EQ(SearchFilePath::applicationBundles(), (std::vector<std::string>{system, onVolume}));
}

TEST_F(DiscoveryTest, AWrappedMobileApplicationIsListedByItsOuterBundleAndDescribedByTheInner)
{
    const fixtures::WrappedApp tidepool{"Tidepool", "com.shoalgames.tidepool", "Tidepool Puzzles"};
    const auto outer = fixtures::addWrappedApp(tree, "/Applications", tidepool);
    const std::string container = tree.at("~/Library/Containers/com.shoalgames.tidepool");
    tree.writeFileOfSize(container + "/Data/Library/Preferences/com.shoalgames.tidepool.plist", 300);
    EXPECT_TRUE(SearchFilePath::isListableBundle(outer));
    const auto manager = UninstallAppManager::make();
    manager->setFindsRemains(false);
    manager->discoverApps();
    ASSERT_EQ(manager->allApps().size(), 1u);
    const auto record = manager->allApps().front();
    EXPECT_EQ(record->bundlePath.value_or(""), outer);
    EXPECT_EQ(record->bundleIdentifier(), tidepool.identifier);
    EXPECT_EQ(record->displayName(), tidepool.displayName);
    EXPECT_EQ(record->executableName(), tidepool.name);
    ASSERT_TRUE(record->icon.has_value());
    EXPECT_EQ(record->icon->imagePath, fixtures::wrappedAppIcon(outer, tidepool));
    manager->runScanLoop();
    EXPECT_TRUE(has(pathsIn(*record, RkUninstallCategoryType::Sandbox), container));

    // Only a bundle in the bundle's own Wrapper folder, reached without a link, describes it.
    const std::string decoy = tree.at("/Users/Shared/Decoy.app");
    tree.writePlist(decoy + "/Info.plist", plist::Value(plist::Dictionary{{"CFBundleIdentifier", "com.decoy.app"}}));
    const std::string mirage = tree.at("/Applications/Mirage.app");
    for (const auto& [wrapper, target] : std::vector<std::pair<std::string, std::string>>{
             {"", decoy}, {"", "../../Users/Shared/Decoy.app"}, {tree.at("/Users/Shared"), "Wrapper/Decoy.app"}}) {
        fixtures::MacTree::removeTree(mirage);
        tree.makeDirectories(mirage);
        if (!wrapper.empty())
            tree.symlink(wrapper, mirage + "/Wrapper");
        tree.symlink(target, mirage + "/WrappedBundle");
        EXPECT_EQ(BundleReader::record(mirage)->bundleIdentifier(), "") << target;
    }
}

TEST_F(DiscoveryTest, PackagesAreNeitherListedNorEntered)
{
    const auto inside = app("/Applications/Game.bundle", "Hidden");
    const auto outer = app("/Applications", "Outer");
    const auto nested = app("/Applications/Outer.app/Contents/Library", "Nested");
    const auto found = SearchFilePath::applicationBundles();
    EXPECT_EQ(found, std::vector<std::string>{outer});
    EXPECT_FALSE(has(found, inside));
    EXPECT_FALSE(has(found, nested));
    EXPECT_FALSE(SearchFilePath::isListableBundle(nested));
}

TEST_F(DiscoveryTest, PathFilters)
{
    const std::string home = tree.home();
    EXPECT_TRUE(SearchFilePath::isListableBundle(app("/Applications", "Good")));
    EXPECT_FALSE(SearchFilePath::isListableBundle(tree.at("/Applications/Missing.app")));
    EXPECT_FALSE(SearchFilePath::isListableBundle(app("~/.Trash", "Trashed")));
    EXPECT_FALSE(SearchFilePath::isListableBundle(app("/Applications/Resources", "InResources")));
    EXPECT_FALSE(SearchFilePath::isListableBundle(app("/Applications/MyResource", "Partial")));
    EXPECT_FALSE(SearchFilePath::isListableBundle(app("~/Library/Apps", "InLibrary")));
    EXPECT_FALSE(SearchFilePath::isListableBundle(app("~/Applications/CrossOver", "Bottle")));
    EXPECT_FALSE(SearchFilePath::isListableBundle(app("/Applications/BUILD", "Built")));
    EXPECT_FALSE(SearchFilePath::isListableBundle(app("/Applications/Applications (Parallels)", "Win")));
    EXPECT_FALSE(SearchFilePath::isListableBundle(app("/Applications/node_modules", "Node")));
    EXPECT_TRUE(SearchFilePath::isListableBundle(app("/Applications/builds", "NotBuild")));
    tree.makeDirectories(tree.at("/Applications/Folder.app.d"));
    EXPECT_FALSE(SearchFilePath::isListableBundle(tree.at("/Applications/Folder.app.d")));
}

TEST_F(DiscoveryTest, IdentifierFilters)
{
    EXPECT_TRUE(SearchFilePath::isListableIdentifier(app("/Applications", "Transporter", "com.apple.TransporterApp")));
    EXPECT_FALSE(SearchFilePath::isListableIdentifier(app("/Applications", "Safari", "com.apple.Safari")));
    EXPECT_FALSE(SearchFilePath::isListableIdentifier(app("/Applications", "Soft", "com.applesoft.x")));
    EXPECT_FALSE(SearchFilePath::isListableIdentifier(app("/Applications", "Self", "com.qzt.ostrova")));
    EXPECT_FALSE(SearchFilePath::isListableIdentifier(app("/Applications", "Proxy", "com.vmware.proxyApp")));
    EXPECT_FALSE(SearchFilePath::isListableIdentifier(app("/Applications", "Bridge", "com.parallels.ApplicationGroupBridge")));
    EXPECT_FALSE(SearchFilePath::isListableIdentifier(app("/Applications", "WinApp", "com.parallels.winapp")));
    EXPECT_TRUE(SearchFilePath::isListableIdentifier(app("/Applications", "Other", "com.parallels.desktop")));
    EXPECT_FALSE(SearchFilePath::isListableIdentifier(tree.at("/Applications/Missing.app")));

    fixtures::AppBlueprint bare;
    bare.name = "NoIdentifier";
    EXPECT_TRUE(SearchFilePath::isListableIdentifier(tree.addApp("/Applications", bare)));
}

TEST_F(DiscoveryTest, PlayCoverFolderOnlyInsideTheSandbox)
{
    const std::string folder = "~/Library/Containers/io.playcover.PlayCover/Applications";
    const auto outside = app(folder, "Game");
    EXPECT_FALSE(has(SearchFilePath::applicationBundles(), outside));

    // Sandboxed, the home is the container, so the home-Library filter no longer covers it. The
    // scan reaches the folder through the container grant it holds.
    const std::string container = tree.home() + "/Library/Containers/com.qzt.ostrova/Data";
    tree.makeDirectories(container);
    tree.environment().set("APP_SANDBOX_CONTAINER_ID", "com.qzt.ostrova");
    tree.environment().set("HOME", container);
    EXPECT_TRUE(SearchFilePath::isListableBundle(outside));
}

TEST_F(DiscoveryTest, HostileEntriesDoNotStopTheWalk)
{
    const auto good = app("/Applications", "Good");
    app("/Applications", "Quote\"s and 'ticks'");
    app("/Applications", "New\nLine");
    app("/Applications", std::string("Bad\xff UTF"));
    tree.symlink(tree.at("/Applications/LoopA"), tree.at("/Applications/LoopB"));
    tree.symlink(tree.at("/Applications/LoopB"), tree.at("/Applications/LoopA"));
    tree.symlink("Self", tree.at("/Applications/Self"));
    tree.writeFile(tree.at("/Applications/plain file"), "x");
    const auto found = SearchFilePath::applicationBundles();
    EXPECT_TRUE(has(found, good));
    EXPECT_EQ(found.size(), 4u);
}

TEST_F(DiscoveryTest, UnreadableFolderContributesNothing)
{
    const auto good = app("/Applications", "Good");
    const auto hidden = app("/Applications/Locked", "Hidden");
    ASSERT_EQ(::chmod(tree.at("/Applications/Locked").c_str(), 0), 0);
    const int result = fixtures::runUnprivileged([&] {
        const auto found = SearchFilePath::applicationBundles();
        return has(found, good) && !has(found, hidden) ? 0 : 1;
    });
    ::chmod(tree.at("/Applications/Locked").c_str(), 0755);
    EXPECT_EQ(result, 0);
}

}  // namespace
