#include "FakeSpotlight.h"
#include "app/bundles/BundleReader.h"
#include "app/records/UninstallApp.h"
#include "platform/FileSystem.h"
#include "fixtures/MacTree.h"

#include <gtest/gtest.h>

#include <random>
#include <regex>

namespace {

using namespace std::chrono_literals;

class UninstallAppTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        tree.activate();
        tree.environment().set("LANG", "C.UTF-8");
        tree.environment().unset("LANGUAGE");
        tree.environment().unset("LC_ALL");
        tree.environment().unset("LC_MESSAGES");
    }

    std::string appWithInfo(const std::string& name, const std::string& infoBytes)
    {
        const std::string bundle = tree.at("/Applications/" + name + ".app");
        tree.makeDirectories(bundle + "/Contents/MacOS");
        tree.writeFile(bundle + "/Contents/Info.plist", infoBytes);
        return bundle;
    }

    fixtures::MacTree tree;
};

TEST_F(UninstallAppTest, DerivedValuesFromXmlAndBinaryInfoPlist)
{
    for (const bool binary : {false, true}) {
        fixtures::AppBlueprint appBlueprint;
        appBlueprint.name = binary ? "Binary Foo" : "Xml Foo";
        appBlueprint.identifier = "com.vendor.foo";
        appBlueprint.executable = "foo-bin";
        appBlueprint.version = "2.4.1";
        appBlueprint.displayName = "Foo Display";
        appBlueprint.binaryInfoPlist = binary;
        const auto path = tree.addApp("/Applications", appBlueprint);

        const auto app = BundleReader::record(path);
        EXPECT_EQ(app->bundleIdentifier(), "com.vendor.foo");
        EXPECT_EQ(app->executableName(), "foo-bin");
        EXPECT_EQ(app->shortVersion(), "2.4.1");
        EXPECT_EQ(app->infoName(), appBlueprint.name);
        EXPECT_EQ(app->infoDisplayName(), "Foo Display");
        EXPECT_EQ(app->displayName(), "Foo Display");
        EXPECT_EQ(app->executablePath(), path + "/Contents/MacOS/foo-bin");
        EXPECT_EQ(*app->bundlePath, path);
        EXPECT_EQ(app->lastUsed, "-");
        EXPECT_FALSE(app->isReady);
        EXPECT_EQ(app->bundleSize, 0);
        EXPECT_EQ(app->totalSize, 0);
        EXPECT_TRUE(app->fileGroups.empty());
        EXPECT_TRUE(std::regex_match(app->identifier, std::regex("[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}")))
            << app->identifier;
        EXPECT_EQ(app->icon->imagePath, path + "/Contents/Resources/AppIcon.icns");
    }
}

TEST_F(UninstallAppTest, WithoutInfoPlistEveryInfoValueIsEmpty)
{
    fixtures::AppBlueprint appBlueprint;
    appBlueprint.name = "Bare";
    appBlueprint.withInfoPlist = false;
    const auto path = tree.addApp("/Applications", appBlueprint);
    const auto app = BundleReader::record(path);
    EXPECT_FALSE(app->appInfo.has_value());
    EXPECT_EQ(app->bundleIdentifier(), "");
    EXPECT_EQ(app->executableName(), "");
    EXPECT_EQ(app->shortVersion(), "");
    EXPECT_EQ(app->executablePath(), path + "/Contents/MacOS/");
    EXPECT_EQ(app->displayName(), "Bare.app");

    // The name is read once, with the bundle: the record keeps it.
    auto spotlight = std::make_shared<FakeSpotlight>();
    spotlight->names[path] = "Bare From Spotlight";
    ScopedSpotlight scoped(spotlight);
    EXPECT_EQ(app->displayName(), "Bare.app");
    EXPECT_EQ(BundleReader::record(path)->displayName(), "Bare From Spotlight");
}

TEST_F(UninstallAppTest, DisplayNameOrder)
{
    fixtures::AppBlueprint appBlueprint;
    appBlueprint.name = "Maps";
    appBlueprint.bundleName = "MapsName";
    appBlueprint.displayName = "Maps Display";
    appBlueprint.localizedNames = {{"de", "Karten"}};
    const auto path = tree.addApp("/Applications", appBlueprint);
    const auto shown = [&] { return BundleReader::record(path)->displayName(); };

    // No localisation for the user's language nor the development region: Info.plist decides.
    EXPECT_EQ(shown(), "Maps Display");
    tree.environment().set("LANG", "de_DE.UTF-8");
    EXPECT_EQ(shown(), "Karten");

    // A localised table without either name falls through to CFBundleName, not CFBundleDisplayName.
    tree.writeFile(path + "/Contents/Resources/de.lproj/InfoPlist.strings", "\"NSHumanReadableCopyright\" = \"x\";");
    EXPECT_EQ(shown(), "MapsName");

    auto spotlight = std::make_shared<FakeSpotlight>();
    spotlight->names[path] = "";
    ScopedSpotlight scoped(spotlight);
    EXPECT_EQ(shown(), "MapsName");
}

TEST_F(UninstallAppTest, LastUsedDateComesFromTheAttribute)
{
    fixtures::AppBlueprint appBlueprint;
    appBlueprint.name = "Used";
    const auto path = tree.addApp("/Applications", appBlueprint);
    tree.environment().set("TZ", "UTC");
    tzset();
    tree.setLastUsed(path, std::chrono::system_clock::from_time_t(1717200000));  // 2024-06-01 00:00 UTC
    EXPECT_EQ(BundleReader::record(path)->lastUsed, "2024-06-01");

    const auto missing = BundleReader::record(tree.at("/Applications/Gone.app"));
    EXPECT_EQ(missing->lastUsed, "-");
    EXPECT_FALSE(missing->appInfo.has_value());
    EXPECT_EQ(missing->icon->themeName, "unknown");
    tree.environment().unset("TZ");
    tzset();
}

TEST_F(UninstallAppTest, BrokenInfoPlistsGiveEmptyValuesAndNoCrash)
{
    plist::Dictionary info{{"CFBundleIdentifier", "com.vendor.broken"}, {"CFBundleName", "Broken"}};
    const std::string binary = plist::serialize(plist::Value(info), plist::Format::Binary);
    std::mt19937 random(7);
    std::string garbage(10u << 20, '\0');
    for (auto& c : garbage)
        c = static_cast<char>(random());

    const std::vector<std::pair<std::string, std::string>> cases = {
        {"Truncated", binary.substr(0, binary.size() / 2)},
        {"ArrayRoot", plist::serialize(plist::Value(plist::Array{plist::Value("x")}), plist::Format::Xml)},
        {"Empty", ""},
        {"Garbage", garbage},
        {"WrongTypes", plist::serialize(plist::Value(plist::Dictionary{{"CFBundleIdentifier", std::int64_t{5}},
                                                                       {"CFBundleName", plist::Array{}}}),
                                        plist::Format::Xml)},
    };
    for (const auto& [name, bytes] : cases) {
        const auto app = BundleReader::record(appWithInfo(name, bytes));
        EXPECT_EQ(app->bundleIdentifier(), "") << name;
        EXPECT_EQ(app->infoName(), "") << name;
        EXPECT_EQ(app->displayName(), name + ".app") << name;
    }
}

TEST_F(UninstallAppTest, HostileNamesSurvive)
{
    const std::vector<std::string> names = {"Quote\"d 'App'", "New\nLine", std::string("Bad\xff\xfe UTF"), "$(touch x)"};
    for (const auto& name : names) {
        fixtures::AppBlueprint appBlueprint;
        appBlueprint.name = name;
        appBlueprint.identifier = "com.vendor.x";
        const auto path = tree.addApp("/Applications", appBlueprint);
        const auto app = BundleReader::record(path);
        EXPECT_EQ(*app->bundlePath, path);
        EXPECT_EQ(app->bundleIdentifier(), "com.vendor.x");
        EXPECT_EQ(app->executablePath(), path + "/Contents/MacOS/" + name);
    }
}

TEST_F(UninstallAppTest, RemoveMissingFilesKeepsOrderAndDropsEmptyGroups)
{
    const auto app = BundleReader::record(tree.at("/Applications/Any.app"));
    std::vector<std::string> kept;
    for (int g = 0; g < 3; ++g) {
        auto group = std::make_shared<UnFileGroup>();
        group->type = static_cast<RkUninstallCategoryType>(g + 1);
        for (int i = 0; i < 4; ++i) {
            auto item = std::make_shared<UnFileItem>();
            item->filePath = tree.at("/Library/f" + std::to_string(g) + "_" + std::to_string(i));
            item->group = group;
            const bool stays = g != 1 && i % 2 == 0;
            if (stays) {
                tree.writeFile(item->filePath, "x");
                kept.push_back(item->filePath);
            }
            group->fileItem.push_back(item);
        }
        app->fileGroups.push_back(group);
    }
    // A link whose target is gone still stands on disk and stays listed.
    tree.symlink(tree.at("/nowhere"), tree.at("/Library/f2_1"));
    kept.insert(kept.begin() + 3, tree.at("/Library/f2_1"));

    const auto missing = [](const UnFileItem& item) { return !platform::fs::linkStatus(item.filePath); };
    app->dropItems(missing);
    ASSERT_EQ(app->fileGroups.size(), 2u);
    EXPECT_EQ(app->fileGroups[0]->type, RkUninstallCategoryType::support);
    EXPECT_EQ(app->fileGroups[1]->type, RkUninstallCategoryType::preference);
    std::vector<std::string> remaining;
    for (const auto& group : app->fileGroups)
        for (const auto& item : group->fileItem)
            remaining.push_back(item->filePath);
    EXPECT_EQ(remaining, kept);

    fixtures::MacTree::removeTree(tree.at("/Library"));
    app->dropItems(missing);
    EXPECT_TRUE(app->fileGroups.empty());
}

TEST_F(UninstallAppTest, CategoryTitlesAndCaseNames)
{
    EXPECT_EQ(categoryTitle(RkUninstallCategoryType::bundle), "Program files");
    EXPECT_EQ(categoryTitle(RkUninstallCategoryType::Sandbox), "Sandbox files");
    EXPECT_EQ(categoryTitle(RkUninstallCategoryType::cookies), "Cookies");
    EXPECT_EQ(categoryCaseName(RkUninstallCategoryType::crashReporter), "crashReporter");
    RkUninstallCategoryType type{};
    ASSERT_TRUE(categoryFromCaseName("Sandbox", type));
    EXPECT_EQ(type, RkUninstallCategoryType::Sandbox);
    EXPECT_FALSE(categoryFromCaseName("sandbox", type));
}

}  // namespace
