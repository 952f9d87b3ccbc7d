#include "ScannerTestSupport.h"
#include "app/locations/SearchFilePath.h"
#include "platform/PathUtil.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

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
    // Judged by the own rule, not by evidence: the helper's installer receipt.
    const auto helperReceipt = file("/private/var/db/receipts/com.vendor.foo.helper.pkg.bom");

    const auto manager = UninstallAppManager::make();
    manager->discoverApps();
    ASSERT_EQ(manager->allApps().size(), 2u);
    manager->runScanLoop();
    const auto listed = manager->allApps();
    const auto& fooApp = listed[0]->bundlePath == foo ? listed[0] : listed[1];
    const auto& helperApp = fooApp == listed[0] ? listed[1] : listed[0];
    ASSERT_EQ(*helperApp->bundlePath, helper);
    const auto fooPaths = allPaths(*fooApp);
    const auto helperPaths = allPaths(*helperApp);
    EXPECT_TRUE(has(fooPaths, shared));
    EXPECT_TRUE(has(fooPaths, fooState));
    EXPECT_FALSE(has(fooPaths, helpers));
    EXPECT_FALSE(has(fooPaths, helperReceipt));
    EXPECT_TRUE(has(helperPaths, helpers));
    EXPECT_TRUE(has(helperPaths, helperReceipt));
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

    // The vendor is the second piece of longer identifiers too.
    const auto four = app("Bar", "com.vendor.bar.extra");
    const auto bar = folder("~/Library/Application Support/Vendor/Bar");
    EXPECT_EQ(pathsIn(*scanBundle(four), T::support), std::vector<std::string>{bar});
}

// Group containers whose names do not carry the identifier are the application's only when it
// declares their groups: in its executable's code signature, else in a readable entitlements file.
TEST_F(ScannerMatchingTest, DeclaredGroupsComeFromTheSignatureElseTheEntitlementsFile)
{
    const std::vector<std::string> signedGroups = {"group.com.tallow.qux", "K9XQ7T2M4P.com.tallow.suite"};
    const std::string fileGroup = "group.com.tallow.notes";
    std::map<std::string, std::string> containers;
    for (const auto& group : {signedGroups[0], signedGroups[1], fileGroup})
        containers[group] = folder("~/Library/Group Containers/" + group);
    struct Row {
        const char* name;
        std::vector<std::string> inSignature;
        bool universal;
        std::vector<std::string> inFile;
        std::vector<std::string> offered;
    };
    const std::vector<Row> rows = {
        {"thin signature", signedGroups, false, {}, signedGroups},
        {"universal signature", signedGroups, true, {}, signedGroups},
        {"file only", {}, false, {fileGroup}, {fileGroup}},
        {"signature over file", signedGroups, false, {fileGroup}, signedGroups},
        {"none", {}, false, {}, {}},
    };
    int number = 0;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        fixtures::AppBlueprint blueprint;
        blueprint.name = "Qux " + std::to_string(++number);
        blueprint.identifier = "com.tallow.qux" + std::to_string(number) + ".mac";
        blueprint.signedApplicationGroups = row.inSignature;
        blueprint.universalExecutable = row.universal;
        blueprint.applicationGroups = row.inFile;
        auto offered = pathsIn(*scanBundle(tree.addApp("/Applications", blueprint)), T::Sandbox);
        std::vector<std::string> expected;
        for (const auto& group : row.offered)
            expected.push_back(containers[group]);
        std::sort(offered.begin(), offered.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(offered, expected);
    }
}

TEST_F(ScannerMatchingTest, CrashReportsNeedADateOrAHexIdAfterTheName)
{
    const auto bundle = app("Foo Bar", "com.vendor.foobar");
    const std::vector<std::string> offered = {
        file("~/Library/Logs/DiagnosticReports/Foo Bar_2024-01-02-101010_host.crash"),
        file("/Library/Logs/DiagnosticReports/foobar_1a2b3c4d-0000.ips"),
        file("~/Library/Logs/DiagnosticReports/Foo Bar-2024-01-02-101010.ips"),
        file("~/Library/Logs/DiagnosticReports/Foo Bar_2024-01-02-101010_host.cpu_resource.diag"),
        file("/Library/Logs/DiagnosticReports/Foo Bar_2024-01-02-101010_host.wakeups_resource.diag"),
        file("~/Library/Logs/DiagnosticReports/Foo Bar_2024-01-02-101010_host.spin"),
        file("~/Library/Logs/DiagnosticReports/Foo Bar-2024-01-02-101010.hang"),
    };
    const std::vector<std::string> notOffered = {
        file("~/Library/Logs/DiagnosticReports/foobar_1a2b.ips"),
        file("~/Library/Logs/DiagnosticReports/foobar-1a2b.ips"),
        file("~/Library/Logs/DiagnosticReports/foobar+2024-01-02-101010.ips"),
        // No name at all: nothing says whose it is.
        file("~/Library/Logs/DiagnosticReports/_2024-01-02-101010_host.crash"),
    };

    const auto crashes = pathsIn(*scanBundle(bundle), T::crashReporter);
    for (const auto& path : offered)
        EXPECT_TRUE(has(crashes, path)) << path;
    for (const auto& path : notOffered)
        EXPECT_FALSE(has(crashes, path)) << path;
}

// Where several installed applications fit an entry, the strongest evidence decides: an identifier
// (the application's own, one inside its bundle, a declared group) over a name over the executable's
// name; at equal strength the longer token; a tie gives it to nobody. An executable's name claims
// alone only when no other application has it and no framework gives it to every application.
TEST_F(ScannerMatchingTest, TheStrongestEvidenceDecides)
{
    struct Installed {
        std::string name, identifier, executable, folder = "/Applications";
    };
    const std::vector<Installed> installed = {
        {"Firefox", "org.mozilla.firefox", "firefox"},
        {"Waterwolf", "net.waterwolf.browser", "firefox"},
        {"Quill", "com.quill.editor", "Electron"},
        {"Inkpot", "io.inkpot.app", "Electron"},
        {"Sunbeam", "com.sunbeam.app", "sunbeamd"},
        {"Tally", "com.tally.app", "ledger"},
        {"Ledger", "com.ledgerworks.app", "LedgerMain"},
        {"Notes", "com.plain.notes", "Notes"},
        {"Jot", "notes.jot.app", "Jot"},
        {"Relay", "com.alpha.relay", "Relay"},
        {"Relay", "com.beta.relay", "RelayB", "~/Applications"},
        {"Mark", "com.mark.app", "Mark"},
        {"Mark.Down", "com.markdown.app", "MarkDown"},
        {"Foo", "com.vendor.foo", "Foo"},
        {"Foo Helper", "com.vendor.foo.helper", "FooHelper"},
        {"Harbor", "com.harbor.app", "Harbor"},
        {"Kestrel", "com.kestrel.app", "birdcore"},
        {"Merlin", "com.merlin.app", "birdcore"},
        {"Lantern", "com.lantern.app", "nwjs"},
        {"Paperwork Studio", "com.paperwork.studio", "Paperwork"},
        {"PW", "io.pw.app", "PW"},
    };
    std::map<std::string, std::string> bundles;  // identifier -> bundle
    for (const auto& [name, identifier, executable, where] : installed) {
        fixtures::AppBlueprint blueprint;
        blueprint.name = name;
        blueprint.identifier = identifier;
        blueprint.executable = executable;
        bundles[identifier] = tree.addApp(where, blueprint);
    }
    // Harbor carries a helper and an extension of other vendors' identifiers (the extension's name
    // in capitals, as a Mac volume lets it be).
    for (const auto& [inside, identifier] : std::vector<std::pair<std::string, std::string>>{
             {"Contents/Helpers/Dock.app", "net.dockside.agent"}, {"Contents/PlugIns/Share.APPEX", "com.sharekit.share"}})
        tree.writePlist(bundles["com.harbor.app"] + "/" + inside + "/Contents/Info.plist",
                        plist::Value(plist::Dictionary{{"CFBundleIdentifier", plist::Value(identifier)}}));

    const std::vector<std::pair<std::string, std::string>> owners = {  // entry -> identifier ("" nobody)
        {folder("~/Library/Application Support/Firefox"), "org.mozilla.firefox"},
        {folder("~/Library/Caches/Firefox"), "org.mozilla.firefox"},
        {folder("~/Library/Application Support/Waterwolf"), "net.waterwolf.browser"},
        {folder("~/Library/Application Support/Electron"), ""},
        {folder("~/Library/Caches/Electron"), ""},
        {folder("~/Library/Application Support/Quill"), "com.quill.editor"},
        {folder("~/Library/Application Support/sunbeamd"), "com.sunbeam.app"},
        {folder("~/Library/Application Support/birdcore"), ""},
        {folder("~/Library/Application Support/nwjs"), ""},
        {folder("~/Library/Application Support/Ledger"), "com.ledgerworks.app"},
        {file("~/Library/Preferences/notes.jot.app.plist"), "notes.jot.app"},
        // A short identifier still outweighs a long name.
        {file("~/Library/Preferences/PaperworkStudio.io.pw.app.plist"), "io.pw.app"},
        {folder("~/Library/Application Support/Notes"), "com.plain.notes"},
        {folder("~/Library/Application Support/Relay"), ""},
        {file("~/Library/Preferences/com.beta.relay.plist"), "com.beta.relay"},
        {folder("~/Library/Application Support/Mark.Down"), "com.markdown.app"},
        {folder("~/Library/Application Support/Mark.Notes"), "com.mark.app"},
        {folder("~/Library/Application Support/Vendor/com.vendor.foo.helper"), "com.vendor.foo.helper"},
        {folder("~/Library/Application Support/Vendor/com.vendor.foo"), "com.vendor.foo"},
        {file("~/Library/Preferences/net.dockside.agent.plist"), "com.harbor.app"},
        {folder("~/Library/Containers/com.sharekit.share"), "com.harbor.app"},
    };

    const auto manager = UninstallAppManager::make();
    manager->discoverApps();
    ASSERT_EQ(manager->allApps().size(), installed.size());
    manager->runScanLoop();
    for (const auto& [entry, owner] : owners) {
        std::vector<std::string> offeredTo;
        for (const auto& scanned : manager->allApps())
            if (has(allPaths(*scanned), entry))
                offeredTo.push_back(scanned->bundleIdentifier());
        EXPECT_EQ(offeredTo, owner.empty() ? std::vector<std::string>{} : std::vector<std::string>{owner}) << entry;
    }

    // Each item knows what claimed it.
    const std::map<std::string, std::string> claims = {
        {tree.at("~/Library/Application Support/Firefox"), "name"},
        {tree.at("~/Library/Application Support/sunbeamd"), "executable"},
        {tree.at("~/Library/Preferences/notes.jot.app.plist"), "identifier"},
        {tree.at("~/Library/Preferences/net.dockside.agent.plist"), "identifier"},
        {bundles["com.harbor.app"], "bundle"},
    };
    for (const auto& scanned : manager->allApps())
        for (const auto& group : scanned->fileGroups)
            for (const auto& item : group->fileItem)
                if (claims.count(item->filePath)) {
                    EXPECT_EQ(item->claimedBy, claims.at(item->filePath)) << item->filePath;
                }

    // The command-line tool scans only the chosen application; the others' claims still count.
    const auto listed = manager->allApps();
    const auto chosen = std::find_if(listed.begin(), listed.end(), [](const auto& app) { return app->bundleIdentifier() == "net.waterwolf.browser"; });
    ASSERT_NE(chosen, listed.end());
    const auto alone = UninstallAppManager::make();
    alone->discoverApps();
    const auto all = alone->allApps();
    alone->scanOnly({*std::find_if(all.begin(), all.end(), [](const auto& app) { return app->bundleIdentifier() == "net.waterwolf.browser"; })});
    alone->setFindsRemains(false);
    alone->runScanLoop();
    EXPECT_FALSE(has(allPaths(*alone->allApps().front()), tree.at("~/Library/Application Support/Firefox")));
    EXPECT_TRUE(has(allPaths(*alone->allApps().front()), tree.at("~/Library/Application Support/Waterwolf")));
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

// A login item inside the bundle has a longer identifier, but it is the bundle's own: its launch job
// and its receipt go with the application that holds it.
TEST_F(ScannerMatchingTest, TheFilesOfALoginItemInsideTheBundleGoWithTheBundle)
{
    const auto editor = app("Editor", "com.vendor.editor");
    fixtures::AppBlueprint helper;
    helper.name = "Editor Helper";
    helper.identifier = "com.vendor.editor.helper";
    const auto inner = tree.addApp("/Applications/Editor.app/Contents/Library/LoginItems", helper);
    const auto agent = tree.at("~/Library/LaunchAgents/com.vendor.editor.helper.plist");
    tree.writePlist(agent, plist::Value(plist::Dictionary{
                               {"Label", "com.vendor.editor.helper"},
                               {"ProgramArguments", plist::Array{plist::Value(inner + "/Contents/MacOS/Editor Helper")}}}));
    const auto receipt = file("/private/var/db/receipts/com.vendor.editor.helper.pkg.plist");

    const auto scanned = scanBundle(editor);
    EXPECT_EQ(pathsIn(*scanned, T::daemon), std::vector<std::string>{agent});
    EXPECT_TRUE(has(allPaths(*scanned), receipt));
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
    manager->stopScanning();
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

// A job file whose name escapes the ".plist" pattern (ending dropped to keep it from loading, an
// editor's backup) is ours only by carrying the identifier, written as the bundle writes it.
TEST_F(ScannerFaultTest, ALaunchJobOutsideThePlistPatternIsFoundByItsIdentifierWithCapitals)
{
    const auto bundle = app("Scribe", "com.Quillworks.Scribe");
    const std::string helper = bundle + "/Contents/Library/LaunchServices/com.Quillworks.Scribe.helper";
    tree.writeFile(helper, "#!/bin/sh\n");
    std::vector<std::string> jobs;
    for (const std::string macPath : {"~/Library/LaunchAgents/local.com.Quillworks.Scribe.agent",
                                      "/Library/LaunchDaemons/com.Quillworks.Scribe.helper.plist~"}) {
        tree.writePlist(tree.at(macPath),
                        plist::Value(plist::Dictionary{{"Label", "s"}, {"ProgramArguments", plist::Array{plist::Value(helper)}}}));
        jobs.push_back(tree.at(macPath));
    }
    const auto daemons = pathsIn(*scanBundle(bundle), T::daemon);
    for (const auto& job : jobs)
        EXPECT_TRUE(has(daemons, job)) << job;
}

}  // namespace

// Folders that hold one entry per application: the entry is found by the identifier (some by the
// exact name), in the category a user looks for it in; the holding folder is never offered.
TEST(ScannerHolderTest, EntriesOfFoldersThatHoldOnePerApplication)
{
    fixtures::MacTree tree;
    tree.activate();
    auto add = [&](const std::string& name, const std::string& identifier) {
        fixtures::AppBlueprint blueprint;
        blueprint.name = name;
        blueprint.identifier = identifier;
        return tree.addApp("/Applications", blueprint);
    };
    add("Foo Bar", "com.vendor.foobar");
    add("Foo Bar Pro", "com.vendor.foobar.pro");
    add("SentryCrash", "io.sentrycrash.viewer");
    const std::string recent =
        "~/Library/Application Support/com.apple.sharedfilelist/com.apple.LSSharedFileList.ApplicationRecentDocuments/";
    struct Row {
        std::string path;
        std::string owner;  // "" nobody
        T category = T::other;
    };
    const std::vector<Row> rows = {
        {recent + "com.vendor.foobar.sfl3", "com.vendor.foobar", T::support},
        {recent + "com.vendor.foobar.sfl2", "com.vendor.foobar", T::support},
        {recent + "com.vendor.foobarx.sfl3", ""},
        {recent + "com.vendor.foobar.pro.sfl3", "com.vendor.foobar.pro", T::support},
        {"~/Library/Caches/com.plausiblelabs.crashreporter.data/com.vendor.foobar", "com.vendor.foobar", T::crashReporter},
        {"~/Library/Caches/com.crashlytics.data/com.vendor.foobar", "com.vendor.foobar", T::crashReporter},
        {"~/Library/Caches/SentryCrash/Foo Bar", "com.vendor.foobar", T::crashReporter},
        {"~/Library/Caches/SentryCrash/Foo Bar Pro", "com.vendor.foobar.pro", T::crashReporter},
        {"~/Library/Application Support/Google/Chrome/NativeMessagingHosts/com.vendor.foobar_host.json", "com.vendor.foobar", T::support},
        {"/Library/Application Support/Mozilla/NativeMessagingHosts/com.vendor.foobar.pro.json", "com.vendor.foobar.pro", T::support},
        {"~/Library/Application Support/Vivaldi/NativeMessagingHosts/Foo Bar.json", ""},
        {"~/Library/Caches/com.apple.nsurlsessiond/Downloads/com.vendor.foobar", "com.vendor.foobar", T::cache},
        {"~/Library/Caches/com.apple.nsurlsessiond/Downloads/Foo Bar", ""},
        // Holds the identifier's letters but not the identifier whole: only the name is left to match.
        {"~/Library/Caches/com.apple.nsurlsessiond/Downloads/FooBar.com.vendor.foobarista", ""},
        {"~/Library/Caches/com.apple.helpd/Generated/com.vendor.foobar.help*1.0", "com.vendor.foobar", T::cache},
        {"~/Library/Application Support/FileProvider/com.vendor.foobar.FileProvider", "com.vendor.foobar", T::support},
        {"~/Library/CloudStorage/FooBar-me@example.com", "com.vendor.foobar", T::other},
        {"~/Library/CloudStorage/Foo Bar Pro-Work", "com.vendor.foobar.pro", T::other},
        {"~/Library/CloudStorage/FooBarista-me", ""},
    };
    for (const auto& row : rows)
        tree.writeFile(tree.at(row.path) + (row.path.ends_with(".json") || row.path.ends_with(".sfl3") || row.path.ends_with(".sfl2") ? "" : "/data"), "x");

    const auto manager = UninstallAppManager::make();
    manager->discoverApps();
    manager->runScanLoop();
    std::set<std::string> everything;
    for (const auto& app : manager->allApps())
        for (const auto& path : allPaths(*app))
            everything.insert(path);
    for (const auto& row : rows) {
        const std::string path = tree.at(row.path);
        for (const auto& app : manager->allApps()) {
            const bool owner = app->bundleIdentifier() == row.owner;
            EXPECT_EQ(has(allPaths(*app), path), owner) << app->bundleIdentifier() << " " << row.path;
            if (owner) {
                EXPECT_TRUE(has(pathsIn(*app, row.category), path)) << row.path;
            }
        }
        for (std::string holder = platform::path::deletingLastComponent(path); holder.size() > tree.root().size();
             holder = platform::path::deletingLastComponent(holder))
            EXPECT_FALSE(everything.count(holder)) << holder;
    }
}
