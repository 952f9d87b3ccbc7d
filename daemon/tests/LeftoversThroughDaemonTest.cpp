// The remains of gone applications removed by the bundle's command-line tool, run as an
// unprivileged user, through the real daemon: the root's launch daemon of the gone application (the
// one that runs a program of its bundle, or its privileged helper) is unloaded, then exactly its
// remains go, root's included.
#include "fixtures/BackgroundProcess.h"
#include "fixtures/ChildProcess.h"
#include "fixtures/MacTree.h"
#include "fixtures/PathsBelow.h"
#include "fixtures/RemainsTree.h"
#include "fixtures/RunningDaemon.h"
#include "fixtures/Unprivileged.h"
#include "platform/FileSystem.h"
#include "platform/LaunchJobRecord.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>

namespace {

using namespace std::chrono_literals;

class LeftoversThroughDaemonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (::geteuid() != 0)
            GTEST_SKIP() << "the daemon runs as root";
        tree.activate();
        remains = std::make_unique<fixtures::RemainsTree>(tree);
        // The user's home, its Trash, the folders its removal records go to and its per-user
        // temporary and cache folders are the user's.
        for (const char* folder : {"~", "~/.Trash", "~/Library", "~/Library/Application Support", "/private/var/folders/ab/x1y2z3",
                                   "/private/var/folders/ab/x1y2z3/T", "/private/var/folders/ab/x1y2z3/C"}) {
            tree.makeDirectories(tree.at(folder));
            ::chown(tree.at(folder).c_str(), fixtures::unprivilegedUid(), fixtures::unprivilegedGid());
        }
        daemon = std::make_unique<fixtures::RunningDaemon>(tree, OSTROVA_DAEMON_PATH, OSTROVA_LAUNCHCTL_PATH);
        ASSERT_TRUE(daemon->isUp());
        cli = fixtures::copyExecutable(daemon->bundlePath() + "/Contents/Helpers/ostrova", OSTROVA_CLI_PATH);
    }
    void TearDown() override
    {
        daemon.reset();
        fixtures::stopEveryJob(tree.root(), OSTROVA_LAUNCHCTL_PATH);
    }

    fixtures::ProcessResult asUser(std::vector<std::string> words)
    {
        std::vector<std::string> argv = {"/usr/bin/setpriv", "--reuid=" + std::to_string(fixtures::unprivilegedUid()),
                                         "--regid=" + std::to_string(fixtures::unprivilegedGid()), "--clear-groups", cli};
        argv.insert(argv.end(), words.begin(), words.end());
        return fixtures::runProcess(argv, {{"HOME", tree.home()}, {"TMPDIR", tree.temporaryDirectory()}}, "", 120s);
    }

    fixtures::MacTree tree{"tester"};
    std::unique_ptr<fixtures::RemainsTree> remains;
    std::unique_ptr<fixtures::RunningDaemon> daemon;
    std::string cli;
};

TEST_F(LeftoversThroughDaemonTest, TheLaunchDaemonIsUnloadedAndExactlyTheRemainsGo)
{
    const std::string identifier = "org.lanternworks.beacon";
    const auto& chosen = remains->truth.at(identifier);
    // The application ran its helper as root's launch daemon and was dragged away while it ran.
    const std::string bundle = tree.at("/Applications/Beacon.app");
    fixtures::copyExecutable(remains->goneDaemonProgram);
    ASSERT_EQ(fixtures::runProcess({OSTROVA_LAUNCHCTL_PATH, "load", remains->goneDaemonJob}).exitCode, 0);
    const auto loaded = platform::LaunchJobRecord::read(remains->goneDaemonLabel);
    ASSERT_TRUE(loaded);
    ASSERT_TRUE(loaded->loaded());
    fixtures::MacTree::removeTree(bundle);

    const auto dry = asUser({"leftovers", "--remove", identifier, "--dry-run"});
    ASSERT_EQ(dry.exitCode, 0) << dry.err;
    for (const auto& path : chosen)
        EXPECT_NE(dry.out.find("  " + path + "\n"), std::string::npos) << path << "\n" << dry.out;

    const auto before = fixtures::pathsBelow(tree.root(), tree.at("/private/var/run"));
    const auto result = asUser({"leftovers", "--remove", identifier, "--yes"});
    EXPECT_EQ(result.exitCode, 0) << result.out << result.err;
    const auto after = fixtures::pathsBelow(tree.root(), tree.at("/private/var/run"));
    const std::string trash = tree.at("~/.Trash/");
    for (const auto& path : after)
        EXPECT_TRUE(before.count(path) || path.rfind(trash, 0) == 0 || path.find("/Application Support/Ostrova") != std::string::npos ||
                    path.rfind(tree.at("/private/var/db"), 0) == 0)
            << "new: " << path;
    // Every remain lies in the user's Trash now, root's launch daemon job still root's.
    for (const auto& item : chosen)
        EXPECT_TRUE(after.count(trash + item.substr(item.rfind('/') + 1))) << item;
    const auto job = platform::fs::linkStatus(trash + remains->goneDaemonJob.substr(remains->goneDaemonJob.rfind('/') + 1));
    ASSERT_TRUE(job);
    EXPECT_EQ(job->st_uid, 0u);
    for (const auto& path : before) {
        bool remain = false;
        for (const auto& item : chosen)
            remain = remain || path == item || path.rfind(item + "/", 0) == 0;
        EXPECT_EQ(after.count(path) == 0, remain) << path;
    }
    const auto record = platform::LaunchJobRecord::read(remains->goneDaemonLabel);
    EXPECT_FALSE(record && record->loaded());

    const auto listed = asUser({"leftovers"});
    ASSERT_EQ(listed.exitCode, 0) << listed.err;
    EXPECT_EQ(listed.out.find(identifier), std::string::npos) << listed.out;
    EXPECT_NE(listed.out.find("(com.driftwood.tally)"), std::string::npos) << listed.out;
}

TEST_F(LeftoversThroughDaemonTest, AGoneApplicationsPrivilegedHelperIsUnloadedThenTakenWithItsJob)
{
    // The helper still runs as root's launch daemon after its application was dragged away.
    fixtures::copyExecutable(remains->goneHelper);
    ASSERT_EQ(fixtures::runProcess({OSTROVA_LAUNCHCTL_PATH, "load", remains->goneHelperJob}).exitCode, 0);
    const auto loaded = platform::LaunchJobRecord::read(remains->goneHelperLabel);
    ASSERT_TRUE(loaded && loaded->loaded());

    const auto before = fixtures::pathsBelow(tree.root(), tree.at("/private/var/run"));
    const auto result = asUser({"leftovers", "--remove", "com.driftwood.tally", "--yes"});
    EXPECT_EQ(result.exitCode, 0) << result.out << result.err;
    const auto record = platform::LaunchJobRecord::read(remains->goneHelperLabel);
    EXPECT_FALSE(record && record->loaded());
    const auto after = fixtures::pathsBelow(tree.root(), tree.at("/private/var/run"));
    for (const auto& path : remains->truth.at("com.driftwood.tally"))
        EXPECT_FALSE(after.count(path)) << path;
    // Both went to the user's Trash as root's, through the daemon.
    for (const auto& path : {remains->goneHelper, remains->goneHelperJob}) {
        const auto taken = platform::fs::linkStatus(tree.at("~/.Trash/") + path.substr(path.rfind('/') + 1));
        ASSERT_TRUE(taken) << path;
        EXPECT_EQ(taken->st_uid, 0u) << path;
    }
    // Helpers that installed software runs or declares stay where they are.
    for (const auto& trap : remains->traps)
        EXPECT_EQ(after.count(trap), before.count(trap)) << trap;
}

}  // namespace
