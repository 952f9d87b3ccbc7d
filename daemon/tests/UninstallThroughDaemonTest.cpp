// The command-line tool of the bundle, run by an unprivileged user, removes an application whose
// files belong to root, through the real daemon started by launchctl.
#include "daemon/tests/DaemonFixture.h"
#include "fixtures/FileFlags.h"
#include "fixtures/TestAuthority.h"
#include "platform/FileSystem.h"
#include "platform/ProcessTable.h"

#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>

#include <algorithm>
#include <iostream>
#include <thread>

namespace {

using namespace std::chrono_literals;

class UninstallThroughDaemonTest : public ToolThroughDaemonFixture {
protected:
    void SetUp() override
    {
        if (::geteuid() != 0)
            GTEST_SKIP() << "the daemon runs as root";
        tree.activate();
        ::chmod(tree.root().c_str(), 0755);
        ::chown(tree.home().c_str(), fixtures::unprivilegedUid(), fixtures::unprivilegedGid());
        startDaemon();

        fixtures::AppBlueprint victim;
        victim.name = "Victim Pro";
        victim.identifier = "com.test.victim";
        victim.executable = "VictimPro";
        bundle = tree.addApp("/Applications", victim);
        executable = fixtures::copyExecutable(bundle + "/Contents/MacOS/VictimPro");
        agent = tree.at("~/Library/LaunchAgents/com.test.victim.agent.plist");
        writeJob(agent, "com.test.victim.agent", fixtures::copyExecutable(bundle + "/Contents/Library/LaunchServices/com.test.victim.agent"));
        ASSERT_EQ(load(agent), 0);
        support = tree.at("~/Library/Application Support/Victim Pro");
        cache = tree.at("~/Library/Caches/com.test.victim");
        logs = tree.at("~/Library/Logs/Victim Pro");
        for (const auto& file : {support + "/state.db", cache + "/blob", logs + "/locked.log"})
            tree.writeFile(file, "x");
        ASSERT_TRUE(fixtures::setImmutable(logs + "/locked.log", true));
    }

    void TearDown() override
    {
        if (::geteuid() != 0)
            return;
        if (HasFailure())
            std::cerr << "daemon log:\n" << platform::fs::readFile(tree.at("/daemon.log")).value_or("") << "\n";
        fixtures::setImmutable(logs + "/locked.log", false);
        fixtures::runProcess({OSTROVA_LAUNCHCTL_PATH, "unload", agent});
        daemon.reset();
    }

    fixtures::ProcessResult uninstall(std::vector<std::string> words)
    {
        words.insert(words.begin(), "uninstall");
        return asUser(words);
    }

    std::string bundle, executable, agent, support, cache, logs;
};

// A running application is left alone without a yes to quit it, and quit with one.
TEST_F(UninstallThroughDaemonTest, QuitsUnloadsAndRemovesWhatTheUserCannot)
{
    fixtures::BackgroundProcess running({executable, "60"});
    ASSERT_TRUE(running.waitUntilRunning(executable));
    const auto alone = uninstall({"--yes", "Victim Pro"});
    EXPECT_EQ(alone.exitCode, 1) << alone.out << alone.err;
    EXPECT_NE(alone.err.find("is running and was left alone"), std::string::npos) << alone.err;
    EXPECT_EQ(alone.err.find("Removing 1/1"), std::string::npos);
    EXPECT_FALSE(running.ended(200));
    EXPECT_TRUE(platform::fs::exists(bundle));
    EXPECT_TRUE(platform::fs::exists(support));

    // Deleted at once: the folder holding a file nobody may remove stays (a move to the Trash
    // would take the folder whole).
    const auto result = uninstall({"--yes", "--delete", "--force-quit", "Victim Pro"});
    EXPECT_EQ(result.exitCode, 1) << result.out << result.err;
    EXPECT_TRUE(running.ended(5000));
    EXPECT_NE(result.err.find("Removing 1/1"), std::string::npos);
    EXPECT_FALSE(platform::fs::linkStatus(bundle));
    EXPECT_FALSE(platform::fs::linkStatus(support));
    EXPECT_FALSE(platform::fs::linkStatus(cache));
    // The launch agent was unloaded before its file went.
    EXPECT_FALSE(platform::fs::linkStatus(agent));
    EXPECT_FALSE(platform::fs::linkStatus(tree.at("/var/run/launchd/com.test.victim.agent.job")));
    // The only leftover is the folder holding the file nobody may remove.
    const auto leftovers = result.out.substr(result.out.find("Left over"));
    EXPECT_NE(leftovers.find(logs), std::string::npos) << result.out;
    EXPECT_EQ(std::count(leftovers.begin(), leftovers.end(), '\n'), 2) << leftovers;
    EXPECT_TRUE(platform::fs::exists(logs + "/locked.log"));
}

TEST_F(UninstallThroughDaemonTest, ADaemonStoppedMidwayLeavesLeftoversAndNoHang)
{
    // A large folder only the daemon can remove; it is stopped once it has begun.
    const std::string big = support + "/Big";
    for (int d = 0; d < 200; ++d)
        for (int f = 0; f < 150; ++f)
            tree.writeFileOfSize(big + "/d" + std::to_string(d) + "/f" + std::to_string(f), 1);
    fixtures::ProcessResult result;
    const auto start = std::chrono::steady_clock::now();
    std::thread removal([&] { result = uninstall({"--yes", "--delete", "--keep", "daemon", "Victim Pro"}); });
    bool stopped = false;
    while (!stopped && std::chrono::steady_clock::now() - start < 60s) {
        const auto folders = platform::fs::listDirectory(big);
        if (folders && folders->size() < 200) {
            fixtures::runProcess({OSTROVA_LAUNCHCTL_PATH, "unload", daemon->jobPath()});
            stopped = true;
        }
        std::this_thread::sleep_for(2ms);
    }
    removal.join();
    EXPECT_TRUE(stopped);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 60s);
    EXPECT_EQ(result.exitCode, 1) << result.out << result.err;
    EXPECT_TRUE(platform::fs::exists(big));
    EXPECT_NE(result.out.find("Left over"), std::string::npos);
    EXPECT_NE(result.out.substr(result.out.find("Left over")).find(support), std::string::npos) << result.out;
}

// Where the system's authority does not grant the administrator's right, what lies outside the
// user's home stays, and the tool says why; the user's own items still go.
TEST_F(UninstallThroughDaemonTest, WithoutTheAdministratorsPasswordTheSystemsItemsStayAndItIsSaid)
{
    fixtures::TestAuthority::shared().answer(platform::ProcessTable::loginName(fixtures::unprivilegedUid()).value_or("nobody"), "no");
    const std::string shared = tree.at("/Library/Application Support/Victim Pro");
    tree.writeFile(shared + "/license", "x");
    const auto result = uninstall({"--yes", "--keep", "daemon", "Victim Pro"});
    EXPECT_EQ(result.exitCode, 1) << result.out << result.err;
    EXPECT_NE(result.out.find("An administrator's password was not given"), std::string::npos) << result.out;
    EXPECT_TRUE(platform::fs::exists(shared + "/license"));
    EXPECT_TRUE(platform::fs::exists(bundle));
    EXPECT_FALSE(platform::fs::linkStatus(support));
    EXPECT_NE(result.out.find(shared), std::string::npos) << result.out;
}

// On a terminal the tool lets the system ask for the administrator's password (polkit's text agent,
// for the tool's own process): a wrong password leaves the system's items and says so, the right
// one lets them go.
TEST_F(UninstallThroughDaemonTest, OnATerminalTheSystemAsksForTheAdministratorsPassword)
{
    if (!platform::fs::exists("/usr/bin/pkttyagent"))
        GTEST_SKIP() << "polkit's text agent is not installed";
    auto& authority = fixtures::TestAuthority::shared();
    const uid_t typist = authority.addUser("ostrova-typist", tree.home(), true, "right horse");
    ASSERT_NE(typist, static_cast<uid_t>(-1));
    authority.answer("ostrova-typist", "ask");
    ASSERT_EQ(::chown(tree.home().c_str(), typist, typist), 0);
    const std::string shared = tree.at("/Library/Application Support/Victim Pro");
    tree.writeFile(shared + "/license", "x");

    const auto echoing = [](int terminal) {
        termios mode{};
        return ::tcgetattr(terminal, &mode) == 0 && (mode.c_lflag & ECHO) != 0;
    };
    const auto typed = [&](const std::string& password) {
        int terminal = -1;
        const pid_t child = ::forkpty(&terminal, nullptr, nullptr, nullptr);
        if (child == 0) {
            if (::setgid(typist) != 0 || ::setuid(typist) != 0)
                ::_exit(126);
            ::setenv("HOME", tree.home().c_str(), 1);
            ::setenv("TMPDIR", tree.temporaryDirectory().c_str(), 1);
            ::execl(cli.c_str(), cli.c_str(), "uninstall", "--yes", "--keep", "daemon", "Victim Pro", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        std::string out;
        std::size_t answered = 0;
        const auto deadline = std::chrono::steady_clock::now() + 90s;
        while (std::chrono::steady_clock::now() < deadline) {
            pollfd ready{terminal, POLLIN, 0};
            if (::poll(&ready, 1, 200) <= 0)
                continue;
            char buffer[512];
            const ssize_t got = ::read(terminal, buffer, sizeof buffer);
            if (got <= 0)
                break;
            out.append(buffer, static_cast<std::size_t>(got));
            // Each prompt gets the password once.
            std::size_t seen = 0;
            for (auto at = out.find("Password:"); at != std::string::npos; at = out.find("Password:", at + 1))
                ++seen;
            while (answered < seen && answered < 3) {
                // Typed once the agent reads without echo: what comes before is flushed away.
                for (int i = 0; i < 100 && echoing(terminal); ++i)
                    std::this_thread::sleep_for(20ms);
                const std::string line = password + "\n";
                (void)!::write(terminal, line.data(), line.size());
                ++answered;
            }
        }
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ::close(terminal);
        return std::make_pair(out, answered);
    };

    const auto [refused, askedOnce] = typed("wrong horse");
    EXPECT_GE(askedOnce, 1u) << refused;
    EXPECT_NE(refused.find("An administrator's password was not given"), std::string::npos) << refused;
    EXPECT_TRUE(platform::fs::exists(shared + "/license"));
    EXPECT_TRUE(platform::fs::exists(bundle));

    const auto [granted, askedAgain] = typed("right horse");
    EXPECT_GE(askedAgain, 1u) << granted;
    EXPECT_EQ(granted.find("An administrator's password was not given"), std::string::npos) << granted;
    EXPECT_FALSE(platform::fs::linkStatus(shared)) << granted;
    EXPECT_FALSE(platform::fs::linkStatus(bundle)) << granted;
}

}  // namespace
