#include "ScannerTestSupport.h"
#include "app/locations/SearchFilePath.h"

#include <gtest/gtest.h>

namespace {

using T = RkUninstallCategoryType;

class ScannerMatchingTest : public ::testing::Test {
protected:
    void SetUp() override { tree.activate(); }

    std::string app(const std::string& name, const std::string& identifier)
    {
        fixtures::AppBlueprint appBlueprint;
        appBlueprint.name = name;
        appBlueprint.identifier = identifier;
        return tree.addApp("/Applications", appBlueprint);
    }
    std::string file(const std::string& macPath, const std::string& contents = "data")
    {
        tree.writeFile(tree.at(macPath), contents);
        return tree.at(macPath);
    }
    std::string folder(const std::string& macPath)
    {
        tree.makeDirectories(tree.at(macPath));
        tree.writeFile(tree.at(macPath) + "/inside.bin", std::string(100, 'x'));
        return tree.at(macPath);
    }

    fixtures::MacTree tree;
};

TEST_F(ScannerMatchingTest, NamesMatchWithoutSpacesAndCaseWithDottedTails)
{
    const auto bundle = app("Foo Bar", "com.vendor.foobar");
    const auto a = folder("~/Library/Application Support/Foo Bar");
    const auto b = file("~/Library/Preferences/foobar.plist");
    const auto c = folder("~/Library/Saved Application State/FooBar.savedState");
    const auto notAgent = folder("~/Library/Application Support/FooBarAgent");
    const auto notDash = folder("~/Library/Application Support/foo-bar");
    // A name may end on any character; a bare trailing dot is an empty dotted tail.
    const auto trailingDot = file("~/Library/Preferences/foobar.");

    const auto scanned = scanBundle(bundle);
    const auto paths = allPaths(*scanned);
    EXPECT_EQ(pathsIn(*scanned, T::support), std::vector<std::string>{a});
    EXPECT_EQ(pathsIn(*scanned, T::preference), (std::vector<std::string>{b, trailingDot}));
    EXPECT_EQ(pathsIn(*scanned, T::state), std::vector<std::string>{c});
    EXPECT_FALSE(has(paths, notAgent));
    EXPECT_FALSE(has(paths, notDash));
    ASSERT_FALSE(scanned->fileGroups.empty());
    EXPECT_EQ(scanned->fileGroups.front()->type, T::bundle);
    EXPECT_EQ(pathsIn(*scanned, T::bundle), std::vector<std::string>{bundle});
}

TEST_F(ScannerMatchingTest, IdentifierFormsAndTheContainsTest)
{
    const auto bundle = app("Foo", "com.vendor.foo");
    const auto plist = file("~/Library/Preferences/com.vendor.foo.plist");
    const auto upper = file("~/Library/Preferences/Com.Vendor.Foo.plist");
    const auto state = folder("~/Library/Saved Application State/com.vendor.foo.savedState");
    const auto group = folder("~/Library/Containers/group.com.vendor.foo");
    const auto team = folder("~/Library/Containers/ABCDE12345.com.vendor.foo");
    // The identifier counts only as a whole dotted part: after the start or a ".", before the end
    // or one of ". - _".
    const auto longer = folder("~/Library/Containers/com.vendor.foobar");
    const auto unrelated = folder("~/Library/Containers/com.vendor.fo");
    const auto glued = file("~/Library/Caches/xcom.vendor.foo");
    const auto dashed = file("~/Library/Caches/cache.com.vendor.foo-42");
    const auto underscored = file("~/Library/Caches/ABCDE12345.com.vendor.foo_data");

    const auto scanned = scanBundle(bundle);
    const auto prefs = pathsIn(*scanned, T::preference);
    EXPECT_TRUE(has(prefs, plist));
    EXPECT_TRUE(has(prefs, upper));
    EXPECT_EQ(pathsIn(*scanned, T::state), std::vector<std::string>{state});
    const auto sandbox = pathsIn(*scanned, T::Sandbox);
    EXPECT_TRUE(has(sandbox, group));
    EXPECT_TRUE(has(sandbox, team));
    EXPECT_FALSE(has(sandbox, longer));
    EXPECT_FALSE(has(sandbox, unrelated));
    const auto caches = pathsIn(*scanned, T::cache);
    EXPECT_FALSE(has(caches, glued));
    EXPECT_TRUE(has(caches, dashed));
    EXPECT_TRUE(has(caches, underscored));
}

TEST_F(ScannerMatchingTest, TheMoreSpecificInstalledIdentifierWins)
{
    const auto foo = app("Foo", "com.vendor.foo");
    const auto helper = app("Foo Helper", "com.vendor.foo.helper");
    const auto shared = folder("~/Library/Application Support/com.vendor.foo");
    const auto helpers = file("~/Library/Preferences/com.vendor.foo.helper.plist");
    const auto fooState = folder("~/Library/Saved Application State/com.vendor.foo.savedState");

    const auto manager = UninstallAppManager::make();
    manager->discoverApps();
    ASSERT_EQ(manager->allApps.size(), 2u);
    manager->runScanLoop();
    const auto& fooApp = manager->allApps[0]->bundlePath == foo ? manager->allApps[0] : manager->allApps[1];
    const auto& helperApp = fooApp == manager->allApps[0] ? manager->allApps[1] : manager->allApps[0];
    ASSERT_EQ(*helperApp->bundlePath, helper);
    const auto fooPaths = allPaths(*fooApp);
    const auto helperPaths = allPaths(*helperApp);
    EXPECT_TRUE(has(fooPaths, shared));
    EXPECT_TRUE(has(fooPaths, fooState));
    EXPECT_FALSE(has(fooPaths, helpers));
    EXPECT_TRUE(has(helperPaths, helpers));
    EXPECT_FALSE(has(helperPaths, shared));

    // Scanned alone (nothing else installed), the helper's files are the vendor app's again.
    EXPECT_TRUE(has(allPaths(*scanBundle(foo)), helpers));
}

TEST_F(ScannerMatchingTest, VendorFolderLevel)
{
    const auto bundle = app("Foo", "com.vendor.foo");
    const auto child = folder("~/Library/Application Support/Vendor/Foo");
    const auto sibling = folder("~/Library/Application Support/Vendor/Other");
    const auto deeper = folder("~/Library/Application Support/Vendor/Nest/Foo");

    const auto scanned = scanBundle(bundle);
    const auto support = pathsIn(*scanned, T::support);
    EXPECT_EQ(support, std::vector<std::string>{child});
    EXPECT_FALSE(has(allPaths(*scanned), tree.at("~/Library/Application Support/Vendor")));
    EXPECT_FALSE(has(allPaths(*scanned), sibling));
    EXPECT_FALSE(has(allPaths(*scanned), deeper));

    const auto four = app("Bar", "com.vendor.bar.extra");
    folder("~/Library/Application Support/Vendor/Bar");
    EXPECT_TRUE(pathsIn(*scanBundle(four), T::support).empty());
}

TEST_F(ScannerMatchingTest, CrashReportsNeedADateOrAHexIdAfterAnUnderscore)
{
    const auto bundle = app("Foo Bar", "com.vendor.foobar");
    const auto dated = file("~/Library/Logs/DiagnosticReports/Foo Bar_2024-01-02-101010_host.crash");
    const auto hex = file("/Library/Logs/DiagnosticReports/foobar_1a2b3c4d-0000.ips");
    const auto noUnderscore = file("~/Library/Logs/DiagnosticReports/Foo Bar-2024-01-02.crash");
    const auto shortHex = file("~/Library/Logs/DiagnosticReports/foobar_1a2b.ips");

    const auto crashes = pathsIn(*scanBundle(bundle), T::crashReporter);
    EXPECT_TRUE(has(crashes, dated));
    EXPECT_TRUE(has(crashes, hex));
    EXPECT_FALSE(has(crashes, noUnderscore));
    EXPECT_FALSE(has(crashes, shortHex));
}

TEST_F(ScannerMatchingTest, LaunchItemsStayOnlyWhenTheirProgramLiesInACollectedItem)
{
    const auto bundle = app("Foo", "com.vendor.foo");
    const std::string helper = bundle + "/Contents/Library/LaunchServices/com.vendor.foo.helper";
    tree.writeFile(helper, "#!/bin/sh\n");
    const std::string supportTool = folder("~/Library/Application Support/Foo") + "/tool";
    tree.writeFile(supportTool, "#!/bin/sh\n");
    const std::string outsider = tree.at("/usr/local/bin/other");
    tree.writeFile(outsider, "#!/bin/sh\n");

    auto job = [&](const std::string& macPath, const plist::Dictionary& dict) {
        tree.writePlist(tree.at(macPath), plist::Value(dict));
        return tree.at(macPath);
    };
    const auto kept = job("~/Library/LaunchAgents/com.vendor.foo.agent.plist",
                          {{"Label", "com.vendor.foo.agent"}, {"ProgramArguments", plist::Array{plist::Value(helper), plist::Value("--x")}}});
    const auto viaSupport = job("/Library/LaunchDaemons/com.vendor.foo.tool.plist",
                                {{"Label", "x"}, {"Program", supportTool}});
    const auto missing = job("~/Library/LaunchAgents/com.vendor.foo.gone.plist",
                             {{"Label", "y"}, {"ProgramArguments", plist::Array{plist::Value(bundle + "/Contents/MacOS/nothing")}}});
    const auto outside = job("~/Library/LaunchAgents/com.vendor.foo.outside.plist",
                             {{"Label", "z"}, {"ProgramArguments", plist::Array{plist::Value(outsider)}}});
    const auto programWins = job("/Library/LaunchAgents/com.vendor.foo.program.plist",
                                 {{"Label", "p"}, {"Program", outsider}, {"ProgramArguments", plist::Array{plist::Value(helper)}}});
    // Another vendor's job that runs from inside this bundle is this application's too.
    const auto foreign = job("/Library/LaunchAgents/org.unrelated.thing.plist",
                             {{"Label", "q"}, {"ProgramArguments", plist::Array{plist::Value(helper)}}});
    tree.writeFile(tree.at("~/Library/LaunchAgents/com.vendor.foo.broken.plist"), "not a plist");

    const auto daemons = pathsIn(*scanBundle(bundle), T::daemon);
    EXPECT_TRUE(has(daemons, kept));
    EXPECT_TRUE(has(daemons, viaSupport));
    EXPECT_TRUE(has(daemons, foreign));
    EXPECT_FALSE(has(daemons, missing));
    EXPECT_FALSE(has(daemons, outside));
    EXPECT_FALSE(has(daemons, programWins));
    EXPECT_EQ(daemons.size(), 3u);
}

TEST_F(ScannerMatchingTest, PatternCharactersInNamesAreLiteral)
{
    const auto bundle = app("Notes+", "com.vendor.notesplus");
    const auto plus = folder("~/Library/Application Support/Notes+.data");
    const auto notPlus = folder("~/Library/Application Support/Notesss.data");
    // A name that ends on a character other than a letter or digit is found by its exact name.
    const auto bare = folder("~/Library/Application Support/Notes+");
    const auto quoted = app("It's \"Quoted\"", "com.vendor.quoted");
    const auto quotedSupport = folder("~/Library/Application Support/It's \"Quoted\"");
    const auto brackets = app("A(b)[c]{d}^$|?*", "com.vendor.odd");
    const auto odd = file("~/Library/Preferences/a(b)[c]{d}^$|?*.plist");

    auto support = pathsIn(*scanBundle(bundle), T::support);
    std::sort(support.begin(), support.end());
    EXPECT_EQ(support, (std::vector<std::string>{bare, plus}));
    EXPECT_FALSE(has(allPaths(*scanBundle(bundle)), notPlus));
    EXPECT_EQ(pathsIn(*scanBundle(quoted), T::support), std::vector<std::string>{quotedSupport});
    EXPECT_EQ(pathsIn(*scanBundle(brackets), T::preference), std::vector<std::string>{odd});
}

TEST_F(ScannerMatchingTest, NestedApplicationsAddTheirOwnMatchesAndRepeats)
{
    const auto bundle = app("Foo", "com.vendor.foo");
    fixtures::AppBlueprint helper;
    helper.name = "Foo Helper";
    helper.identifier = "com.vendor.foo.helper";
    const auto nested = tree.addApp("/Applications/Foo.app/Contents/MacOS", helper);
    const auto helperLogs = folder("~/Library/Logs/Foo Helper");
    // Matched by the outer application's identifier and the nested one's identifier pattern.
    const auto shared = file("~/Library/Preferences/com.vendor.foo.helper.plist");

    const auto scanned = scanBundle(bundle);
    EXPECT_EQ(pathsIn(*scanned, T::bundle), (std::vector<std::string>{bundle, nested}));
    EXPECT_EQ(pathsIn(*scanned, T::log), std::vector<std::string>{helperLogs});
    const auto prefs = pathsIn(*scanned, T::preference);
    EXPECT_EQ(std::count(prefs.begin(), prefs.end(), shared), 2);
}

TEST_F(ScannerMatchingTest, FoldersHoldingEveryonesDataAreNeverOffered)
{
    const auto logs = app("Logs", "com.vendor.logs");
    const auto mail = app("Mail", "com.vendor.mail");
    const auto caches = app("Caches", "com.vendor.caches");
    const auto own = folder("~/Library/Logs/Logs");
    const auto scannedLogs = scanBundle(logs);
    const auto paths = allPaths(*scannedLogs);
    EXPECT_FALSE(has(paths, tree.at("~/Library/Logs")));
    EXPECT_FALSE(has(paths, tree.at("/Library/Logs")));
    EXPECT_TRUE(has(paths, own));
    folder("~/Library/Mail/V10");
    EXPECT_FALSE(has(allPaths(*scanBundle(mail)), tree.at("~/Library/Mail")));
    EXPECT_FALSE(has(allPaths(*scanBundle(caches)), tree.at("~/Library/Caches")));
}

TEST_F(ScannerMatchingTest, WithoutInfoPlistOnlyTheBundleGroupRemains)
{
    fixtures::AppBlueprint appBlueprint;
    appBlueprint.name = "Bare";
    appBlueprint.withInfoPlist = false;
    const auto bundle = tree.addApp("/Applications", appBlueprint);
    folder("~/Library/Application Support/Other");
    // The display name still comes from the folder: "bare.app" names are searched.
    const auto byFolderName = folder("~/Library/Caches/Bare.app");
    const auto scanned = scanBundle(bundle);
    EXPECT_EQ(pathsIn(*scanned, T::cache), std::vector<std::string>{byFolderName});
    EXPECT_EQ(scanned->fileGroups.size(), 2u);
}

TEST_F(ScannerMatchingTest, ClearedContinueLeavesTheBundleGroupAlone)
{
    const auto bundle = app("Foo", "com.vendor.foo");
    folder("~/Library/Application Support/Foo");
    file("~/Library/Preferences/com.vendor.foo.plist");
    const auto manager = UninstallAppManager::make();
    manager->continue_ = false;
    const auto scanned = scanBundle(bundle, manager);
    ASSERT_EQ(scanned->fileGroups.size(), 1u);
    EXPECT_EQ(scanned->fileGroups.front()->type, T::bundle);
    // The bundle would have to be walked: with the flag cleared its size is 0.
    EXPECT_EQ(scanned->bundleSize, 0);
}

TEST_F(ScannerMatchingTest, EscapeAndNormalize)
{
    EXPECT_EQ(UninstallScaner::escapeForPattern(""), "");
    EXPECT_EQ(UninstallScaner::escapeForPattern("a.b+c"), "a\\.b\\+c");
    EXPECT_EQ(UninstallScaner::escapeForPattern("\\(x)"), "\\\\\\(x\\)");
    EXPECT_EQ(UninstallScaner::normalizeName("Foo Bar  Baz"), "foobarbaz");
    EXPECT_EQ(UninstallScaner::normalizeName("ÄÖÜ Straße"), "äöüstraße");
    EXPECT_EQ(UninstallScaner::normalizeName("Tab\tKept"), "tab\tkept");
}

}  // namespace

namespace {

class ScannerFaultTest : public ScannerMatchingTest {};

TEST_F(ScannerFaultTest, IdentifiersWithCapitalsAreFoundInsideLongerNames)
{
    const auto bundle = app("Zed Pad", "com.Vendor.ZedPad");
    const auto inside = file("~/Library/Caches/cache.com.Vendor.ZedPad-42");
    // The same name in other letter case is another identifier.
    const auto otherCase = file("~/Library/Caches/cache.com.vendor.zedpad-42");
    const auto paths = allPaths(*scanBundle(bundle));
    EXPECT_TRUE(has(paths, inside));
    EXPECT_FALSE(has(paths, otherCase));
}

TEST_F(ScannerFaultTest, AnApplicationWithoutAnIdentifierContainsNothing)
{
    const auto bundle = app("Plain Tool", "");
    const auto own = folder("~/Library/Application Support/Plain Tool");
    const auto unrelated = file("~/Library/Caches/com.other.vendor.thing");
    // A crash report of another application.
    const auto notACrash = file("~/Library/Logs/DiagnosticReports/Other App_2024-01-02-101010_host.crash");
    const auto paths = allPaths(*scanBundle(bundle));
    EXPECT_TRUE(has(paths, own));
    EXPECT_FALSE(has(paths, unrelated));
    EXPECT_FALSE(has(paths, notACrash));
}

TEST_F(ScannerFaultTest, TheVendorLevelNeverEntersALink)
{
    const auto bundle = app("Foo", "com.vendor.foo");
    const auto elsewhere = folder("~/Elsewhere/Foo");
    tree.symlink(tree.at("~/Elsewhere"), tree.at("~/Library/Application Support/Vendor"));
    const auto paths = allPaths(*scanBundle(bundle));
    EXPECT_FALSE(has(paths, tree.at("~/Library/Application Support/Vendor/Foo")));
    EXPECT_FALSE(has(paths, elsewhere));
}

TEST_F(ScannerFaultTest, StandardFoldersOfBothLibrariesAreNeverOffered)
{
    const auto bundle = app("Java", "com.example.java");
    const auto system = folder("/Library/Java");
    const auto user = folder("~/Library/Java");
    const auto own = folder("~/Library/Application Support/Java");
    const auto paths = allPaths(*scanBundle(bundle));
    EXPECT_FALSE(has(paths, system));
    EXPECT_FALSE(has(paths, user));
    EXPECT_TRUE(has(paths, own));
}

TEST_F(ScannerFaultTest, ALaunchJobOfABundleWhosePathMerelyStartsTheSameIsNotTheApps)
{
    const auto bundle = app("Foo", "com.vendor.foo");
    const std::string neighbour = tree.at("/Applications/Foo.app2/Contents/MacOS/helper");
    tree.writeFile(neighbour, "#!/bin/sh\n");
    const std::string own = bundle + "/Contents/MacOS/helper";
    tree.writeFile(own, "#!/bin/sh\n");
    std::vector<std::string> foreign, ours;
    for (const std::string name : {"com.vendor.foo.neighbour.plist", "com.vendor.foo.neighbour"}) {
        tree.writePlist(tree.at("~/Library/LaunchAgents/" + name),
                        plist::Value(plist::Dictionary{{"Label", "n"}, {"ProgramArguments", plist::Array{plist::Value(neighbour)}}}));
        foreign.push_back(tree.at("~/Library/LaunchAgents/" + name));
    }
    tree.writePlist(tree.at("~/Library/LaunchAgents/com.vendor.foo.own.plist"),
                    plist::Value(plist::Dictionary{{"Label", "o"}, {"ProgramArguments", plist::Array{plist::Value(own)}}}));
    const auto paths = allPaths(*scanBundle(bundle));
    for (const auto& job : foreign)
        EXPECT_FALSE(has(paths, job)) << job;
    EXPECT_TRUE(has(paths, tree.at("~/Library/LaunchAgents/com.vendor.foo.own.plist")));
}

}  // namespace
