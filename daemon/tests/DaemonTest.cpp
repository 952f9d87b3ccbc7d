#include "daemon/tests/DaemonFixture.h"
#include "fixtures/BackgroundProcess.h"
#include "fixtures/ChildProcess.h"
#include "fixtures/Eventually.h"
#include "platform/FileSystem.h"
#include "platform/LaunchJobRecord.h"
#include "system/Utility.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

namespace {

using namespace std::chrono_literals;
namespace fs = platform::fs;

using DaemonTest = DaemonFixture;

TEST_F(DaemonTest, AnswersAndSurvivesMalformedMessages)
{
    ASSERT_TRUE(answers()) << daemonLog();
    EXPECT_TRUE(served({"test"}));
    EXPECT_TRUE(Utility::ProcessIsRunning("OstrovaDaemon"));
    EXPECT_NE(call({"raw-garbage"}).find("closed"), std::string::npos);
    EXPECT_NE(call({"raw-oversized"}).find("closed"), std::string::npos);
    EXPECT_TRUE(answers());
    EXPECT_NE(daemonLog().find("malformed request"), std::string::npos);
}

TEST_F(DaemonTest, RemovesWhatTheUserCannotAndNothingOutsideItsPlaces)
{
    EXPECT_TRUE(served({"remove"}));
    const std::string owned = tree->at("~/Library/Application Support/Root Owned");
    file(owned + "/data.bin");
    ::chmod(owned.c_str(), 0755);
    EXPECT_TRUE(served({"remove", tree->at("~/Library/Caches/never-was"), owned}));
    EXPECT_FALSE(fs::linkStatus(owned));

    const std::string outside = file(tree->at("/etc/keep.conf")), inside = file(tree->at("~/Library/Caches/com.vendor.x"));
    tree->symlink(tree->at("/etc"), tree->at("~/Library/Caches/linked"));
    for (const std::string& path : {outside, tree->root(), tree->at("/Applications"), tree->at("/Library"),
                                    tree->at("~/Library/Caches"), tree->at("~/Library/Caches/*"),
                                    tree->at("~/Library/Caches/linked/keep.conf"), tree->at("~/Library/Caches/../Caches/x"),
                                    std::string("relative/path")}) {
        EXPECT_TRUE(refused({"remove", path})) << path;
        EXPECT_TRUE(refused({"unload", path})) << path;
    }
    EXPECT_TRUE(fs::exists(outside));
    EXPECT_TRUE(fs::exists(inside));
    EXPECT_NE(daemonLog().find("refused to remove " + outside), std::string::npos);
    EXPECT_TRUE(refused({"kill-bundle", "/"}));
    EXPECT_TRUE(refused({"kill-bundle", tree->at("/Applications")}));

    // A home that is not the client's own gives it nothing; nor does the temporary folder, root's here.
    const std::string other = tree->at("/Users/other"), theirs = file(other + "/Library/Caches/com.vendor.theirs");
    EXPECT_TRUE(replied(call({"remove", theirs}, app, true, other), false));
    EXPECT_TRUE(fs::exists(theirs));
    const std::string temporary = file(tree->temporaryDirectory() + "leftover");
    EXPECT_TRUE(refused({"remove", temporary}));
    EXPECT_TRUE(fs::exists(temporary));
}

TEST_F(DaemonTest, RefusesOtherClients)
{
    // Another program, run by another user.
    EXPECT_TRUE(replied(call({"test"}, stranger), false));
    const std::string target = file(tree->at("~/Library/Caches/com.vendor.refused"));
    const std::string victim = fixtures::copyExecutable(tree->at("/Applications/Refused.app/Contents/MacOS/Refused"));
    fixtures::BackgroundProcess running({victim, "60"});
    ASSERT_TRUE(running.waitUntilRunning(victim));
    const std::vector<std::vector<std::string>> operations = {
        {"remove", target}, {"unload", target}, {"kill-executable", victim, "Refused"},
        {"kill-bundle", tree->at("/Applications/Refused.app")}};
    for (const auto& operation : operations) {
        EXPECT_TRUE(dropped(operation, stranger)) << operation[0];
        // The app's executable that connects and then becomes another program.
        std::vector<std::string> execed = {"--exec-after-connect", stranger};
        execed.insert(execed.end(), operation.begin(), operation.end());
        EXPECT_TRUE(dropped(execed)) << operation[0];
    }
    EXPECT_TRUE(fs::exists(target));
    EXPECT_FALSE(running.ended(100));
    EXPECT_NE(daemonLog().find("refused the client"), std::string::npos);
    // Root is served whatever it runs.
    EXPECT_TRUE(replied(call({"remove", target}, stranger, false), true));
}

TEST_F(DaemonTest, TheLoginItemOfTheBundleIsServedAndNoOtherAgent)
{
    const std::string target = file(tree->at("~/Library/Caches/com.vendor.agent"));
    const auto agentAt = [](const std::string& path) { return fixtures::copyExecutable(path, OSTROVA_CLIENT_PATH); };
    // The same program, named as the agent but outside the bundle's login items.
    EXPECT_TRUE(replied(call({"test"}, agentAt(bundle + "/Contents/Library/LoginItems/other.app/Contents/MacOS/agent")), false));
    const std::string outside = agentAt(tree->at("/Applications/Agent.app/Contents/Library/LoginItems/agent.app/Contents/MacOS/agent"));
    EXPECT_TRUE(dropped({"remove", target}, outside));
    EXPECT_TRUE(fs::exists(target));
    const std::string agent = agentAt(bundle + "/Contents/Library/LoginItems/agent.app/Contents/MacOS/agent");
    EXPECT_TRUE(replied(call({"remove", target}, agent), true));
    EXPECT_FALSE(fs::linkStatus(target));
}

TEST_F(DaemonTest, UnloadsJobsAndKeepsThoseStillRunning)
{
    // A job whose program does not exist: unloaded and its file removed.
    const std::string gone = writeJob(tree->at("/Library/LaunchAgents/com.vendor.gone.plist"), "com.vendor.gone", tree->at("/nothing"), {});
    ASSERT_EQ(launchctl("load", gone), 0);
    EXPECT_TRUE(served({"unload", gone}));
    EXPECT_FALSE(fs::linkStatus(gone));

    // A job whose program keeps running after the unload (another copy of it runs); then no longer
    // loaded, but its program still runs: the file stays both times.
    const std::string program = fixtures::copyExecutable(tree->at("/Applications/Keeper.app/Contents/MacOS/keeper"));
    const std::string kept = writeJob(tree->at("/Library/LaunchAgents/com.vendor.keeper.plist"), "com.vendor.keeper", program);
    ASSERT_EQ(launchctl("load", kept), 0);
    fixtures::BackgroundProcess other({program, "60"});
    ASSERT_TRUE(other.waitUntilRunning(program));
    for (int time = 0; time < 2; ++time) {
        EXPECT_TRUE(refused({"unload", kept})) << time;
        EXPECT_TRUE(fs::exists(kept)) << time;
    }

    // Never loaded and nothing of it runs: nothing to stop, and the file goes.
    const std::string idle = writeJob(tree->at("/Library/LaunchAgents/com.vendor.idle.plist"), "com.vendor.idle", tree->at("/nothing"), {});
    EXPECT_TRUE(served({"unload", idle}));
    EXPECT_FALSE(fs::linkStatus(idle));
}

TEST_F(DaemonTest, LaunchctlUnloadsAJobOnlyFromTheFileItWasLoadedFrom)
{
    const std::string program = fixtures::copyExecutable(tree->at("/Applications/Twin.app/Contents/MacOS/twin"));
    const std::string original = writeJob(tree->at("/Library/LaunchAgents/com.vendor.twin.plist"), "com.vendor.twin", program);
    const std::string twin = writeJob(tree->at("~/Library/LaunchAgents/com.vendor.twin.plist"), "com.vendor.twin", program);
    ASSERT_EQ(launchctl("load", original), 0);
    const auto record = platform::LaunchJobRecord::read("com.vendor.twin");
    ASSERT_TRUE(record);
    EXPECT_EQ(record->path, original);
    EXPECT_EQ(record->loader, ::getuid());
    EXPECT_TRUE(record->loaded());

    // Another file with the same label, and the same path holding another file, do not unload it
    // (its job is not loaded from them, so there is nothing to stop).
    EXPECT_EQ(launchctl("unload", twin), 0);
    ::rename(original.c_str(), (original + ".kept").c_str());
    writeJob(original, "com.vendor.twin", program);
    EXPECT_EQ(launchctl("unload", original), 0);
    EXPECT_TRUE(loaded("com.vendor.twin"));
    ::rename((original + ".kept").c_str(), original.c_str());
    EXPECT_EQ(launchctl("unload", original), 0);
    EXPECT_FALSE(platform::LaunchJobRecord::read("com.vendor.twin"));

    // remove takes a label, and only a label.
    ASSERT_EQ(launchctl("load", original), 0);
    EXPECT_EQ(launchctl("remove", "../launchd/com.vendor.twin"), 113);
    EXPECT_EQ(launchctl("remove", "com.vendor.twin"), 0);
    EXPECT_FALSE(platform::LaunchJobRecord::read("com.vendor.twin"));
}

TEST_F(DaemonTest, EndsTheProcessesOfABundle)
{
    const std::string victim = fixtures::copyExecutable(tree->at("/Applications/Victim.app/Contents/MacOS/Victim"));
    EXPECT_TRUE(refused({"kill-bundle", tree->at("/Applications/Victim.app")}));
    EXPECT_TRUE(refused({"kill-executable", tree->at("/Applications/Victim.app/Contents/MacOS/Missing"), "Missing"}));
    for (const std::vector<std::string>& operation :
         {std::vector<std::string>{"kill-bundle", tree->at("/Applications/Victim.app")}, {"kill-executable", victim, "Victim"}}) {
        fixtures::BackgroundProcess running({victim, "60"});
        ASSERT_TRUE(running.waitUntilRunning(victim));
        EXPECT_TRUE(served(operation)) << operation[0];
        EXPECT_TRUE(running.ended(5000)) << operation[0];
    }
}

TEST_F(DaemonTest, LaunchctlStartsAFailedJobAgain)
{
    // A program that fails at once: KeepAlive {SuccessfulExit = false} starts it again.
    const std::string counter = tree->at("/runs.log");
    const std::string script = file(tree->at("/usr/local/bin/failing"), "#!/bin/sh\necho run >> '" + counter + "'\nexit 1\n");
    ::chmod(script.c_str(), 0755);
    const std::string failing = tree->at("/Library/LaunchAgents/com.test.failing.plist");
    tree->writePlist(failing, plist::Value(plist::Dictionary{{"Label", "com.test.failing"},
                                                             {"KeepAlive", plist::Dictionary{{"SuccessfulExit", false}}},
                                                             {"ProgramArguments", plist::Array{plist::Value(script)}}}));
    ASSERT_EQ(launchctl("load", failing), 0);
    const auto runs = [&] {
        const auto log = fs::readFile(counter).value_or("");
        return std::count(log.begin(), log.end(), '\n');
    };
    EXPECT_TRUE(fixtures::eventually([&] { return runs() >= 2; }, 20s)) << runs() << " run(s)";
    ASSERT_EQ(launchctl("unload", failing), 0);

    EXPECT_NE(fixtures::runProcess({OSTROVA_LAUNCHCTL_PATH, "load", job}).err.find("service already loaded"), std::string::npos);
    EXPECT_NE(launchctl("load", tree->at("/nothing.plist")), 0);
    EXPECT_EQ(fixtures::runProcess({OSTROVA_LAUNCHCTL_PATH, "frobnicate"}).exitCode, 64);
}

TEST_F(DaemonTest, StopsOnUnloadAndComesBackOnLoad)
{
    ASSERT_EQ(launchctl("unload", job), 0);
    EXPECT_TRUE(fixtures::eventually([&] { return !answers(); }));
    EXPECT_NE(call({"test"}).find("reply=0"), std::string::npos);
    // Unloading what is not loaded stops nothing and is no failure.
    const auto again = fixtures::runProcess({OSTROVA_LAUNCHCTL_PATH, "unload", job});
    EXPECT_EQ(again.exitCode, 0);
    EXPECT_NE(again.err.find("Could not find specified service"), std::string::npos);
    ASSERT_EQ(fixtures::runProcess({OSTROVA_LAUNCHCTL_PATH, "load", "-w", job}).exitCode, 0);
    EXPECT_TRUE(fixtures::eventually([&] { return answers(); }));
}

}  // namespace
