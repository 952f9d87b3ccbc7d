#include "app/catalogue/ExclusionStore.h"
#include "app/catalogue/UninstallAppManager.h"
#include "app/scanner/Exclusions.h"
#include "fixtures/MacTree.h"
#include "platform/DispatchQueue.h"
#include "platform/FileSystem.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <set>

namespace {

using T = RkUninstallCategoryType;

class ExclusionsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        tree.activate();
        tree.environment().set("XDG_CONFIG_HOME", tree.at("~/Settings"));
        tree.makeDirectories(tree.at("~/Settings"));
    }
    std::string support(const std::string& name) const { return tree.at("~/Library/Application Support/" + name); }
    fixtures::MacTree tree;
};

std::shared_ptr<UninstallApp> record(const std::string& bundle, const std::string& identifier)
{
    plist::Dictionary info;
    if (!identifier.empty())
        info.emplace("CFBundleIdentifier", plist::Value(identifier));
    BundleFacts facts;
    facts.path = bundle;
    facts.info = info;
    facts.displayName = "App";
    return UninstallApp::make(facts);
}

void addItem(UninstallApp& app, T type, const std::string& path, std::int64_t size)
{
    std::shared_ptr<UnFileGroup> group;
    for (const auto& existing : app.fileGroups)
        if (existing->type == type)
            group = existing;
    if (!group) {
        group = std::make_shared<UnFileGroup>();
        group->type = type;
        app.fileGroups.push_back(group);
    }
    auto item = std::make_shared<UnFileItem>();
    item->filePath = path;
    item->size = size;
    item->type = type;
    group->fileItem.push_back(item);
    app.totalSize += size;
}

TEST_F(ExclusionsTest, ExcludesWhatLiesAtBelowOrAroundThePlaceHoweverItIsSpelt)
{
    tree.writeFile(support("Foo/data.txt"), "x");
    tree.writeFile(support("Foobar/data.txt"), "x");
    tree.writeFile(support("Caf\u00e9/data.txt"), "x");  // composed, as the folder was made
    tree.symlink(tree.at("~/Library/Application Support"), tree.at("~/Links"));
    tree.symlink(support("Foo"), tree.at("~/Desktop/Foo shortcut"));
    tree.symlink(tree.at("~/Desktop"), tree.at("~/Desk"));
    const std::string foo = support("Foo");
    struct Case {
        std::string excluded, forApp, item, identifier;
        bool excludes;
    } const cases[] = {
        {foo, "", foo, "com.vendor.foo", true},
        {foo, "", foo + "/data.txt", "com.vendor.foo", true},
        {foo, "", tree.at("~/Library/Application Support"), "com.vendor.foo", true},
        {foo, "", tree.at("~/Library"), "com.vendor.foo", true},
        {tree.at("~/Links/Foo"), "", foo + "/data.txt", "", true},
        {tree.at("~/Links/Gone"), "", support("Gone/x"), "", true},  // neither there yet
        {foo, "", tree.at("~/Links/Foo/data.txt"), "", true},
        {foo, "", tree.at("~/Desktop/Foo shortcut"), "", true},
        // A link reached through a linked folder lies where that folder really is.
        {tree.at("~/Desktop"), "", tree.at("~/Desk/Foo shortcut"), "", true},
        {support("FOO"), "", foo + "/data.txt", "", true},
        // A folder above spelt in another case: a Mac's volume opens it all the same.
        {tree.at("~/LINKS/foo"), "", foo + "/data.txt", "", true},
        {tree.at("~/library/application support/FOO/Data.txt"), "", foo + "/data.txt", "", true},
        {foo, "", tree.at("~/LIBRARY/Application Support/foo/data.txt"), "", true},
        {tree.at("~/links/FOOBAR"), "", foo, "", false},
        {foo + "/DATA.TXT", "", foo + "/data.txt", "", true},
        {support("Cafe\u0301"), "", support("Caf\u00e9/data.txt"), "", true},
        {support("CAF\u00c9"), "", support("Cafe\u0301"), "", true},
        {foo, "", support("Foobar"), "", false},
        {foo, "", support("Foobar/data.txt"), "", false},
        {support("Foobar"), "", foo, "", false},
        {"~/Library/Application Support/Foo", "", foo + "/data.txt", "", true},
        {foo, "", "~/Library/Application Support/Foo", "", true},
        {foo, "com.vendor.foo", foo, "COM.Vendor.FOO", true},
        {foo, "com.vendor.foo", foo, "com.vendor.other", false},
        {foo, "com.vendor.foo", foo, "", false},
        {"Library/Application Support/Foo", "", foo, "", false},
        {foo.substr(1), "", foo, "", false},  // relative: no place of its own, whatever the folder
        {foo, "", foo.substr(1) + "/data.txt", "", false},
        {foo, "", "Foo", "", false},
        {foo, "", "", "", false},
    };
    for (const auto& c : cases) {
        const Exclusions exclusions({{c.excluded, c.forApp}}, {});
        EXPECT_EQ(exclusions.excludes(c.item, c.identifier), c.excludes)
            << c.excluded << " [" << c.forApp << "] / " << c.item << " [" << c.identifier << "]";
    }
    EXPECT_FALSE(Exclusions().excludes(foo, ""));
}

TEST_F(ExclusionsTest, ProtectsOstrovaTheNamedApplicationsAndBundlesAnExclusionTouches)
{
    const std::string alpha = tree.at("/Applications/Alpha.app");
    tree.writeFile(alpha + "/Contents/Info.plist", "x");
    tree.symlink(tree.at("/Applications"), tree.at("~/Apps"));
    tree.symlink(alpha, tree.at("/Applications/Alpha Link.app"));
    struct Case {
        std::vector<ExcludedPath> paths;
        std::vector<std::string> names;
        std::string bundle, identifier;
        bool protects;
    } const cases[] = {
        {{}, {}, alpha, "com.qzt.ostrova", true},
        {{}, {}, alpha, "COM.QZT.OSTROVA.agent", true},
        {{}, {}, alpha, "com.qzt.ostrovax", false},
        {{}, {}, alpha, "com.qzt", false},
        {{}, {}, alpha, "com.vendor.alpha", false},
        {{}, {"com.vendor.alpha"}, alpha, "Com.Vendor.Alpha", true},
        {{}, {"com.vendor.alpha"}, alpha, "com.vendor.alphabet", false},
        {{}, {"com.vendor.alpha"}, "", "com.vendor.alpha", true},
        {{}, {alpha}, alpha, "com.vendor.alpha", true},
        {{}, {tree.at("~/Apps/ALPHA.app")}, alpha, "", true},
        {{}, {tree.at("/Applications/Alpha Link.app")}, alpha, "", true},  // a link to the bundle itself
        {{}, {tree.at("/Applications/Alph.app")}, alpha, "", false},
        {{}, {alpha}, tree.at("/Applications/Beta.app"), "", false},
        {{{alpha, ""}}, {}, alpha, "com.vendor.alpha", true},
        {{{alpha + "/Contents/Info.plist", ""}}, {}, alpha, "com.vendor.alpha", true},
        {{{tree.at("/Applications"), ""}}, {}, alpha, "com.vendor.alpha", true},
        {{{alpha, "com.vendor.beta"}}, {}, alpha, "com.vendor.alpha", false},
        {{{tree.at("/Applications/Alpha.app.old"), ""}}, {}, alpha, "com.vendor.alpha", false},
    };
    for (const auto& c : cases) {
        const Exclusions exclusions(c.paths, c.names);
        const auto app = c.bundle.empty() ? UninstallApp::gone(c.identifier, "Alpha") : record(c.bundle, c.identifier);
        EXPECT_EQ(exclusions.protects(*app), c.protects) << c.bundle << " [" << c.identifier << "]";
    }
    EXPECT_TRUE(Exclusions::isOwnIdentifier("com.qzt.ostrova.helper"));
    EXPECT_FALSE(Exclusions::isOwnIdentifier(""));
}

TEST_F(ExclusionsTest, ApplyDropsItemsAndTheirBytesButKeepsTheBundle)
{
    const std::string bundle = tree.at("/Applications/Alpha.app");
    const auto app = record(bundle, "com.vendor.alpha");
    addItem(*app, T::bundle, bundle, 1000);
    addItem(*app, T::preference, tree.at("~/Library/Preferences/com.vendor.alpha.plist"), 10);
    addItem(*app, T::cache, tree.at("~/Library/Caches/com.vendor.alpha"), 200);
    addItem(*app, T::support, support("Alpha"), 30);
    addItem(*app, T::support, support("Alpha Extras"), 4);
    const Exclusions exclusions({{bundle, ""}, {tree.at("~/Library/Caches"), ""}, {support("Alpha"), ""}}, {});
    EXPECT_EQ(exclusions.apply(*app), 2u);
    EXPECT_EQ(app->totalSize, 1014);
    std::vector<std::pair<T, std::string>> left;
    for (const auto& group : app->fileGroups)
        for (const auto& item : group->fileItem)
            left.emplace_back(group->type, item->filePath);
    EXPECT_EQ(left, (std::vector<std::pair<T, std::string>>{{T::bundle, bundle},
                                                             {T::preference, tree.at("~/Library/Preferences/com.vendor.alpha.plist")},
                                                             {T::support, support("Alpha Extras")}}));
    EXPECT_EQ(app->fileGroups.size(), 3u);
    EXPECT_EQ(Exclusions({{support("Other"), ""}}, {}).apply(*app), 0u);
    EXPECT_EQ(app->totalSize, 1014);
}

TEST_F(ExclusionsTest, TheStoreRoundTripsThroughTheUserDefaults)
{
    const std::string foo = support("Foo");
    tree.makeDirectories(foo);
    EXPECT_TRUE(ExclusionStore::add(foo, ""));
    EXPECT_TRUE(ExclusionStore::add("~/Library/Caches/x", "com.vendor.x"));
    EXPECT_TRUE(ExclusionStore::add(foo, ""));  // there already: not twice
    EXPECT_FALSE(ExclusionStore::add("relative/x", ""));
    EXPECT_TRUE(ExclusionStore::protect("com.vendor.alpha"));
    EXPECT_TRUE(ExclusionStore::protect("/Applications/Beta.app"));
    EXPECT_TRUE(platform::fs::exists(tree.at("~/Settings/com.qzt.ostrova.plist")));

    std::vector<std::string> dropped;
    auto loaded = ExclusionStore::load(&dropped);
    EXPECT_TRUE(dropped.empty());
    ASSERT_EQ(loaded.paths().size(), 2u);
    EXPECT_EQ(loaded.paths()[0].path, foo);
    EXPECT_EQ(loaded.paths()[0].application, "");
    EXPECT_EQ(loaded.paths()[1].path, "~/Library/Caches/x");
    EXPECT_EQ(loaded.paths()[1].application, "com.vendor.x");
    EXPECT_EQ(loaded.protectedApplications(), (std::vector<std::string>{"com.vendor.alpha", "/Applications/Beta.app"}));

    // Removed by another spelling of the same place; a place never stored is not removed.
    EXPECT_FALSE(ExclusionStore::remove(support("Foobar")));
    EXPECT_TRUE(ExclusionStore::remove(tree.at("~/Library/APPLICATION SUPPORT/foo/")));
    EXPECT_FALSE(ExclusionStore::remove(foo));
    // One row of a path kept for several: only that one goes.
    ASSERT_TRUE(ExclusionStore::add(foo, "") && ExclusionStore::add(foo, "com.vendor.x"));
    EXPECT_FALSE(ExclusionStore::remove(foo, "com.vendor.other"));
    EXPECT_TRUE(ExclusionStore::remove(foo, "COM.vendor.X"));
    EXPECT_TRUE(ExclusionStore::remove(foo, ""));
    EXPECT_FALSE(ExclusionStore::remove(foo));
    EXPECT_TRUE(ExclusionStore::unprotect("COM.vendor.alpha"));
    EXPECT_FALSE(ExclusionStore::unprotect("com.vendor.alpha"));
    EXPECT_FALSE(ExclusionStore::unprotect("com.qzt.ostrova"));
    ASSERT_TRUE(ExclusionStore::protect("com.qzt.ostrova.agent"));  // stored, yet never undone
    EXPECT_FALSE(ExclusionStore::unprotect("COM.qzt.ostrova.agent"));
    loaded = ExclusionStore::load();
    ASSERT_EQ(loaded.paths().size(), 1u);
    EXPECT_EQ(loaded.paths()[0].path, "~/Library/Caches/x");
    EXPECT_EQ(loaded.protectedApplications(), (std::vector<std::string>{"/Applications/Beta.app", "com.qzt.ostrova.agent"}));
}

TEST_F(ExclusionsTest, ACorruptStoreKeepsTheSoundEntriesAndNamesEachDroppedOne)
{
    const std::string file = tree.at("~/Settings/com.qzt.ostrova.plist");
    struct Case {
        plist::Dictionary store;
        std::vector<std::string> paths, names;
        std::size_t dropped;
    } const cases[] = {
        {{{"ExcludedItems", plist::Value(std::string("/x"))},
          {"ProtectedApplications", plist::Value(plist::Array{plist::Value(std::string("com.a"))})}},
         {},
         {"com.a"},
         1},
        {{{"ExcludedItems", plist::Value(plist::Array{
                                plist::Value(std::int64_t(7)),
                                plist::Value(plist::Dictionary{{"Path", plist::Value(std::string("/kept"))}}),
                                plist::Value(plist::Dictionary{{"Application", plist::Value(std::string("com.a"))}}),
                                plist::Value(plist::Dictionary{{"Path", plist::Value(std::string("relative/p"))}}),
                                plist::Value(plist::Dictionary{{"Path", plist::Value(std::string("/numbered"))},
                                                               {"Application", plist::Value(std::int64_t(3))}}),
                                plist::Value(plist::Dictionary{{"Path", plist::Value(std::string("~/also kept"))},
                                                               {"Application", plist::Value(std::string("com.b"))}})})},
          {"ProtectedApplications", plist::Value(plist::Array{plist::Value(std::int64_t(1)), plist::Value(std::string("com.c")),
                                                              plist::Value(std::string(""))})}},
         {"/kept", "~/also kept"},
         {"com.c"},
         6},
        {{{"ProtectedApplications", plist::Value(std::string("com.c"))}}, {}, {}, 1},
    };
    for (const auto& c : cases) {
        tree.writePlist(file, plist::Value(c.store));
        std::vector<std::string> dropped;
        const auto loaded = ExclusionStore::load(&dropped);
        std::vector<std::string> paths;
        for (const auto& item : loaded.paths())
            paths.push_back(item.path);
        EXPECT_EQ(paths, c.paths);
        EXPECT_EQ(loaded.protectedApplications(), c.names);
        EXPECT_EQ(dropped.size(), c.dropped);
        for (const auto& why : dropped)
            EXPECT_FALSE(why.empty());
    }

    // Changes keep what they cannot read for the user to mend: the entries after a change are the
    // unreadable ones as they were, in their places, with the sound ones changed.
    tree.writePlist(file, plist::Value(cases[1].store));
    ASSERT_TRUE(ExclusionStore::add("/added", "") && ExclusionStore::remove("/kept") && ExclusionStore::protect("com.d") &&
                ExclusionStore::unprotect("com.c"));
    const auto after = plist::readDictionary(file);
    ASSERT_TRUE(after);
    const auto* items = plist::find(*after, "ExcludedItems")->get<plist::Array>();
    ASSERT_TRUE(items && items->size() == 6u);
    EXPECT_EQ(*(*items)[0].get<std::int64_t>(), 7);
    EXPECT_EQ(*plist::find(*(*items)[2].get<plist::Dictionary>(), "Path")->get<std::string>(), "relative/p");
    EXPECT_EQ(*plist::find(*(*items)[5].get<plist::Dictionary>(), "Path")->get<std::string>(), "/added");
    const auto* names = plist::find(*after, "ProtectedApplications")->get<plist::Array>();
    ASSERT_TRUE(names && names->size() == 3u);
    EXPECT_EQ(*(*names)[0].get<std::int64_t>(), 1);
    EXPECT_EQ(*(*names)[2].get<std::string>(), "com.d");

    // A defaults file that is no property list is left as it is; nothing is stored over it.
    tree.writeFile(file, "<plist><dict><key>ExcludedItems");
    std::vector<std::string> dropped;
    const auto loaded = ExclusionStore::load(&dropped);
    EXPECT_TRUE(loaded.paths().empty());
    ASSERT_EQ(dropped.size(), 1u);
    EXPECT_NE(dropped[0].find(file), std::string::npos);
    EXPECT_FALSE(ExclusionStore::add("/x", ""));
    EXPECT_FALSE(ExclusionStore::protect("com.x"));
    EXPECT_EQ(platform::fs::readFile(file).value_or(""), "<plist><dict><key>ExcludedItems");
}

class ChangeCounter : public UninstallDelegate {
public:
    void appsDidLoad() override {}
    void appDidScan(const std::shared_ptr<UninstallApp>&) override {}
    void allAppsDidScan() override {}
    void appsDidChange() override { ++changes; }
    void changeListedApps(const std::function<void()>& change) override
    {
        onMainThread = std::this_thread::get_id() == mainThread;
        UninstallDelegate::changeListedApps(change);
    }
    void uninstallProgress(UninstallType, double, double) override {}
    bool shouldForceQuit(const std::shared_ptr<UninstallApp>&) override { return false; }
    std::atomic<int> changes{0};
    std::atomic<bool> onMainThread{false};
    const std::thread::id mainThread = std::this_thread::get_id();
};

class CatalogueExclusionsTest : public ExclusionsTest {
protected:
    void SetUp() override
    {
        ExclusionsTest::SetUp();
        fixtures::AppBlueprint blueprint;
        blueprint.name = "Alpha";
        blueprint.identifier = "com.vendor.alpha";
        bundle = tree.addApp("/Applications", blueprint);
        preferences = tree.at("~/Library/Preferences/com.vendor.alpha.plist");
        caches = tree.at("~/Library/Caches/com.vendor.alpha");
        tree.writeFile(preferences, "<plist/>");
        tree.writeFile(caches + "/cache.db", "cache");
        tree.writeFile(support("com.vendor.alpha/data"), "data");
        gonePreferences = tree.at("~/Library/Preferences/com.vendor.ghost.plist");
        goneCaches = tree.at("~/Library/Caches/com.vendor.ghost");
        tree.writeFile(gonePreferences, "<plist/>");
        tree.writeFile(goneCaches + "/cache.db", "cache");
    }
    void TearDown() override
    {
        if (manager) {
            manager->waitForScans();
            manager->waitForRemovals();
        }
    }
    std::shared_ptr<UninstallApp> scan()
    {
        manager = UninstallAppManager::make();
        manager->setDelegate(delegate);
        manager->discoverApps();
        manager->runScanLoop();
        for (const auto& app : manager->allApps())
            if (app->bundleIdentifier() == "com.vendor.alpha")
                return app;
        return nullptr;
    }
    void remove(const std::shared_ptr<UninstallApp>& app, bool keepsBundle = false)
    {
        UninstallAppManager::RemovalOptions options;
        options.keepsBundle = keepsBundle;
        manager->removeApps({app}, options);
        manager->waitForRemovals();
    }
    static std::set<std::string> offered(const UninstallAppManager::Apps& apps)
    {
        std::set<std::string> paths;
        for (const auto& app : apps)
            for (const auto& group : app->fileGroups)
                for (const auto& item : group->fileItem)
                    paths.insert(item->filePath);
        return paths;
    }
    std::shared_ptr<ChangeCounter> delegate = std::make_shared<ChangeCounter>();
    std::shared_ptr<UninstallAppManager> manager;
    std::string bundle, preferences, caches, gonePreferences, goneCaches;
};

TEST_F(CatalogueExclusionsTest, TheScanNeverOffersAnExcludedItemNorRemain)
{
    auto app = scan();
    ASSERT_TRUE(app);
    // Without exclusions every one is offered.
    const auto before = offered(manager->allApps());
    for (const auto& path : {bundle, preferences, caches})
        ASSERT_TRUE(before.count(path)) << path;
    ASSERT_TRUE(offered(manager->goneApps()).count(gonePreferences));
    ASSERT_TRUE(offered(manager->goneApps()).count(goneCaches));

    ASSERT_TRUE(ExclusionStore::add("~/library/caches", ""));
    ASSERT_TRUE(ExclusionStore::add(gonePreferences, "com.vendor.ghost"));
    ASSERT_TRUE(ExclusionStore::add(preferences, "com.vendor.other"));
    app = scan();
    ASSERT_TRUE(app);
    EXPECT_FALSE(app->isProtected);
    const auto scanned = offered(manager->allApps());
    EXPECT_TRUE(scanned.count(bundle));
    EXPECT_TRUE(scanned.count(preferences));
    EXPECT_FALSE(scanned.count(caches));
    const auto remains = offered(manager->goneApps());
    EXPECT_FALSE(remains.count(gonePreferences));
    EXPECT_FALSE(remains.count(goneCaches));
}

TEST_F(CatalogueExclusionsTest, AProtectedApplicationIsMarkedAndNothingOfItIsRemoved)
{
    ASSERT_TRUE(ExclusionStore::protect("com.vendor.alpha"));
    const auto app = scan();
    ASSERT_TRUE(app);
    EXPECT_TRUE(app->isProtected);
    app->setSelectionState(kSelectionOn);
    UninstallAppManager::selectForReset(*app);
    EXPECT_EQ(app->selectionState(), kSelectionOff);
    app->setSelectionState(kSelectionOn);
    remove(app);
    for (const auto& path : {bundle, preferences, caches + "/cache.db"})
        EXPECT_TRUE(platform::fs::exists(path)) << path;
}

TEST_F(CatalogueExclusionsTest, RemovalGoesByTheStoreAsItIsThen)
{
    const auto app = scan();
    ASSERT_TRUE(app);
    ASSERT_FALSE(app->isProtected);
    for (const auto& group : app->fileGroups)
        if (group->type != T::bundle)
            group->setSelectionState(kSelectionOn);
    ASSERT_TRUE(ExclusionStore::add(tree.at("~/Library/PREFERENCES/com.vendor.alpha.plist"), ""));
    remove(app);
    EXPECT_TRUE(platform::fs::exists(preferences));
    EXPECT_FALSE(platform::fs::exists(caches));
    EXPECT_TRUE(platform::fs::exists(bundle));
}

TEST_F(CatalogueExclusionsTest, ApplyExclusionsDropsTheNewlyExcludedAndTellsTheDelegate)
{
    const auto app = scan();
    ASSERT_TRUE(app);
    ASSERT_TRUE(offered({app}).count(caches));
    const std::int64_t total = app->totalSize;
    ASSERT_TRUE(ExclusionStore::add(caches, ""));
    ASSERT_TRUE(ExclusionStore::add(goneCaches, ""));
    const int before = delegate->changes;
    std::atomic<bool> done{false}, changedBeforeTheQueueWentOn{false}, queueWentOn{false};
    manager->applyExclusions([&] { done = delegate->changes == before + 1 && delegate->onMainThread; });
    // The records change on the main queue, where the screens read them, and a removal queued
    // meanwhile starts only once they have.
    manager->afterRemovals([&] {
        changedBeforeTheQueueWentOn = !offered(manager->allApps()).count(caches);
        queueWentOn = true;
    });
    // Until the main queue turns, the records stay as they are and the removal queue stands.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_FALSE(queueWentOn);
    EXPECT_TRUE(offered(manager->allApps()).count(caches));
    EXPECT_TRUE(dispatch::MainQueue::runUntil([&] { return done && queueWentOn; }, std::chrono::seconds(20)));
    EXPECT_TRUE(changedBeforeTheQueueWentOn);
    EXPECT_FALSE(offered(manager->allApps()).count(caches));
    EXPECT_TRUE(offered(manager->allApps()).count(preferences));
    EXPECT_LT(app->totalSize, total);
    EXPECT_FALSE(offered(manager->goneApps()).count(goneCaches));
    EXPECT_TRUE(offered(manager->goneApps()).count(gonePreferences));
    EXPECT_FALSE(app->isProtected);

    ASSERT_TRUE(ExclusionStore::protect(bundle));
    app->setSelectionState(kSelectionOn);
    done = false;
    manager->applyExclusions([&] { done = true; });
    EXPECT_TRUE(dispatch::MainQueue::runUntil([&] { return done.load(); }, std::chrono::seconds(20)));
    EXPECT_TRUE(app->isProtected);
    EXPECT_EQ(app->selectionState(), kSelectionOff);
}

TEST_F(CatalogueExclusionsTest, AResetLeavesTheBundleEvenWhenTicked)
{
    const auto app = scan();
    ASSERT_TRUE(app);
    UninstallAppManager::selectForReset(*app);
    for (const auto& group : app->fileGroups)
        for (const auto& item : group->fileItem)
            EXPECT_EQ(item->isSelected, group->type != T::bundle) << item->filePath;
    for (const auto& group : app->fileGroups)
        group->setSelectionState(kSelectionOn);
    remove(app, true);
    EXPECT_TRUE(platform::fs::exists(bundle + "/Contents/Info.plist"));
    EXPECT_TRUE(platform::fs::exists(bundle + "/Contents/MacOS/Alpha"));
    EXPECT_FALSE(platform::fs::exists(preferences));
    EXPECT_FALSE(platform::fs::exists(caches));
    // The record lists what went, nothing of the bundle: Put Back has no bundle to bring back.
    const auto record = manager->lastRemoval();
    ASSERT_TRUE(record);
    std::set<std::string> recorded;
    for (const auto& item : record->items) {
        recorded.insert(item.originalPath);
        EXPECT_EQ(item.state, RemovalRecord::State::moved) << item.originalPath;
    }
    EXPECT_EQ(recorded, (std::set<std::string>{preferences, caches, support("com.vendor.alpha")}));
}

}  // namespace
