#include "fixtures/MacTree.h"
#include "platform/Bundle.h"
#include "platform/FileSystem.h"
#include "platform/Spotlight.h"
#include "platform/Workspace.h"

#include <gtest/gtest.h>

namespace {

using platform::Bundle;
using platform::Workspace;

class BundleTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        tree.activate();
        tree.environment().unset("LANGUAGE");
        tree.environment().unset("LC_ALL");
        tree.environment().unset("LC_MESSAGES");
        tree.environment().set("LANG", "C.UTF-8");
    }
    fixtures::MacTree tree;
};

TEST_F(BundleTest, EnclosingAppBundleIsTheInnermostApp)
{
    for (const auto& [path, bundle] : {std::pair{"/A/Ostrova.app/Contents/MacOS/Ostrova", "/A/Ostrova.app"},
                                       {"/A/Ostrova.app/Contents/Helpers/ostrova", "/A/Ostrova.app"},
                                       {"/A/Ostrova.app/Contents/Library/LoginItems/agent.app/Contents/MacOS/agent",
                                        "/A/Ostrova.app/Contents/Library/LoginItems/agent.app"},
                                       {"/usr/bin/true", ""}, {"/A/Fake.app", ""}})
        EXPECT_EQ(Bundle::enclosingAppBundle(path), bundle) << path;
}

TEST_F(BundleTest, InfoDictionaryAndIdentifier)
{
    fixtures::AppBlueprint appBlueprint;
    appBlueprint.name = "Foo";
    appBlueprint.identifier = "com.vendor.foo";
    appBlueprint.binaryInfoPlist = true;
    const auto path = tree.addApp("/Applications", appBlueprint);
    const auto bundle = Bundle::atPath(path);
    ASSERT_TRUE(bundle);
    EXPECT_EQ(bundle->bundleIdentifier(), "com.vendor.foo");
    EXPECT_EQ(plist::stringValue(bundle->infoDictionary(), "CFBundleExecutable"), "Foo");

    EXPECT_FALSE(Bundle::atPath(tree.at("/Applications/Missing.app")));
    tree.writeFile(tree.at("/Applications/File.app"), "not a folder");
    EXPECT_FALSE(Bundle::atPath(tree.at("/Applications/File.app")));
}

TEST_F(BundleTest, NamesInsideTheBundleIgnoreLetterCase)
{
    const std::string path = tree.at("/Applications/Lower.app");
    tree.writePlist(path + "/contents/info.plist", plist::Value(plist::Dictionary{{"CFBundleIdentifier", "com.x.lower"},
                                                                                   {"CFBundleIconFile", "Icon"}}));
    tree.writeFile(path + "/contents/resources/icon.ICNS", "icns");
    const auto bundle = Bundle::atPath(path);
    ASSERT_TRUE(bundle);
    EXPECT_EQ(bundle->bundleIdentifier(), "com.x.lower");
    EXPECT_EQ(bundle->pathForResource("Icon", "icns"), path + "/contents/resources/icon.ICNS");
    EXPECT_EQ(Workspace::iconForFile(path).imagePath, path + "/contents/resources/icon.ICNS");
}

TEST_F(BundleTest, LocalizedInfoDictionaryFollowsTheUsersLanguage)
{
    fixtures::AppBlueprint appBlueprint;
    appBlueprint.name = "Maps";
    appBlueprint.identifier = "com.vendor.maps";
    appBlueprint.localizedNames = {{"de", "Karten"}, {"fr", "Plans"}};
    const auto path = tree.addApp("/Applications", appBlueprint);
    const auto bundle = Bundle::atPath(path);
    ASSERT_TRUE(bundle);

    tree.environment().set("LANG", "de_DE.UTF-8");
    ASSERT_TRUE(bundle->localizedInfoDictionary());
    EXPECT_EQ(plist::stringValue(*bundle->localizedInfoDictionary(), "CFBundleDisplayName"), "Karten");

    tree.environment().set("LANGUAGE", "fr:de");
    EXPECT_EQ(plist::stringValue(*bundle->localizedInfoDictionary(), "CFBundleDisplayName"), "Plans");

    // Neither wanted nor the development region: there is no localised dictionary.
    tree.environment().set("LANGUAGE", "ja");
    tree.environment().set("LANG", "ja_JP.UTF-8");
    EXPECT_FALSE(bundle->localizedInfoDictionary());
}

TEST_F(BundleTest, PreferredLanguagesDropEncodingAndRegion)
{
    tree.environment().set("LANGUAGE", "pt_BR:en");
    const auto languages = platform::preferredLanguages();
    ASSERT_GE(languages.size(), 4u);
    EXPECT_EQ(std::vector<std::string>(languages.begin(), languages.begin() + 4), (std::vector<std::string>{"pt_BR", "pt-BR", "pt", "en"}));
}

// Packages are folders with a package extension in any letter case; an icon falls back to the theme's.
TEST_F(BundleTest, PackagesAndIconsOfWhatIsNoBundle)
{
    tree.makeDirectories(tree.at("/Applications/Game.bundle"));
    tree.makeDirectories(tree.at("/Applications/Tool.APP"));
    tree.makeDirectories(tree.at("/Applications/Plain Folder"));
    tree.writeFile(tree.at("/Applications/file.app"), "x");
    for (const auto& [name, package] : {std::pair{"Game.bundle", true}, {"Tool.APP", true}, {"Plain Folder", false},
                                        {"file.app", false}, {"none.app", false}})
        EXPECT_EQ(Workspace::isFilePackageAtPath(tree.at("/Applications/") + name), package) << name;

    fixtures::AppBlueprint appBlueprint;
    appBlueprint.name = "NoIcon";
    appBlueprint.iconColor.reset();
    const auto path = tree.addApp("/Applications", appBlueprint);
    EXPECT_EQ(Workspace::iconForFile(path), (platform::FileIcon{"", "application-x-executable"}));
    EXPECT_EQ(Workspace::iconForFile(tree.at("/Applications/Gone.app")).themeName, "unknown");
    EXPECT_EQ(Workspace::iconForFile(tree.at("/Applications")).themeName, "folder");
}

TEST_F(BundleTest, LastUsedDateAttributeRoundTrips)
{
    const std::string path = tree.at("/Applications");
    const auto when = std::chrono::system_clock::from_time_t(1700000000) + std::chrono::nanoseconds(123456789);
    ASSERT_TRUE(platform::writeLastUsedDateAttribute(path, when));
    EXPECT_EQ(platform::readLastUsedDateAttribute(path), when);
    EXPECT_FALSE(platform::readLastUsedDateAttribute(tree.at("/Library")).has_value());
}

}  // namespace
