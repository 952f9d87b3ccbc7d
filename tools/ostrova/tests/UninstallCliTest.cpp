#include "CliRunner.h"
#include "demo/DemoTree.h"
#include "fixtures/PathsBelow.h"
#include "fixtures/Unprivileged.h"
#include "platform/FileSystem.h"
#include "platform/SystemLinks.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <set>

namespace {

using namespace std::chrono_literals;

class UninstallCli : public ::testing::Test {
protected:
    UninstallCli() { demo::buildDemoTree(tree); }
    fixtures::ProcessResult ostrova(std::vector<std::string> words) { return runOstrova(tree, std::move(words)); }
    fixtures::MacTree tree{"demo"};
};

TEST_F(UninstallCli, DryRunTouchesNothingAndARealRunRemovesExactlyWhatItListed)
{
    const auto before = fixtures::pathsBelow(tree.root());
    // No daemon runs here, and launch jobs go only through the daemon: they are kept out of this
    // run (the daemon tests remove them).
    const auto dry = ostrova({"uninstall", "--dry-run", "--keep", "daemon", "Lumen Notes", "com.kestrelsoft.browser"});
    ASSERT_EQ(dry.exitCode, 0) << dry.err;
    EXPECT_EQ(fixtures::pathsBelow(tree.root()), before);

    std::vector<std::string> listed;
    for (const auto& item : dryRunPaths(dry.out)) {
        // As the walk below sees it: the temporary folder's items without the /var link.
        std::string why;
        listed.push_back(platform::SystemLinks::resolveParents(item, why).value_or(item));
    }
    ASSERT_GT(listed.size(), 5u);
    ASSERT_EQ(std::count(dry.out.begin(), dry.out.end(), '\n'), static_cast<std::ptrdiff_t>(listed.size() + 1)) << dry.out;

    const auto real = ostrova({"uninstall", "--yes", "--keep", "daemon", "Lumen Notes", "com.kestrelsoft.browser"});
    EXPECT_EQ(real.exitCode, 0) << real.out << real.err;
    const auto after = fixtures::pathsBelow(tree.root());
    std::set<std::string> gone;
    for (const auto& path : before)
        if (!after.count(path))
            gone.insert(path);
    // Exactly the listed items and what was inside them.
    for (const auto& path : gone) {
        bool covered = false;
        for (const auto& item : listed)
            covered = covered || path == item || path.rfind(item + "/", 0) == 0;
        EXPECT_TRUE(covered) << path;
    }
    for (const auto& item : listed)
        EXPECT_TRUE(gone.count(item)) << item;
    EXPECT_NE(real.out.find("Removed " + std::to_string(listed.size()) + " items"), std::string::npos);
    EXPECT_TRUE(platform::fs::exists(tree.at("~/Library/LaunchAgents/com.lumenhaus.notes.helper.plist")));
}

TEST_F(UninstallCli, WithoutTheDaemonLaunchJobsAreReportedAsLeftOver)
{
    const auto result = ostrova({"uninstall", "--yes", "--only", "daemon", "Lumen Notes"});
    EXPECT_EQ(result.exitCode, 1);
    const std::string job = tree.at("~/Library/LaunchAgents/com.lumenhaus.notes.helper.plist");
    EXPECT_NE(result.out.find("Left over, remove these by hand (1):\n  " + job), std::string::npos) << result.out;
    EXPECT_TRUE(platform::fs::exists(job));
    // A reset that leaves some of it says so, and fails.
    const auto reset = ostrova({"reset", "--yes", "Lumen Notes"});
    EXPECT_EQ(reset.exitCode, 1);
    EXPECT_NE(reset.out.find("Not all of Lumen Notes was reset; the application stays.\n"), std::string::npos) << reset.out;
}

// An ordinary user removing an application of their own (in ~/Applications, every item in their
// home) needs nobody's rights: no daemon is installed or asked, no administrator script is written
// (the one way an administrator is asked), and nothing appears outside the home.
TEST_F(UninstallCli, AUsersOwnApplicationGoesWithoutTheDaemonOrAnAdministrator)
{
    std::vector<std::string> asUser;
    if (::geteuid() == 0) {
        ::chmod(tree.root().c_str(), 0755);
        for (const auto& path : fixtures::pathsBelow(tree.home()))
            ASSERT_EQ(::lchown(path.c_str(), fixtures::unprivilegedUid(), fixtures::unprivilegedGid()), 0) << path;
        for (const auto& path : fixtures::pathsBelow(tree.temporaryDirectory()))
            ASSERT_EQ(::lchown(path.c_str(), fixtures::unprivilegedUid(), fixtures::unprivilegedGid()), 0) << path;
        asUser = {"/usr/bin/setpriv", "--reuid=" + std::to_string(fixtures::unprivilegedUid()),
                  "--regid=" + std::to_string(fixtures::unprivilegedGid()), "--clear-groups"};
    }
    const std::string bundle = tree.at("~/Applications/Quire Reader.app");
    const std::string container = tree.at("~/Library/Containers/com.binderyworks.quire");
    ASSERT_TRUE(platform::fs::exists(bundle));
    const auto outsideHome = [&] {
        auto paths = fixtures::pathsBelow(tree.root(), tree.home());
        std::erase_if(paths, [&](const std::string& path) { return path.rfind(tree.temporaryDirectory(), 0) == 0; });
        return paths;
    };
    const auto before = outsideHome();

    std::vector<std::string> argv = asUser;
    for (const char* word : {OSTROVA_CLI, "uninstall", "--yes", "Quire Reader"})
        argv.emplace_back(word);
    const auto result = fixtures::runProcess(argv, {{"OSTROVA_ROOT", tree.root()}, {"HOME", tree.home()},
                                                    {"TMPDIR", tree.temporaryDirectory()}}, "", 120s);
    EXPECT_EQ(result.exitCode, 0) << result.out << result.err;
    EXPECT_FALSE(platform::fs::linkStatus(bundle));
    EXPECT_FALSE(platform::fs::linkStatus(container));
    EXPECT_TRUE(platform::fs::linkStatus(tree.at("~/.Trash/Quire Reader.app/Contents/Info.plist")));
    EXPECT_EQ(result.out.find("administrator"), std::string::npos) << result.out;
    // Neither written nor left: a script (and so an administrator's prompt), the daemon's copy, its
    // job file, its socket or its rights.
    EXPECT_FALSE(platform::fs::linkStatus(tree.at("~/Library/Application Scripts/com.qzt.ostrova")));
    EXPECT_EQ(outsideHome(), before);
}

TEST_F(UninstallCli, RemovesTheContainerOfAGroupDeclaredOnlyInTheCodeSignature)
{
    fixtures::AppBlueprint blueprint;
    blueprint.name = "Tallow Suite";
    blueprint.identifier = "com.tallow.suite.mac";
    blueprint.signedApplicationGroups = {"K9XQ7T2M4P.com.tallow.suite"};
    blueprint.universalExecutable = true;
    tree.addApp("/Applications", blueprint);
    const std::string container = tree.at("~/Library/Group Containers/K9XQ7T2M4P.com.tallow.suite");
    tree.writeFile(container + "/Library/Preferences/shared.plist", "data");

    const auto result = ostrova({"uninstall", "--yes", "Tallow Suite"});
    EXPECT_EQ(result.exitCode, 0) << result.out << result.err;
    EXPECT_NE(result.out.find(container), std::string::npos) << result.out;
    EXPECT_FALSE(platform::fs::exists(container));
    EXPECT_TRUE(platform::fs::exists(tree.at("~/.Trash/K9XQ7T2M4P.com.tallow.suite/Library/Preferences/shared.plist")));
}

TEST_F(UninstallCli, NarrowsByCategoryAndRefusesWithoutAnswer)
{
    const auto onlyCaches = ostrova({"uninstall", "--dry-run", "--only", "cache", "Lumen Notes"});
    ASSERT_EQ(onlyCaches.exitCode, 0);
    EXPECT_NE(onlyCaches.out.find("Caches/com.lumenhaus.notes"), std::string::npos);
    EXPECT_EQ(onlyCaches.out.find("Lumen Notes.app"), std::string::npos);
    const auto keepBundle = ostrova({"uninstall", "--dry-run", "--keep", "bundle", "Lumen Notes"});
    EXPECT_EQ(keepBundle.out.find("Lumen Notes.app\n"), std::string::npos);
    EXPECT_NE(keepBundle.out.find("Preferences"), std::string::npos);
    // --keep narrows what --only chose.
    const auto onlyButKept = ostrova({"uninstall", "--dry-run", "--only", "cache", "--only", "preference", "--keep",
                                            "preference", "Lumen Notes"});
    ASSERT_EQ(onlyButKept.exitCode, 0);
    EXPECT_NE(onlyButKept.out.find("Caches/com.lumenhaus.notes"), std::string::npos);
    EXPECT_EQ(onlyButKept.out.find("Preferences"), std::string::npos) << onlyButKept.out;

    EXPECT_EQ(ostrova({"uninstall", "Lumen Notes"}).exitCode, 2);  // no terminal, no --yes
    EXPECT_EQ(ostrova({"uninstall", "--only", "caches", "Lumen Notes"}).exitCode, 2);
    EXPECT_EQ(ostrova({"uninstall", "--yes", "No Such App"}).exitCode, 1);
    EXPECT_TRUE(platform::fs::exists(tree.at("/Applications/Lumen Notes.app")));
}

// Every item path of a `scan --json` report.
std::multiset<std::string> scannedPaths(const std::string& json)
{
    std::multiset<std::string> paths;
    for (const auto& app : QJsonDocument::fromJson(QByteArray::fromStdString(json)).array())
        for (const auto& group : app.toObject().value("groups").toArray())
            for (const auto& item : group.toObject().value("items").toArray())
                paths.insert(item.toObject().value("filePath").toString().toStdString());
    return paths;
}

using ScanMatchesDryRunCli = UninstallCli;

// What the scan shows of an application is what its removal takes, item for item.
TEST_F(ScanMatchesDryRunCli, EveryDemoApplicationListsTheSameItemsInBoth)
{
    // A companion whose identifier extends Lumen Notes' one: its preferences are Lumen Notes' only
    // when the companion's claim goes uncounted.
    fixtures::AppBlueprint companion;
    companion.name = "Lumen Notes Sync";
    companion.identifier = "com.lumenhaus.notes.sync";
    tree.addApp("/Applications", companion);
    tree.writeFile(tree.at("~/Library/Preferences/com.lumenhaus.notes.sync.plist"), "<plist/>");
    const auto list = ostrova({"list", "--json"});
    ASSERT_EQ(list.exitCode, 0) << list.err;
    const auto apps = QJsonDocument::fromJson(QByteArray::fromStdString(list.out)).array();
    ASSERT_GE(apps.size(), 15);
    for (const auto& app : apps) {
        const std::string bundle = app.toObject().value("bundlePath").toString().toStdString();
        const auto scan = ostrova({"scan", "--json", bundle});
        const auto dry = ostrova({"uninstall", "--dry-run", bundle});
        ASSERT_EQ(scan.exitCode, 0) << bundle << scan.err;
        ASSERT_EQ(dry.exitCode, 0) << bundle << dry.err;
        const auto scanned = scannedPaths(scan.out);
        EXPECT_EQ(scanned.count(bundle), 1u) << bundle;
        EXPECT_EQ(dryRunPaths(dry.out), scanned) << bundle;
    }
}

}  // namespace
