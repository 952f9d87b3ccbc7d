// An uninstall on a Mac laid out as a real one (/var, /tmp and /etc links into /private, TMPDIR
// through /var), by the bundle's command-line tool run as an unprivileged user, through the real
// daemon: everything ticked goes, nothing else changes.
#include "daemon/tests/DaemonFixture.h"
#include "demo/DemoTree.h"
#include "fixtures/PathsBelow.h"
#include "platform/FileSystem.h"
#include "platform/LaunchJobRecord.h"
#include "platform/SystemLinks.h"

#include <signal.h>
#include <sys/stat.h>
#include <sys/xattr.h>

#include <filesystem>
#include <set>
#include <tuple>

namespace {

class RealLayoutUninstallTest : public ToolThroughDaemonFixture {
protected:
    void SetUp() override
    {
        if (::geteuid() != 0)
            GTEST_SKIP() << "the daemon runs as root";
        demo::buildDemoTree(tree);
        tree.activate();
        // The user's Trash is the user's (the demo Mac has an application in it).
        for (const auto& entry : std::filesystem::recursive_directory_iterator(tree.at("~/.Trash")))
            ::lchown(entry.path().c_str(), fixtures::unprivilegedUid(), fixtures::unprivilegedGid());
        giveFoldersToUser();
        startDaemon();
    }
    // Tide Pool, with its per-user cache root's (only the daemon can take it), a user agent nobody
    // loaded, a loaded one and root's loaded launch daemon, all run from its bundle.
    std::string addTidePool()
    {
        fixtures::AppBlueprint blueprint;
        blueprint.name = "Tide Pool";
        blueprint.identifier = "com.test.tidepool";
        blueprint.executable = "TidePool";
        const std::string bundle = tree.addApp("/Applications", blueprint);
        tree.writeFile(tree.at("/var/folders/ab/x1y2z3/C/com.test.tidepool/blob"), "cached by root");
        for (const auto& [folder, name, load] : {std::make_tuple("~/Library/LaunchAgents/", "idle", false),
                                                 std::make_tuple("~/Library/LaunchAgents/", "agent", true),
                                                 std::make_tuple("/Library/LaunchDaemons/", "helper", true)}) {
            const std::string label = std::string("com.test.tidepool.") + name, path = tree.at(folder + label + ".plist");
            writeJob(path, label, fixtures::copyExecutable(bundle + "/Contents/Library/LaunchServices/" + label));
            EXPECT_TRUE(!load || this->load(path) == 0) << path;
        }
        return bundle;
    }

    // Below the root, but the Trash, the removal records and the daemon's run folder: for each path
    // its mode, owner, group, size, modification time (of files; folders' change as items leave)
    // and extended attributes.
    using Entry = std::tuple<mode_t, uid_t, gid_t, off_t, long, std::string>;
    std::map<std::string, Entry> listing() const
    {
        std::map<std::string, Entry> found;
        const std::set<std::string> skipped = {tree.at("~/.Trash"), tree.at("~/Library/Application Support/Ostrova"),
                                               tree.at("/private/var/run"), tree.at("/private/var/db"), tree.at("/daemon.log")};
        for (auto it = std::filesystem::recursive_directory_iterator(tree.root()); it != std::filesystem::recursive_directory_iterator(); ++it) {
            const std::string path = it->path().string();
            if (skipped.count(path)) {
                it.disable_recursion_pending();
                continue;
            }
            struct stat st {};
            if (::lstat(path.c_str(), &st) != 0)
                continue;
            char names[1024] = {};
            const ssize_t length = ::llistxattr(path.c_str(), names, sizeof names);
            found[path] = Entry{st.st_mode, st.st_uid, st.st_gid, S_ISDIR(st.st_mode) ? 0 : st.st_size,
                                S_ISDIR(st.st_mode) ? 0 : st.st_mtim.tv_sec, std::string(names, length > 0 ? length : 0)};
        }
        return found;
    }

};

TEST_F(RealLayoutUninstallTest, EveryTickedItemGoesAndNothingElse)
{
    const std::string bundle = addTidePool();
    // In TMPDIR, the user's.
    const std::string cacheT = tree.temporaryDirectory() + "com.test.tidepool";
    tree.writeFile(cacheT + "/scratch", "x");
    ::chown(cacheT.c_str(), fixtures::unprivilegedUid(), fixtures::unprivilegedGid());
    ::chown((cacheT + "/scratch").c_str(), fixtures::unprivilegedUid(), fixtures::unprivilegedGid());
    tree.writeFile(tree.at("~/Library/Application Support/Tide Pool/state.db"), "x");

    const auto dry = asUser({"uninstall", "--dry-run", "Tide Pool"});
    ASSERT_EQ(dry.exitCode, 0) << dry.err;
    std::vector<std::string> listed;
    for (std::size_t start = dry.out.find('\n') + 1; start < dry.out.size();) {
        const auto end = dry.out.find('\n', start);
        const std::string item = dry.out.substr(start + 2, end - start - 2);
        std::string why;
        listed.push_back(platform::SystemLinks::resolveParents(item, why).value_or(item));
        start = end + 1;
    }
    for (const auto& expected : {tree.at("/private/var/folders/ab/x1y2z3/C/com.test.tidepool"),
                                 tree.at("/private/var/folders/ab/x1y2z3/T/com.test.tidepool"),
                                 tree.at("~/Library/LaunchAgents/com.test.tidepool.idle.plist"),
                                 tree.at("~/Library/LaunchAgents/com.test.tidepool.agent.plist"),
                                 tree.at("/Library/LaunchDaemons/com.test.tidepool.helper.plist"), bundle})
        EXPECT_NE(std::find(listed.begin(), listed.end(), expected), listed.end()) << expected << "\n" << dry.out;

    const auto before = fixtures::pathsBelow(tree.root(), tree.at("/private/var/run"));
    const auto result = asUser({"uninstall", "--yes", "--delete", "Tide Pool"});
    EXPECT_EQ(result.exitCode, 0) << result.out << result.err;
    const auto after = fixtures::pathsBelow(tree.root(), tree.at("/private/var/run"));
    for (const auto& path : after)
        EXPECT_TRUE(before.count(path) || path.find("/Application Support/Ostrova") != std::string::npos) << "new: " << path;
    for (const auto& path : before) {
        if (after.count(path))
            continue;
        bool ticked = false;
        for (const auto& item : listed)
            ticked = ticked || path == item || path.rfind(item + "/", 0) == 0;
        EXPECT_TRUE(ticked) << "removed but not ticked: " << path;
    }
    for (const auto& item : listed)
        EXPECT_FALSE(after.count(item)) << "ticked but still there: " << item;
    EXPECT_FALSE(platform::LaunchJobRecord::read("com.test.tidepool.agent"));
    EXPECT_FALSE(platform::LaunchJobRecord::read("com.test.tidepool.helper"));
}

TEST_F(RealLayoutUninstallTest, APrivilegedHelperGoesWithItsLaunchDaemon)
{
    fixtures::AppBlueprint appBlueprint;
    appBlueprint.name = "Harbor";
    appBlueprint.identifier = "com.test.harbor";
    appBlueprint.moreInfo = {{"SMPrivilegedExecutables", plist::Dictionary{{"com.test.harbor.helper", "anchor apple"}}}};
    const std::string bundle = tree.addApp("/Applications", appBlueprint);
    // Root's helper tool outside the bundle, run by root's launch daemon, loaded and running.
    const std::string tool = fixtures::copyExecutable(tree.at("/Library/PrivilegedHelperTools/com.test.harbor.helper"));
    const std::string daemonJob = tree.at("/Library/LaunchDaemons/com.test.harbor.helper.plist");
    writeJob(daemonJob, "com.test.harbor.helper", tool);
    const std::string receipt = tree.at("/private/var/db/receipts/com.test.harbor.pkg.bom");
    tree.writeFile(receipt, "bom");
    ASSERT_EQ(load(daemonJob), 0);
    ASSERT_TRUE(platform::LaunchJobRecord::read("com.test.harbor.helper"));
    // Another application's helper and daemon, in the same folders.
    const std::string otherTool = fixtures::copyExecutable(tree.at("/Library/PrivilegedHelperTools/com.test.other.helper"));
    const std::string otherJob = tree.at("/Library/LaunchDaemons/com.test.other.helper.plist");
    writeJob(otherJob, "com.test.other.helper", otherTool);

    const auto dry = asUser({"uninstall", "--dry-run", "Harbor"});
    ASSERT_EQ(dry.exitCode, 0) << dry.err;
    for (const auto& expected : {tool, daemonJob, receipt, bundle})
        EXPECT_NE(dry.out.find("  " + expected + "\n"), std::string::npos) << expected << "\n" << dry.out;

    const auto result = asUser({"uninstall", "--yes", "Harbor"});
    EXPECT_EQ(result.exitCode, 0) << result.out << result.err;
    EXPECT_FALSE(platform::LaunchJobRecord::read("com.test.harbor.helper"));
    for (const auto& gone : {tool, daemonJob, receipt, bundle})
        EXPECT_FALSE(platform::fs::linkStatus(gone)) << gone;
    // Root's helper and its job lie in the user's Trash, still root's.
    const auto inTrash = platform::fs::linkStatus(tree.at("~/.Trash/com.test.harbor.helper.plist"));
    ASSERT_TRUE(inTrash);
    EXPECT_EQ(inTrash->st_uid, 0u);
    EXPECT_TRUE(platform::fs::linkStatus(tree.at("~/.Trash/com.test.harbor.helper")));
    EXPECT_TRUE(platform::fs::exists(otherTool));
    EXPECT_TRUE(platform::fs::exists(otherJob));
}

// Two applications to the Trash and back, as the user, through the daemon for what is root's: one
// with a loaded launch daemon and root's per-user cache, one of the demo Mac with a launch agent.
TEST_F(RealLayoutUninstallTest, TwoApplicationsGoToTheTrashAndComeBackAsTheyWere)
{
    const std::string bundle = addTidePool();
    const std::string helperJob = tree.at("/Library/LaunchDaemons/com.test.tidepool.helper.plist");
    const std::string agentJob = tree.at("~/Library/LaunchAgents/com.test.tidepool.agent.plist");
    const std::string support = tree.at("/Library/Application Support/com.test.tidepool");
    tree.writeFile(support + "/tunnels.conf", "root's settings");
    ::chmod((support + "/tunnels.conf").c_str(), 0600);
    ::setxattr((support + "/tunnels.conf").c_str(), "user.origin", "installer", 9, 0);
    // The user's launchctl keeps its records beside root's.
    ::chmod(platform::LaunchJobRecord::folder().c_str(), 01777);
    const auto before = listing();

    const auto removed = asUser({"uninstall", "--yes", "Tide Pool", "Lumen Notes"});
    ASSERT_EQ(removed.exitCode, 0) << removed.out << removed.err;
    EXPECT_NE(removed.out.find("to the Trash; emptying the Trash frees the space"), std::string::npos) << removed.out;
    EXPECT_FALSE(platform::LaunchJobRecord::read("com.test.tidepool.helper"));
    for (const auto& gone : {bundle, helperJob, support, tree.at("/Applications/Lumen Notes.app")})
        EXPECT_FALSE(platform::fs::linkStatus(gone)) << gone;
    const auto supportInTrash = platform::fs::linkStatus(tree.at("~/.Trash/com.test.tidepool/tunnels.conf"));
    ASSERT_TRUE(supportInTrash);
    EXPECT_EQ(supportInTrash->st_uid, 0u);
    const auto listedWhileGone = asUser({"list"});
    EXPECT_EQ(listedWhileGone.out.find("Tide Pool"), std::string::npos);

    EXPECT_FALSE(platform::LaunchJobRecord::read("com.test.tidepool.agent"));
    const auto restored = asUser({"restore", "--yes", "--last"});
    // What their removal stopped runs again: root's job loaded by the daemon, the agent by the user.
    const auto loader = [](const std::string& label, const std::string& jobPath) -> long {
        const auto record = plist::readDictionary(platform::LaunchJobRecord::pathFor(label));
        const auto number = [&](const char* key) {
            const auto* value = record ? plist::find(*record, key) : nullptr;
            return value && value->get<std::int64_t>() ? *value->get<std::int64_t>() : -1;
        };
        std::string why;
        if (!record || plist::stringValue(*record, "Path") != platform::SystemLinks::resolveParents(jobPath, why).value_or("") ||
            number("Supervisor") <= 0 || ::kill(static_cast<pid_t>(number("Supervisor")), 0) != 0)
            return -1;
        return static_cast<long>(number("UID"));
    };
    EXPECT_EQ(loader("com.test.tidepool.helper", helperJob), 0);
    EXPECT_EQ(loader("com.test.tidepool.agent", agentJob), static_cast<long>(fixtures::unprivilegedUid()));
    EXPECT_FALSE(platform::fs::linkStatus(platform::LaunchJobRecord::pathFor("com.test.tidepool.idle")));
    fixtures::runProcess({"/usr/bin/setpriv", "--reuid=" + std::to_string(fixtures::unprivilegedUid()),
                          "--regid=" + std::to_string(fixtures::unprivilegedGid()), "--clear-groups", OSTROVA_LAUNCHCTL_PATH,
                          "remove", "com.test.tidepool.agent"});
    ASSERT_EQ(restored.exitCode, 0) << restored.out << restored.err;
    EXPECT_NE(restored.out.find("Loaded again (2)"), std::string::npos) << restored.out;
    const auto after = listing();
    for (const auto& [path, entry] : before) {
        const auto found = after.find(path);
        if (found == after.end())
            ADD_FAILURE() << "not back: " << path;
        else
            EXPECT_EQ(found->second, entry) << "changed: " << path;
    }
    for (const auto& [path, entry] : after)
        EXPECT_TRUE(before.count(path)) << "new: " << path;
    const auto listed = asUser({"list"});
    EXPECT_NE(listed.out.find("Tide Pool"), std::string::npos) << listed.out;
    EXPECT_NE(listed.out.find("Lumen Notes"), std::string::npos) << listed.out;
}

TEST_F(RealLayoutUninstallTest, TheBuildsToolIsTheBundlesTool)
{
    // bin/ostrova links to the bundle's tool: same bundle, same launchctl, same listing.
    const std::string built = std::string(OSTROVA_BUILT_CLI_PATH);
    struct stat st {};
    ASSERT_EQ(::lstat(built.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    const auto viaBin = fixtures::runProcess({built, "uninstall", "--dry-run", "Lumen Notes"});
    const auto viaBundle = fixtures::runProcess({std::string(OSTROVA_CLI_PATH), "uninstall", "--dry-run", "Lumen Notes"});
    EXPECT_EQ(viaBin.exitCode, 0) << viaBin.err;
    EXPECT_EQ(viaBin.out, viaBundle.out);
    EXPECT_FALSE(viaBin.out.empty());
}

}  // namespace
