// The remains of gone applications removed by the bundle's command-line tool, run as an
// unprivileged user, through the real daemon: the root's launch daemon of the gone application (the
// one that runs a program of its bundle, or its privileged helper) is unloaded, then exactly its
// remains go, root's included.
#include "daemon/tests/DaemonFixture.h"
#include "fixtures/PathsBelow.h"
#include "fixtures/RemainsTree.h"
#include "platform/FileSystem.h"
#include "platform/LaunchJobRecord.h"

namespace {

class LeftoversThroughDaemonTest : public ToolThroughDaemonFixture {
protected:
    void SetUp() override
    {
        if (::geteuid() != 0)
            GTEST_SKIP() << "the daemon runs as root";
        tree.activate();
        remains = std::make_unique<fixtures::RemainsTree>(tree);
        giveFoldersToUser();
        startDaemon();
    }
    void TearDown() override
    {
        daemon.reset();
        fixtures::stopEveryJob(tree.root(), OSTROVA_LAUNCHCTL_PATH);
    }
    bool loaded(const std::string& label) const
    {
        const auto record = platform::LaunchJobRecord::read(label);
        return record && record->loaded();
    }

    std::unique_ptr<fixtures::RemainsTree> remains;
};

TEST_F(LeftoversThroughDaemonTest, TheLaunchDaemonIsUnloadedAndExactlyTheRemainsGo)
{
    const std::string identifier = "org.lanternworks.beacon";
    const auto& chosen = remains->truth.at(identifier);
    // The application ran its helper as root's launch daemon and was dragged away while it ran.
    const std::string bundle = tree.at("/Applications/Beacon.app");
    fixtures::copyExecutable(remains->goneDaemonProgram);
    ASSERT_EQ(load(remains->goneDaemonJob), 0);
    ASSERT_TRUE(loaded(remains->goneDaemonLabel));
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
    EXPECT_FALSE(loaded(remains->goneDaemonLabel));

    const auto listed = asUser({"leftovers"});
    ASSERT_EQ(listed.exitCode, 0) << listed.err;
    EXPECT_EQ(listed.out.find(identifier), std::string::npos) << listed.out;
    EXPECT_NE(listed.out.find("(com.driftwood.tally)"), std::string::npos) << listed.out;
}

TEST_F(LeftoversThroughDaemonTest, AGoneApplicationsPrivilegedHelperIsUnloadedThenTakenWithItsJob)
{
    // The helper still runs as root's launch daemon after its application was dragged away.
    fixtures::copyExecutable(remains->goneHelper);
    ASSERT_EQ(load(remains->goneHelperJob), 0);
    ASSERT_TRUE(loaded(remains->goneHelperLabel));

    const auto before = fixtures::pathsBelow(tree.root(), tree.at("/private/var/run"));
    const auto result = asUser({"leftovers", "--remove", "com.driftwood.tally", "--yes"});
    EXPECT_EQ(result.exitCode, 0) << result.out << result.err;
    EXPECT_FALSE(loaded(remains->goneHelperLabel));
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
