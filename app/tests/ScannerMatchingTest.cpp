#include "ScannerTestSupport.h"
#include "app/locations/SearchFilePath.h"
#include "platform/PathUtil.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <set>

namespace {

using T = RkUninstallCategoryType;

// An entry laid out before a scan: a path ending in "/" is a folder with a file inside, any other a
// file. Without a category it must be offered to nobody.
struct Entry {
    std::string macPath;
    std::optional<T> offeredAs = std::nullopt;
};

class ScannerMatchingTest : public ::testing::Test {
protected:
    void SetUp() override { tree.activate(); }

    std::string app(const std::string& name, const std::string& identifier) { return tree.addApp("/Applications", blueprintOf(name, identifier)); }
    std::string file(const std::string& macPath, const std::string& contents = "data")
    {
        tree.writeFile(tree.at(macPath), contents);
        return tree.at(macPath);
    }
    std::string folder(const std::string& macPath)
    {
        tree.writeFile(tree.at(macPath) + "/inside.bin", std::string(100, 'x'));
        return tree.at(macPath);
    }
    // Lays out the entries, scans `bundle` alone and expects its bundle group first, then exactly the
    // entries given a category, each once and in it.
    void expectOffers(const std::string& bundle, const std::vector<Entry>& entries)
    {
        std::vector<std::string> expected, offered;
        for (const auto& [macPath, as] : entries) {
            const auto path = macPath.ends_with('/') ? folder(macPath.substr(0, macPath.size() - 1)) : file(macPath);
            if (as)
                expected.push_back(std::string(categoryCaseName(*as)) + " " + path);
        }
        const auto scanned = scanBundle(bundle);
        ASSERT_FALSE(scanned->fileGroups.empty());
        EXPECT_EQ(scanned->fileGroups.front()->type, T::bundle);
        EXPECT_EQ(pathsIn(*scanned, T::bundle), std::vector<std::string>{bundle});
        for (const auto& group : scanned->fileGroups)
            if (group->type != T::bundle)
                for (const auto& item : group->fileItem)
                    offered.push_back(std::string(categoryCaseName(group->type)) + " " + item->filePath);
        std::sort(expected.begin(), expected.end());
        std::sort(offered.begin(), offered.end());
        EXPECT_EQ(offered, expected);
    }

    fixtures::MacTree tree;
};

const std::string support = "~/Library/Application Support/";

TEST_F(ScannerMatchingTest, NamesMatchWithoutSpacesAndCaseWithDottedTails)
{
    expectOffers(app("Foo Bar", "com.vendor.foobar"),
                 {{support + "Foo Bar/", T::support},
                  {"~/Library/Preferences/foobar.plist", T::preference},
                  {"~/Library/Saved Application State/FooBar.savedState/", T::state},
                  {support + "FooBarAgent/"},
                  {support + "foo-bar/"},
                  // A name may end on any character; a bare trailing dot is an empty dotted tail.
                  {"~/Library/Preferences/foobar.", T::preference}});
}

TEST_F(ScannerMatchingTest, IdentifierFormsAndTheContainsTest)
{
    expectOffers(app("Foo", "com.vendor.foo"),
                 {{"~/Library/Preferences/com.vendor.foo.plist", T::preference},
                  {"~/Library/Preferences/Com.Vendor.Foo.plist", T::preference},
                  {"~/Library/Saved Application State/com.vendor.foo.savedState/", T::state},
                  {"~/Library/Containers/group.com.vendor.foo/", T::Sandbox},
                  {"~/Library/Containers/ABCDE12345.com.vendor.foo/", T::Sandbox},
                  // The identifier counts only as a whole dotted part: after the start or a ".",
                  // before the end or one of ". - _".
                  {"~/Library/Containers/com.vendor.foobar/"},
                  {"~/Library/Containers/com.vendor.fo/"},
                  {"~/Library/Caches/xcom.vendor.foo"},
                  {"~/Library/Caches/cache.com.vendor.foo-42", T::cache},
                  {"~/Library/Caches/ABCDE12345.com.vendor.foo_data", T::cache}});
}

TEST_F(ScannerMatchingTest, TheMoreSpecificInstalledIdentifierWins)
{
    const auto foo = app("Foo", "com.vendor.foo");
    app("Foo Helper", "com.vendor.foo.helper");
    const auto shared = folder("~/Library/Application Support/com.vendor.foo");
    const auto helpers = file("~/Library/Preferences/com.vendor.foo.helper.plist");
    const auto fooState = folder("~/Library/Saved Application State/com.vendor.foo.savedState");
    // Judged by the own rule, not by evidence: the helper's installer receipt.
    const auto helperReceipt = file("/private/var/db/receipts/com.vendor.foo.helper.pkg.bom");

    const auto manager = scannedCatalogue();
    const auto fooApp = withIdentifier(manager->allApps(), "com.vendor.foo");
    const auto helperApp = withIdentifier(manager->allApps(), "com.vendor.foo.helper");
    ASSERT_EQ(manager->allApps().size(), 2u);
    ASSERT_TRUE(fooApp && helperApp);
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
    const std::string vendor = support + "Vendor/";
    expectOffers(app("Foo", "com.vendor.foo"), {{vendor + "Foo/", T::support}, {vendor + "Other/"}, {vendor + "Nest/Foo/"}});
    // The vendor is the second piece of longer identifiers too.
    expectOffers(app("Bar", "com.vendor.bar.extra"), {{vendor + "Bar/", T::support}, {vendor + "Foo/"}});
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
    const std::string user = "~/Library/Logs/DiagnosticReports/", system = "/Library/Logs/DiagnosticReports/";
    expectOffers(app("Foo Bar", "com.vendor.foobar"),
                 {{user + "Foo Bar_2024-01-02-101010_host.crash", T::crashReporter},
                  {system + "foobar_1a2b3c4d-0000.ips", T::crashReporter},
                  {user + "Foo Bar-2024-01-02-101010.ips", T::crashReporter},
                  {user + "Foo Bar_2024-01-02-101010_host.cpu_resource.diag", T::crashReporter},
                  {system + "Foo Bar_2024-01-02-101010_host.wakeups_resource.diag", T::crashReporter},
                  {user + "Foo Bar_2024-01-02-101010_host.spin", T::crashReporter},
                  {user + "Foo Bar-2024-01-02-101010.hang", T::crashReporter},
                  {user + "foobar_1a2b.ips"},
                  {user + "foobar-1a2b.ips"},
                  {user + "foobar+2024-01-02-101010.ips"},
                  // No name at all: nothing says whose it is.
                  {user + "_2024-01-02-101010_host.crash"}});
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
    for (const auto& [name, identifier, executable, where] : installed)
        bundles[identifier] = tree.addApp(where, blueprintOf(name, identifier, executable));
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

    const auto manager = scannedCatalogue();
    ASSERT_EQ(manager->allApps().size(), installed.size());
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
    const auto alone = UninstallAppManager::make();
    alone->discoverApps();
    const auto chosen = withIdentifier(alone->allApps(), "net.waterwolf.browser");
    ASSERT_TRUE(chosen);
    alone->scanOnly({chosen});
    alone->setFindsRemains(false);
    alone->runScanLoop();
    EXPECT_FALSE(has(allPaths(*chosen), tree.at("~/Library/Application Support/Firefox")));
    EXPECT_TRUE(has(allPaths(*chosen), tree.at("~/Library/Application Support/Waterwolf")));
}

TEST_F(ScannerMatchingTest, LaunchItemsStayOnlyWhenTheirProgramLiesInACollectedItem)
{
    const auto bundle = app("Foo", "com.vendor.foo");
    const std::string helper = bundle + "/Contents/Library/LaunchServices/com.vendor.foo.helper";
    tree.writeFile(helper, "#!/bin/sh\n");
    const std::string supportTool = folder("~/Library/Application Support/Foo") + "/tool";
    tree.writeFile(supportTool, "#!/bin/sh\n");
    const std::string outsider = file("/usr/local/bin/other", "#!/bin/sh\n");
    auto job = [&](const std::string& macPath, const plist::Dictionary& dict) {
        tree.writePlist(tree.at(macPath), plist::Value(dict));
        return tree.at(macPath);
    };
    std::vector<std::string> kept = {
        job("~/Library/LaunchAgents/com.vendor.foo.agent.plist",
            {{"Label", "com.vendor.foo.agent"}, {"ProgramArguments", plist::Array{plist::Value(helper), plist::Value("--x")}}}),
        job("/Library/LaunchDaemons/com.vendor.foo.tool.plist", {{"Label", "x"}, {"Program", supportTool}}),
        // Another vendor's job that runs from inside this bundle is this application's too.
        job("/Library/LaunchAgents/org.unrelated.thing.plist", {{"Label", "q"}, {"ProgramArguments", plist::Array{plist::Value(helper)}}})};
    writeJob(tree, tree.at("~/Library/LaunchAgents/com.vendor.foo.gone.plist"), bundle + "/Contents/MacOS/nothing");
    writeJob(tree, tree.at("~/Library/LaunchAgents/com.vendor.foo.outside.plist"), outsider);
    job("/Library/LaunchAgents/com.vendor.foo.program.plist",
        {{"Label", "p"}, {"Program", outsider}, {"ProgramArguments", plist::Array{plist::Value(helper)}}});
    tree.writeFile(tree.at("~/Library/LaunchAgents/com.vendor.foo.broken.plist"), "not a plist");

    auto daemons = pathsIn(*scanBundle(bundle), T::daemon);
    std::sort(daemons.begin(), daemons.end());
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(daemons, kept);
}

TEST_F(ScannerMatchingTest, PatternCharactersInNamesAreLiteral)
{
    expectOffers(app("Notes+", "com.vendor.notesplus"),
                 {{support + "Notes+.data/", T::support}, {support + "Notesss.data/"},
                  // A name that ends on a character other than a letter or digit is found by its exact name.
                  {support + "Notes+/", T::support}});
    expectOffers(app("It's \"Quoted\"", "com.vendor.quoted"), {{support + "It's \"Quoted\"/", T::support}});
    expectOffers(app("A(b)[c]{d}^$|?*", "com.vendor.odd"), {{"~/Library/Preferences/a(b)[c]{d}^$|?*.plist", T::preference}});
}

TEST_F(ScannerMatchingTest, NestedApplicationsAddTheirOwnMatchesAndRepeats)
{
    const auto bundle = app("Foo", "com.vendor.foo");
    const auto nested = tree.addApp("/Applications/Foo.app/Contents/MacOS", blueprintOf("Foo Helper", "com.vendor.foo.helper"));
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
    const auto inner = tree.addApp("/Applications/Editor.app/Contents/Library/LoginItems", blueprintOf("Editor Helper", "com.vendor.editor.helper"));
    const auto agent = tree.at("~/Library/LaunchAgents/com.vendor.editor.helper.plist");
    writeJob(tree, agent, inner + "/Contents/MacOS/Editor Helper", "com.vendor.editor.helper");
    const auto receipt = file("/private/var/db/receipts/com.vendor.editor.helper.pkg.plist");

    const auto scanned = scanBundle(editor);
    EXPECT_EQ(pathsIn(*scanned, T::daemon), std::vector<std::string>{agent});
    EXPECT_TRUE(has(allPaths(*scanned), receipt));
}

TEST_F(ScannerMatchingTest, FoldersHoldingEveryonesDataAreNeverOffered)
{
    expectOffers(app("Logs", "com.vendor.logs"), {{"~/Library/Logs/Logs/", T::log}, {"/Library/Logs/Other/"}});
    expectOffers(app("Mail", "com.vendor.mail"), {{"~/Library/Mail/V10/"}});
    expectOffers(app("Caches", "com.vendor.caches"), {{"~/Library/Caches/Other/"}});
}

TEST_F(ScannerMatchingTest, WithoutInfoPlistOnlyTheBundleGroupRemains)
{
    fixtures::AppBlueprint bare;
    bare.name = "Bare";
    bare.withInfoPlist = false;
    // The display name still comes from the folder: "bare.app" names are searched.
    expectOffers(tree.addApp("/Applications", bare), {{support + "Other/"}, {"~/Library/Caches/Bare.app/", T::cache}});
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

class ScannerFaultTest : public ScannerMatchingTest {};

TEST_F(ScannerFaultTest, IdentifiersWithCapitalsAreFoundInsideLongerNames)
{
    expectOffers(app("Zed Pad", "com.Vendor.ZedPad"),
                 {{"~/Library/Caches/cache.com.Vendor.ZedPad-42", T::cache},
                  // The same name in other letter case is another identifier.
                  {"~/Library/Caches/cache.com.vendor.zedpad-42"}});
}

TEST_F(ScannerFaultTest, AnApplicationWithoutAnIdentifierContainsNothing)
{
    expectOffers(app("Plain Tool", ""), {{support + "Plain Tool/", T::support}, {"~/Library/Caches/com.other.vendor.thing"},
                                         // A crash report of another application.
                                         {"~/Library/Logs/DiagnosticReports/Other App_2024-01-02-101010_host.crash"}});
}

TEST_F(ScannerFaultTest, TheVendorLevelNeverEntersALink)
{
    tree.symlink(tree.at("~/Elsewhere"), tree.at(support + "Vendor"));
    expectOffers(app("Foo", "com.vendor.foo"), {{"~/Elsewhere/Foo/"}});
}

TEST_F(ScannerFaultTest, StandardFoldersOfBothLibrariesAreNeverOffered)
{
    expectOffers(app("Java", "com.example.java"), {{"/Library/Java/"}, {"~/Library/Java/"}, {support + "Java/", T::support}});
}

TEST_F(ScannerFaultTest, ALaunchJobOfABundleWhosePathMerelyStartsTheSameIsNotTheApps)
{
    const auto bundle = app("Foo", "com.vendor.foo");
    const std::string neighbour = file("/Applications/Foo.app2/Contents/MacOS/helper", "#!/bin/sh\n");
    const std::string own = bundle + "/Contents/MacOS/helper";
    tree.writeFile(own, "#!/bin/sh\n");
    const std::string agents = tree.at("~/Library/LaunchAgents/");
    for (const std::string name : {"com.vendor.foo.neighbour.plist", "com.vendor.foo.neighbour"})
        writeJob(tree, agents + name, neighbour);
    writeJob(tree, agents + "com.vendor.foo.own.plist", own);
    EXPECT_EQ(pathsIn(*scanBundle(bundle), T::daemon), std::vector<std::string>{agents + "com.vendor.foo.own.plist"});
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
        writeJob(tree, tree.at(macPath), helper);
        jobs.push_back(tree.at(macPath));
    }
    auto daemons = pathsIn(*scanBundle(bundle), T::daemon);
    std::sort(daemons.begin(), daemons.end());
    std::sort(jobs.begin(), jobs.end());
    EXPECT_EQ(daemons, jobs);
}

}  // namespace

// Folders that hold one entry per application: the entry is found by the identifier (some by the
// exact name), in the category a user looks for it in; the holding folder is never offered.
TEST(ScannerHolderTest, EntriesOfFoldersThatHoldOnePerApplication)
{
    fixtures::MacTree tree;
    tree.activate();
    for (const auto& [name, identifier] : std::vector<std::pair<std::string, std::string>>{
             {"Foo Bar", "com.vendor.foobar"}, {"Foo Bar Pro", "com.vendor.foobar.pro"}, {"SentryCrash", "io.sentrycrash.viewer"}})
        tree.addApp("/Applications", blueprintOf(name, identifier));
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

    const auto manager = scannedCatalogue();
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
