#pragma once

#include "fixtures/BackgroundProcess.h"
#include "fixtures/ChildProcess.h"
#include "fixtures/MacTree.h"
#include "fixtures/RunningDaemon.h"
#include "fixtures/Unprivileged.h"

#include <gtest/gtest.h>

#include <sys/types.h>
#include <unistd.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// One real daemon per test suite, started through our launchctl from a job file in a temporary
// system root, as launchd would start it, under a 1024-descriptor limit; its standard output is
// kept for the log checks. Clients are the test client (daemon/tests/ServiceClient.cpp) copied
// into the bundle as its Ostrova executable, run as the unprivileged user unless said otherwise.
class DaemonFixture : public ::testing::Test {
protected:
    // Starts the daemon with polkit answering the unprivileged user `answer` ("yes", "no", "ask")
    // for the product's rights.
    static void startDaemon(const std::string& answer);
    static void SetUpTestSuite();  // the unprivileged user is granted the rights
    static void TearDownTestSuite();

    static bool answers();
    // Runs the test client: as the bundle's app (by default) or another program, as another user.
    static std::string call(std::vector<std::string> words, const std::string& program = app, bool unprivileged = true,
                            const std::string& home = "", const std::map<std::string, std::string>& environment = {});
    static bool replied(const std::string& output, bool value);
    // Whether the client's call of `words` (as the unprivileged user) was answered yes or no.
    static bool served(const std::vector<std::string>& words) { return replied(call(words), true); }
    static bool refused(const std::vector<std::string>& words) { return replied(call(words), false); }
    // Whether the call got no answer at all: the connection was closed on the client.
    static bool dropped(const std::vector<std::string>& words, const std::string& program = app)
    {
        return call(words, program).find("noreply") != std::string::npos;
    }
    // Writes a file of root's; its path.
    static std::string file(const std::string& path, const std::string& content = "x");
    // Sends ready-made bytes as root on a new connection; the reply, or nullopt when none came.
    static std::optional<bool> sendRaw(const std::string& bytes);
    static std::string daemonLog();
    // A job file that runs `program` with `arguments`; its path.
    static std::string writeJob(const std::string& path, const std::string& label, const std::string& program,
                                const std::vector<std::string>& arguments = {"60"});
    static int launchctl(const std::string& verb, const std::string& path);  // its exit code
    static bool loaded(const std::string& label);
    static void giveToUser(const std::string& path);  // to the unprivileged user and its group
    static pid_t daemonPid();
    // A line of /proc/<daemon>/status ("VmHWM") in kB; -1 when unreadable.
    static long daemonStatusKb(const std::string& field);

    static fixtures::MacTree* tree;
    static fixtures::RunningDaemon* running;
    static std::string bundle, daemon, app, stranger, log, job;
};

// The same daemon where the system's authority refuses the unprivileged user every right.
class NonAdministratorDaemonTest : public DaemonFixture {
protected:
    static void SetUpTestSuite() { startDaemon("no"); }
};

#ifdef OSTROVA_CLI_PATH
// The bundle's command-line tool, run as the unprivileged user, against a daemon of the test's own tree.
class ToolThroughDaemonFixture : public ::testing::Test {
protected:
    // The home, its Trash, where the removal records go and the per-user temporary and cache folders
    // become the user's, as a Mac hands them out.
    void giveFoldersToUser()
    {
        for (const char* folder : {"~", "~/.Trash", "~/Library", "~/Library/Application Support", "/private/var/folders/ab/x1y2z3",
                                   "/private/var/folders/ab/x1y2z3/T", "/private/var/folders/ab/x1y2z3/C"}) {
            tree.makeDirectories(tree.at(folder));
            ::chown(tree.at(folder).c_str(), fixtures::unprivilegedUid(), fixtures::unprivilegedGid());
        }
    }
    void startDaemon()
    {
        daemon = std::make_unique<fixtures::RunningDaemon>(tree, OSTROVA_DAEMON_PATH, OSTROVA_LAUNCHCTL_PATH);
        ASSERT_TRUE(daemon->isUp());
        cli = fixtures::copyExecutable(daemon->bundlePath() + "/Contents/Helpers/ostrova", OSTROVA_CLI_PATH);
    }
    fixtures::ProcessResult asUser(std::vector<std::string> words) const
    {
        std::vector<std::string> argv = {"/usr/bin/setpriv", "--reuid=" + std::to_string(fixtures::unprivilegedUid()),
                                         "--regid=" + std::to_string(fixtures::unprivilegedGid()), "--clear-groups", cli};
        argv.insert(argv.end(), words.begin(), words.end());
        return fixtures::runProcess(argv, {{"HOME", tree.home()}, {"TMPDIR", tree.temporaryDirectory()}}, "", std::chrono::seconds(120));
    }
    static int load(const std::string& job) { return fixtures::runProcess({OSTROVA_LAUNCHCTL_PATH, "load", job}).exitCode; }
    // A job file that runs `program` for a minute.
    void writeJob(const std::string& path, const std::string& label, const std::string& program)
    {
        tree.writePlist(path, plist::Value(plist::Dictionary{{"Label", label},
                                                             {"ProgramArguments", plist::Array{plist::Value(program), plist::Value("60")}}}));
    }

    fixtures::MacTree tree{"tester"};
    std::unique_ptr<fixtures::RunningDaemon> daemon;
    std::string cli;
};
#endif
