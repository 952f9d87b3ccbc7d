#include "CliRunner.h"
#include "demo/DemoTree.h"
#include "platform/FileSystem.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

class ExcludeCli : public ::testing::Test {
protected:
    ExcludeCli() { demo::buildDemoTree(tree); }
    fixtures::ProcessResult ostrova(std::vector<std::string> words) { return runOstrova(tree, std::move(words)); }
    // Whether the path shows in what scan, a dry run and leftovers offer for the application.
    bool offered(const std::string& path, const std::string& app)
    {
        const auto scan = ostrova({"scan", "--json", app});
        const auto dry = ostrova({"uninstall", "--dry-run", app});
        EXPECT_EQ(scan.exitCode, 0) << scan.err;
        EXPECT_EQ(dry.exitCode, 0) << dry.err;
        const bool inScan = scan.out.find("\"" + path + "\"") != std::string::npos;
        EXPECT_EQ(inScan, dryRunPaths(dry.out).count(path) == 1) << dry.out;
        return inScan;
    }
    fixtures::MacTree tree{"demo"};
    const std::string support = tree.at("~/Library/Application Support/Kestrel Browser");
    const std::string tuner = tree.at("~/Library/Application Support/Sonora Tuner");
};

TEST_F(ExcludeCli, AnExcludedFolderThroughALinkInAnotherCaseIsNeverOfferedUntilRemoved)
{
    tree.symlink(tree.at("~/Library/Application Support"), tree.at("~/LinkToSupport"));
    const std::string typed = tree.at("~/LinkToSupport/KESTREL BROWSER");
    ASSERT_TRUE(offered(support, "Kestrel Browser"));
    EXPECT_EQ(ostrova({"exclude", "add", "Library/Application Support/Kestrel Browser"}).exitCode, 2);
    ASSERT_EQ(ostrova({"exclude", "add", typed}).exitCode, 0);

    const auto json = ostrova({"exclude", "list", "--json"});
    EXPECT_EQ(json.exitCode, 0) << json.err;
    EXPECT_EQ(json.out, "{\"excluded\":[{\"path\":\"" + typed + "\",\"application\":\"\"}],\"protected\":[\"com.qzt.ostrova\"]}\n");
    const auto text = ostrova({"exclude", "list"});
    EXPECT_NE(text.out.find(typed + "  (every application)"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("com.qzt.ostrova"), std::string::npos) << text.out;

    EXPECT_FALSE(offered(support, "Kestrel Browser"));
    EXPECT_TRUE(offered(tree.at("/Applications/Kestrel Browser.app"), "Kestrel Browser"));
    const auto removal = ostrova({"uninstall", "--yes", "--keep", "daemon", "Kestrel Browser"});
    EXPECT_FALSE(platform::fs::exists(tree.at("/Applications/Kestrel Browser.app"))) << removal.out << removal.err;
    EXPECT_TRUE(platform::fs::exists(support + "/Default/History"));
    // Gone now, the application's remains still leave the folder out; taken back, it is offered.
    EXPECT_EQ(ostrova({"leftovers"}).out.find(support), std::string::npos);
    EXPECT_EQ(ostrova({"exclude", "remove", typed}).exitCode, 0);
    EXPECT_EQ(ostrova({"exclude", "remove", typed}).exitCode, 1);
    EXPECT_NE(ostrova({"leftovers"}).out.find(support), std::string::npos);
}

TEST_F(ExcludeCli, AFolderHoldingAnExcludedFileAndItemsBelowAnExcludedFolderAreLeftOut)
{
    ASSERT_TRUE(offered(tuner, "Sonora Tuner"));
    ASSERT_EQ(ostrova({"exclude", "add", tuner + "/Presets/Drop D.tuning"}).exitCode, 0);
    EXPECT_FALSE(offered(tuner, "Sonora Tuner"));
    EXPECT_EQ(ostrova({"scan", "--json", "Sonora Tuner"}).out.find(tuner), std::string::npos);
    ASSERT_EQ(ostrova({"exclude", "add", tree.at("~/Library/Caches")}).exitCode, 0);
    EXPECT_EQ(ostrova({"scan", "--json", "Sonora Tuner"}).out.find(tree.at("~/Library/Caches/")), std::string::npos);
}

TEST_F(ExcludeCli, AnExclusionForOneApplicationHidesNothingOfAnother)
{
    ASSERT_EQ(ostrova({"exclude", "add", "--app", "sonora tuner", support}).exitCode, 0);
    EXPECT_NE(ostrova({"exclude", "list", "--json"}).out.find("\"application\":\"com.sonoraaudio.tuner\""), std::string::npos);
    EXPECT_TRUE(offered(support, "Kestrel Browser"));
    EXPECT_EQ(ostrova({"exclude", "add", "--app", "No Such App", support}).exitCode, 1);
    fixtures::AppBlueprint plain;  // no bundle identifier to keep an exclusion of its own under
    plain.name = "Quill Ledger";
    tree.addApp("/Applications", plain);
    const auto unkeyed = ostrova({"exclude", "add", "--app", "Quill Ledger", support});
    EXPECT_EQ(unkeyed.exitCode, 1);
    EXPECT_NE(unkeyed.err.find("Quill Ledger has no bundle identifier"), std::string::npos) << unkeyed.err;
    EXPECT_EQ(ostrova({"exclude", "list", "--json"}).out.find(tree.at("/Applications/Quill Ledger.app")), std::string::npos);
    ASSERT_EQ(ostrova({"exclude", "add", "--app", "com.kestrelsoft.browser", support}).exitCode, 0);
    EXPECT_FALSE(offered(support, "Kestrel Browser"));
}

TEST_F(ExcludeCli, AProtectedApplicationIsRefusedAndOstrovaIsProtectedByItself)
{
    const std::string bundle = tree.at("/Applications/Kestrel Browser.app");
    ASSERT_EQ(ostrova({"exclude", "protect", "KESTREL browser"}).exitCode, 0);
    EXPECT_NE(ostrova({"exclude", "list", "--json"}).out.find("\"protected\":[\"com.qzt.ostrova\",\"com.kestrelsoft.browser\"]"),
              std::string::npos);
    const auto refused = ostrova({"uninstall", "--yes", "Kestrel Browser"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.err, "ostrova: Kestrel Browser is protected; run `ostrova exclude unprotect Kestrel Browser` first\n");
    EXPECT_TRUE(platform::fs::exists(bundle));
    EXPECT_TRUE(platform::fs::exists(support));

    EXPECT_EQ(ostrova({"exclude", "unprotect", bundle}).exitCode, 0);
    EXPECT_EQ(ostrova({"exclude", "unprotect", "Kestrel Browser"}).exitCode, 1);
    // Held by an exclusion that covers its bundle: that exclusion is what to take back.
    ASSERT_EQ(ostrova({"exclude", "add", tree.at("/Applications")}).exitCode, 0);
    const auto covered = ostrova({"reset", "--yes", "Kestrel Browser"});
    EXPECT_EQ(covered.exitCode, 1);
    EXPECT_EQ(covered.err, "ostrova: Kestrel Browser is protected: an exclusion covers its bundle (see `ostrova exclude list`)\n");
    EXPECT_TRUE(platform::fs::exists(support));
    ASSERT_EQ(ostrova({"exclude", "remove", tree.at("/Applications")}).exitCode, 0);
    for (const std::string ostrovaName : {"Ostrova", "com.qzt.ostrova", "/Applications/Ostrova.app"}) {
        const auto unprotect = ostrova({"exclude", "unprotect", ostrovaName});
        EXPECT_EQ(unprotect.exitCode, 1) << ostrovaName;
        EXPECT_EQ(unprotect.err, "ostrova: Ostrova is always protected\n");
        const auto uninstall = ostrova({"uninstall", "--yes", ostrovaName});
        EXPECT_EQ(uninstall.exitCode, 1);
        EXPECT_EQ(uninstall.err, "ostrova: Ostrova does not remove itself\n");
    }
    EXPECT_EQ(ostrova({"uninstall", "--yes", "--keep", "daemon", "Kestrel Browser"}).exitCode, 0);
    EXPECT_FALSE(platform::fs::exists(bundle));
}

TEST_F(ExcludeCli, TheSoundEntriesOfACorruptStoreHoldAndEachDroppedOneIsNamed)
{
    platform::fs::makeDirectories(tree.home() + "/.config");
    std::ofstream(tree.home() + "/.config/com.qzt.ostrova.plist")
        << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>\n"
           "<key>ExcludedItems</key><array><integer>7</integer><dict><key>Application</key><string>x</string></dict>"
           "<dict><key>Path</key><string>relative/place</string></dict>"
           "<dict><key>Path</key><string>" + support + "</string></dict></array>\n"
           "<key>ProtectedApplications</key><array><integer>3</integer><string>com.sonoraaudio.tuner</string></array>\n"
           "</dict></plist>\n";
    const auto list = ostrova({"exclude", "list", "--json"});
    EXPECT_EQ(list.exitCode, 1);
    EXPECT_EQ(list.out, "{\"excluded\":[{\"path\":\"" + support +
                            "\",\"application\":\"\"}],\"protected\":[\"com.qzt.ostrova\",\"com.sonoraaudio.tuner\"]}\n");
    const auto dropped = [](const std::string& err) { return std::count(err.begin(), err.end(), '\n'); };
    EXPECT_EQ(dropped(list.err), 4) << list.err;
    EXPECT_NE(list.err.find("ExcludedItems entry 3: no absolute path"), std::string::npos) << list.err;
    const auto scan = ostrova({"scan", "--json", "Kestrel Browser"});
    EXPECT_EQ(scan.exitCode, 0);
    EXPECT_EQ(dropped(scan.err), 4) << scan.err;
    EXPECT_FALSE(offered(support, "Kestrel Browser"));
    EXPECT_EQ(ostrova({"uninstall", "--yes", "Sonora Tuner"}).exitCode, 1);
    EXPECT_TRUE(platform::fs::exists(tree.at("~/Downloads/Sonora Tuner.app")));
}

}  // namespace
