#include "app/bundles/BundleReader.h"
#include "app/catalogue/UninstallAppManager.h"
#include "app/locations/SearchFilePath.h"
#include "demo/DemoTree.h"
#include "fixtures/MacTree.h"
#include "fixtures/ScopedEnvironment.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "platform/PropertyList.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

namespace path = platform::path;

// One demo tree for the whole suite: building it is the expensive part and the tests only read it.
class DemoTreeTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        tree = new fixtures::MacTree();
        demo::buildDemoTree(*tree);
    }
    static void TearDownTestSuite()
    {
        delete tree;
        tree = nullptr;
    }

    void SetUp() override
    {
        tree->activate();
        // Names are read in a known language unless a test chooses another.
        language.unset("LANGUAGE");
        language.unset("LC_ALL");
        language.unset("LC_MESSAGES");
        language.set("LANG", "C");
        bundles = SearchFilePath::applicationBundles();
        unique = std::set<std::string>(bundles.begin(), bundles.end());
    }

    std::vector<std::shared_ptr<UninstallApp>> records() const
    {
        std::vector<std::shared_ptr<UninstallApp>> result;
        for (const auto& bundle : unique)
            result.push_back(BundleReader::record(bundle));
        return result;
    }

    static fixtures::MacTree* tree;
    fixtures::ScopedEnvironment language;
    std::vector<std::string> bundles;
    std::set<std::string> unique;
};

fixtures::MacTree* DemoTreeTest::tree = nullptr;

// Deep, user and unusual names are listed; the traps (bundles inside bundles, too deep, inside a
// plain .bundle, and a link on the Desktop to a listed one) exist but are not. Links into the
// application folders are skipped, so no bundle is reached twice.
TEST_F(DemoTreeTest, ListsBetweenFifteenAndTwentyFiveApplicationsEachOnce)
{
    EXPECT_GE(unique.size(), 15u);
    EXPECT_LE(unique.size(), 25u);
    EXPECT_EQ(bundles.size(), unique.size());
    for (const auto& bundle : unique) {
        EXPECT_EQ(path::extension(bundle), "app") << bundle;
        EXPECT_EQ(bundle.find("Game Assets.bundle"), std::string::npos) << bundle;
        EXPECT_EQ(bundle.find("/Tools/Legacy/"), std::string::npos) << bundle;
        for (const auto& other : unique)
            EXPECT_FALSE(path::isInside(bundle, other)) << bundle << " lies inside " << other;
    }
    for (const char* bundle : {"/Applications/Tessel Studio/Extras/Tessel Batch.app",
                               "/Applications/Tessel Studio/Tessel Studio.app", "~/Applications/Quire Reader.app",
                               "~/Downloads/Sonora Tuner.app", "/Applications/Draftly+.app",
                               "/Applications/Kestrel Browser.app", "/Applications/Lumen Notes.app"})
        EXPECT_TRUE(unique.count(tree->at(bundle))) << bundle;
    for (const char* trap : {"/Applications/Relay Sync.app/Contents/Library/LoginItems/Relay Sync Launcher.app",
                             "/Applications/Kestrel Browser.app/Contents/MacOS/Kestrel Browser Helper.app",
                             "/Applications/Tools/Legacy/Archive/Wavecrest Sampler.app", "/Applications/Utilities/Pixel Loupe.app",
                             "/Applications/Game Assets.bundle", "/Applications/Game Assets.bundle/Contents/Tools/Level Editor.app",
                             "~/Desktop/Kestrel Browser.app"}) {
        EXPECT_TRUE(platform::fs::exists(tree->at(trap))) << trap;
        EXPECT_FALSE(unique.count(tree->at(trap))) << trap;
    }
    const auto target = std::filesystem::canonical(tree->at("/Applications/Kestrel Browser.app"));
    ASSERT_TRUE(platform::fs::isSymbolicLink(tree->at("~/Desktop/Kestrel Browser.app")));
    ASSERT_EQ(std::filesystem::canonical(tree->at("~/Desktop/Kestrel Browser.app")), target);
    EXPECT_EQ(std::count_if(unique.begin(), unique.end(), [&](const auto& bundle) { return std::filesystem::canonical(bundle) == target; }), 1);
}

// Each record has its own identifier (none of the system's) and a name; last-used dates are
// recent, older than 90 days, or missing.
TEST_F(DemoTreeTest, EveryListedBundleMakesARecordWithIdentifierAndName)
{
    const std::time_t ninetyDaysAgo = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now() - std::chrono::hours(24 * 90));
    std::tm local{};
    localtime_r(&ninetyDaysAgo, &local);
    char threshold[32];
    std::strftime(threshold, sizeof threshold, "%Y-%m-%d", &local);
    std::set<std::string> identifiers;
    int none = 0, old = 0, recent = 0;
    for (const auto& app : records()) {
        const std::string identifier = app->bundleIdentifier();
        EXPECT_FALSE(identifier.empty()) << *app->bundlePath;
        EXPECT_FALSE(app->displayName().empty()) << *app->bundlePath;
        EXPECT_FALSE(identifier.rfind("com.apple", 0) == 0) << identifier;
        EXPECT_TRUE(identifiers.insert(identifier).second) << "identifier used twice: " << identifier;
        (app->lastUsed == "-" ? none : app->lastUsed < std::string(threshold) ? old : recent) += 1;
    }
    EXPECT_GE(none, 1);
    EXPECT_GE(old, 1);
    EXPECT_GE(recent, 1);
}

TEST_F(DemoTreeTest, SomeNamesAreLocalised)
{
    const auto displayNames = [&](const char* lang) {
        language.set("LANG", lang);
        std::map<std::string, std::string> names;
        for (const auto& app : records())
            names[*app->bundlePath] = app->displayName();
        return names;
    };
    const auto english = displayNames("C");
    const auto german = displayNames("de_DE.UTF-8");
    const auto french = displayNames("fr_FR.UTF-8");
    int germanChanged = 0;
    int frenchChanged = 0;
    for (const auto& [bundle, name] : english) {
        EXPECT_FALSE(german.at(bundle).empty()) << bundle;
        germanChanged += german.at(bundle) != name ? 1 : 0;
        frenchChanged += french.at(bundle) != name ? 1 : 0;
    }
    EXPECT_GE(germanChanged, 1);
    EXPECT_GE(frenchChanged, 1);
    EXPECT_EQ(german.at(tree->at("/Applications/Lumen Notes.app")), "Lumen Notizen");
    EXPECT_EQ(english.at(tree->at("/Applications/Lumen Notes.app")), "Lumen Notes");
}

TEST_F(DemoTreeTest, LaunchJobsStartProgramsInsideTheirOwnBundles)
{
    const auto apps = records();
    int owned = 0, daemons = 0, foreign = 0, ofGone = 0;
    for (const char* macFolder : {"~/Library/LaunchAgents", "/Library/LaunchDaemons"}) {
        const std::string folder = tree->at(macFolder);
        for (const auto& entry : platform::fs::listDirectory(folder).value_or(std::vector<std::string>{})) {
            const auto job = plist::readDictionary(path::appending(folder, entry));
            ASSERT_TRUE(job) << entry;
            const std::string label = plist::stringValue(*job, "Label");
            EXPECT_EQ(label + ".plist", entry);
            const auto* arguments = plist::find(*job, "ProgramArguments");
            ASSERT_TRUE(arguments && arguments->is<plist::Array>()) << entry;
            const auto& list = *arguments->get<plist::Array>();
            ASSERT_FALSE(list.empty()) << entry;
            ASSERT_TRUE(list.front().is<std::string>()) << entry;
            const std::string program = *list.front().get<std::string>();
            // A gone application's job names a program in a bundle that is no longer there.
            const std::size_t bundleEnd = program.find(".app/");
            if (bundleEnd != std::string::npos && !platform::fs::linkStatus(program.substr(0, bundleEnd + 4))) {
                ++ofGone;
                continue;
            }
            EXPECT_EQ(::access(program.c_str(), X_OK), 0) << program;

            const auto owner = std::find_if(apps.begin(), apps.end(), [&](const auto& app) {
                return path::startsWith(label, app->bundleIdentifier() + ".");
            });
            if (owner != apps.end()) {
                EXPECT_TRUE(path::isInside(program, *(*owner)->bundlePath)) << program;
                ++owned;
                daemons += std::string(macFolder) == "/Library/LaunchDaemons" ? 1 : 0;
            } else {
                for (const auto& app : apps)
                    EXPECT_FALSE(path::isInside(program, *app->bundlePath)) << program;
                ++foreign;
            }
        }
    }
    EXPECT_GE(owned, 4);
    EXPECT_GE(daemons, 1);
    EXPECT_GE(foreign, 1);
    EXPECT_EQ(ofGone, 2);
}

TEST_F(DemoTreeTest, EveryApplicationLeavesFilesTheScanFinds)
{
    const auto manager = UninstallAppManager::make();
    manager->discoverApps();
    manager->runScanLoop();
    std::set<std::string> claimedByAny;
    for (const auto& app : manager->allApps()) {
        std::size_t found = 0;
        for (const auto& group : app->fileGroups) {
            if (group->type == RkUninstallCategoryType::bundle)
                continue;
            for (const auto& item : group->fileItem) {
                ++found;
                claimedByAny.insert(item->filePath);
            }
        }
        EXPECT_GE(found, 2u) << *app->bundlePath;
        EXPECT_GT(app->totalSize, app->bundleSize) << *app->bundlePath;
    }
    // Found only through the helper application inside the browser's Contents/MacOS.
    EXPECT_TRUE(claimedByAny.count(tree->at("~/Library/Logs/Kestrel Browser Helper")));
    // Found inside the vendor folder, which itself is not claimed.
    EXPECT_TRUE(claimedByAny.count(tree->at("~/Library/Application Support/Lumenhaus/Lumen Notes")));
    EXPECT_TRUE(claimedByAny.count(tree->at("~/Library/Application Support/Tessel Works/Tessel Batch")));
    EXPECT_FALSE(claimedByAny.count(tree->at("~/Library/Application Support/Lumenhaus")));
    EXPECT_TRUE(claimedByAny.count(tree->at("~/Library/LaunchAgents/com.lumenhaus.notes.helper.plist")));

    // Files of vendors with nothing installed.
    for (const char* unrelated : {"~/Library/Application Support/Lumenhaus/Lumen Fonts",
                                  "~/Library/Application Support/Fernbrook Mail", "~/Library/Preferences/com.fernbrook.mail.plist",
                                  "~/Library/LaunchAgents/com.fernbrook.mail.sync.plist",
                                  "/Library/LaunchDaemons/org.ridgeline.trackerd.plist", "~/Library/Caches/org.ridgeline.tracker"}) {
        EXPECT_TRUE(platform::fs::linkStatus(tree->at(unrelated))) << unrelated;
        EXPECT_FALSE(claimedByAny.count(tree->at(unrelated))) << unrelated;
    }
}

}  // namespace
