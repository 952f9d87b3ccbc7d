// The remains of applications that are gone, found on a Mac laid out with traps: every remain, no
// trap, item by item.
#include "ScannerTestSupport.h"
#include "app/scanner/BundleWalk.h"
#include "app/scanner/RemainsFinder.h"
#include "app/scanner/SystemIdentifiers.h"
#include "fixtures/BackgroundProcess.h"
#include "fixtures/RemainsTree.h"
#include "fixtures/ScopedEnvironment.h"
#include "platform/FileSystem.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <memory>
#include <set>

namespace {

using T = RkUninstallCategoryType;

class RemainsTest : public ::testing::Test {
protected:
    void SetUp() override { tree.activate(); }
    fixtures::MacTree tree;
};

std::map<std::string, std::set<std::string>> offeredByIdentifier(const UninstallAppManager& manager)
{
    std::map<std::string, std::set<std::string>> offered;
    for (const auto& app : manager.goneApps())
        for (const auto& group : app->fileGroups)
            for (const auto& item : group->fileItem)
                offered[app->bundleIdentifier()].insert(item->filePath);
    return offered;
}

TEST_F(RemainsTest, EveryRemainIsFoundAndNoTrapIsOffered)
{
    const fixtures::RemainsTree remains(tree);
    // The running application's bundle is known only while it runs.
    fixtures::BackgroundProcess runner({remains.runnerExecutable, "600"});
    ASSERT_TRUE(runner.waitUntilRunning(remains.runnerExecutable));
    const auto manager = scannedCatalogue();
    // Keel, Tern, Gull and Loom on a mounted volume; Petrel, Skua and the others are not listed.
    ASSERT_EQ(manager->allApps().size(), 4u);

    const auto offered = offeredByIdentifier(*manager);
    std::set<std::string> everything;
    for (const auto& [identifier, paths] : offered)
        everything.insert(paths.begin(), paths.end());
    for (const auto& [identifier, expected] : remains.truth) {
        ASSERT_TRUE(offered.count(identifier)) << identifier << " was not found";
        for (const auto& path : expected)
            EXPECT_TRUE(offered.at(identifier).count(path)) << identifier << " misses " << path;
        for (const auto& path : offered.at(identifier))
            EXPECT_TRUE(expected.count(path)) << identifier << " is offered " << path;
    }
    for (const auto& [identifier, paths] : offered)
        EXPECT_TRUE(remains.truth.count(identifier)) << "a gone application that is not: " << identifier << " with " << *paths.begin();
    for (const auto& path : remains.traps)
        EXPECT_FALSE(everything.count(path)) << "offered: " << path;
    EXPECT_FALSE(everything.count(remains.runnerCache));

    // The scan loop walks for installed bundles beside the scan; asked on its own, the catalogue
    // walks them itself, with the same outcome.
    manager->goneApps().clear();
    manager->findGoneApps();
    EXPECT_EQ(offeredByIdentifier(*manager), offered);
}

TEST_F(RemainsTest, ARunningApplicationsDataIsARemainOnceItStops)
{
    const fixtures::RemainsTree remains(tree);
    // The same application running from another machine's disk (another system root) is not
    // running on this Mac.
    std::unique_ptr<fixtures::MacTree> elsewhere;
    {
        // Made where it would be without this Mac (whose temporary folder lies inside it).
        fixtures::ScopedEnvironment outside;
        outside.unset("TMPDIR");
        elsewhere = std::make_unique<fixtures::MacTree>();
    }
    ASSERT_FALSE(elsewhere->root().starts_with(tree.root()));
    const auto copy = elsewhere->addApp("/opt/Runner", blueprintOf("Skua", remains.runnerIdentifier, "skua"));
    const std::string program = std::filesystem::canonical(fixtures::copyExecutable(copy + "/Contents/MacOS/skua")).string();
    fixtures::BackgroundProcess runner({program, "600"});
    ASSERT_TRUE(runner.waitUntilRunning(program));

    const auto manager = scannedCatalogue();
    const auto offered = offeredByIdentifier(*manager);
    ASSERT_TRUE(offered.count(remains.runnerIdentifier));
    EXPECT_EQ(offered.at(remains.runnerIdentifier), std::set<std::string>{remains.runnerCache});
}

TEST_F(RemainsTest, RecordsAreNamedGroupedAndNothingIsTicked)
{
    const fixtures::RemainsTree remains(tree);
    fixtures::BackgroundProcess runner({remains.runnerExecutable, "600"});
    ASSERT_TRUE(runner.waitUntilRunning(remains.runnerExecutable));
    const auto manager = scannedCatalogue();
    ASSERT_EQ(manager->goneApps().size(), remains.truth.size());
    for (const auto& app : manager->goneApps()) {
        EXPECT_TRUE(app->isGone());
        EXPECT_TRUE(app->isReady);
        EXPECT_TRUE(app->remainsCertain) << app->bundleIdentifier();
        EXPECT_EQ(app->displayName(), remains.displayNames.at(app->bundleIdentifier()));
        EXPECT_EQ(app->selectionState(), kSelectionOff) << app->bundleIdentifier();
        std::int64_t total = 0;
        for (const auto& group : app->fileGroups) {
            EXPECT_NE(group->type, T::bundle);
            EXPECT_EQ(group->app.lock(), app);
            for (const auto& item : group->fileItem) {
                EXPECT_FALSE(item->isSelected) << item->filePath;
                EXPECT_EQ(item->type, group->type);
                EXPECT_EQ(item->isDir, platform::fs::isDirectoryNoFollow(item->filePath)) << item->filePath;
                EXPECT_GT(item->size, 0) << item->filePath;
                total += item->size;
            }
        }
        EXPECT_EQ(app->totalSize, total);
    }
    // Each remain sits in the category of the folder it was found in.
    const auto tally = withIdentifier(manager->goneApps(), "com.driftwood.tally");
    ASSERT_TRUE(tally);
    EXPECT_TRUE(has(pathsIn(*tally, T::daemon), tree.at("~/Library/LaunchAgents/com.driftwood.tally.agent.plist")));
    EXPECT_TRUE(has(pathsIn(*tally, T::Sandbox), tree.at("~/Library/Group Containers/ABCDE12345.com.driftwood.tally")));
    EXPECT_TRUE(has(pathsIn(*tally, T::state), tree.at("~/Library/Saved Application State/com.driftwood.tally.savedState")));
    EXPECT_TRUE(has(pathsIn(*tally, T::cookies), tree.at("~/Library/HTTPStorages/com.driftwood.tally.binarycookies")));
    EXPECT_TRUE(has(pathsIn(*tally, T::crashReporter), tree.at("~/Library/Logs/DiagnosticReports/com.driftwood.tally_2025-03-04-101112_host.crash")));
}

TEST_F(RemainsTest, ALaunchJobIsNoRemainWhileTheBundleItRunsFromExists)
{
    const fixtures::RemainsTree remains(tree);
    // Another application now lies where the job's program did; the program itself is missing.
    tree.addApp("/Applications", blueprintOf("Beacon", "org.harborlight.beacon"));
    const auto manager = scannedCatalogue();
    const auto offered = offeredByIdentifier(*manager);
    ASSERT_TRUE(offered.count("org.lanternworks.beacon"));
    EXPECT_FALSE(offered.at("org.lanternworks.beacon").count(remains.goneDaemonJob));
    EXPECT_EQ(offered.at("org.lanternworks.beacon").size(), remains.truth.at("org.lanternworks.beacon").size() - 1);
    EXPECT_FALSE(offered.count("org.lanternworks.beacon.helper"));
}

// A bundle in the Trash still tells its names: what it left is found by them too, and shown under
// its own name and icon; an entry an installed application has the stronger claim on stays out.
TEST_F(RemainsTest, AnApplicationInTheTrashIsGoneWithItsNameBasedFiles)
{
    const fixtures::RemainsTree remains(tree);
    auto trashed = blueprintOf("Tally", "com.driftwood.tally", "tallyd");
    trashed.displayName = "Driftwood Tally";
    tree.addApp("~/.Trash/Old Tools", trashed);
    tree.addApp("/Applications", blueprintOf("Tally Sheet", "net.sheets.tally", "tallyd"));
    auto byName = remains.truth.at("com.driftwood.tally");
    for (const auto& path : {tree.at("~/Library/Application Support/Tally"), tree.at("/Library/Caches/Driftwood Tally"),
                             tree.at("~/Library/Logs/DiagnosticReports/Tally-2026-11-03-101010.ips")}) {
        tree.writeFileOfSize(path, 15 << 20);
        byName.insert(path);
    }
    // tallyd is two applications' executable: it says nothing. Tally Sheet's own folder stays its.
    const std::string shared = tree.at("~/Library/Application Support/tallyd");
    const std::string sheet = tree.at("~/Library/Application Support/Tally Sheet");
    tree.writeFile(shared, "x");
    tree.writeFile(sheet, "x");

    const auto manager = scannedCatalogue();
    const auto offered = offeredByIdentifier(*manager);
    ASSERT_TRUE(offered.count("com.driftwood.tally"));
    EXPECT_EQ(offered.at("com.driftwood.tally"), byName);
    EXPECT_FALSE(offered.at("com.driftwood.tally").count(shared));
    const auto record = withIdentifier(manager->goneApps(), "com.driftwood.tally");
    const auto sheetApp = withIdentifier(manager->allApps(), "net.sheets.tally");
    ASSERT_TRUE(record && sheetApp);
    EXPECT_EQ(record->displayName(), "Driftwood Tally");
    EXPECT_TRUE(record->icon.has_value());
    EXPECT_GT(record->totalSize, 3 * (15 << 20));
    EXPECT_TRUE(has(allPaths(*sheetApp), sheet));
    EXPECT_FALSE(has(allPaths(*sheetApp), shared));
}

TEST_F(RemainsTest, RemainsAreUncertainWhenTheSearchForInstalledCopiesRanOutOfTime)
{
    const fixtures::RemainsTree remains(tree);
    const auto manager = scannedCatalogue();
    const auto found = offeredByIdentifier(*manager);
    // A deadline already passed stops the walk before its first folder; one far off lets it end.
    const auto roots = BundleWalk::defaultRoots();
    auto cut = BundleWalk::bundlesUnder(roots, std::chrono::steady_clock::now() - std::chrono::seconds(1), nullptr);
    EXPECT_FALSE(cut.complete);
    EXPECT_TRUE(cut.bundles.empty());
    const auto whole = BundleWalk::bundlesUnder(roots, std::chrono::steady_clock::now() + std::chrono::hours(1), nullptr);
    EXPECT_TRUE(whole.complete);
    // Whatever the cut walk found stays known: only what it could not look at is in doubt.
    cut.bundles = whole.bundles;
    manager->findGoneApps(nullptr, cut);
    EXPECT_EQ(offeredByIdentifier(*manager), found);
    for (const auto& app : manager->goneApps())
        EXPECT_FALSE(app->remainsCertain) << app->bundleIdentifier();
    manager->findGoneApps(nullptr, whole);
    EXPECT_EQ(offeredByIdentifier(*manager), found);
    for (const auto& app : manager->goneApps())
        EXPECT_TRUE(app->remainsCertain) << app->bundleIdentifier();
}

TEST(RemainsIdentifierTest, NamesCarryIdentifiersOnlyWhenReverseDns)
{
    for (const auto& [name, type] : std::vector<std::pair<std::string, T>>{
             {"com.vendor.app", T::cache}, {"com.vendor.app.plist", T::preference}, {"com.vendor.app.savedState", T::state},
             {"com.vendor.app.binarycookies", T::cookies}, {"ABCDE12345.com.vendor.app", T::Sandbox}, {"group.com.vendor.app", T::Sandbox},
             {"com.vendor.app.0A1B2C3D-4E5F-6789-ABCD-EF0123456789.plist", T::preference}, {"com.vendor.app.001122aabbcc.plist", T::preference},
             {"com.vendor.app_2025-01-01-101010_host.crash", T::crashReporter}, {"com.vendor.app-2025-01-01-101010.ips", T::crashReporter}})
        EXPECT_EQ(RemainsFinder::identifierInName(name, type), "com.vendor.app") << name;
    EXPECT_EQ(RemainsFinder::identifierInName("com.vendor.my-app-2025-01-01-101010.cpu_resource.diag", T::crashReporter), "com.vendor.my-app");
    EXPECT_EQ(RemainsFinder::identifierInName("com.vendor.pkg.bom", T::other), "com.vendor.pkg");
    EXPECT_EQ(RemainsFinder::identifierInName("de.vendor.app-helper", T::cache), "de.vendor.app-helper");
    for (const char* none : {"Quire", "Homebrew", "com.vendor", "com.vendor.plist", "loginwindow.plist", ".GlobalPreferences.plist",
                             "tmp.abc.def", "Vendor.App.Data", "com..app", "com.vendor.app.", "1.2.3", "com.vendor app.x",
                             "ABCDE12345.com.vendor", "group.com.vendor"})
        EXPECT_EQ(RemainsFinder::identifierInName(none, T::cache), "") << none;
}

TEST(RemainsIdentifierTest, InstalledIdentifiersCoverTheirHelpersAndFamiliesWhole)
{
    InstalledIdentifiers installed;
    installed.addBundle("com.vendor.app");
    installed.addBundle("com.suite.writer.pro");
    installed.addGroup("ABCDE12345.group.com.vendor.shared");
    EXPECT_TRUE(installed.covers("com.vendor.app"));
    EXPECT_TRUE(installed.covers("com.Vendor.App"));
    EXPECT_TRUE(installed.covers("com.vendor.app.helper"));
    EXPECT_TRUE(installed.covers("com.vendor.app-agent"));
    EXPECT_TRUE(installed.covers("com.suite.writer"));
    EXPECT_TRUE(installed.covers("com.vendor.shared"));
    EXPECT_FALSE(installed.covers("com.vendor.apple"));
    EXPECT_FALSE(installed.covers("com.vendor.other"));
    EXPECT_FALSE(installed.covers("com.vendor.shared.more"));
    EXPECT_FALSE(installed.covers("com.suite.writerly"));
}

TEST(RemainsIdentifierTest, SystemIdentifiersAreWholeParts)
{
    for (const char* system : {"com.apple.Safari", "COM.APPLE.finder", "com.qzt.ostrova", "com.qzt.ostrova.agent",
                               "com.halvane.ostrova", "org.sparkle-project.Sparkle"})
        EXPECT_TRUE(SystemIdentifiers::isSystem(system)) << system;
    for (const char* other : {"com.applesoft.app", "com.qzt.ostrovan", "com.vendor.apple", "org.sparkle.app"})
        EXPECT_FALSE(SystemIdentifiers::isSystem(other)) << other;
}

}  // namespace
