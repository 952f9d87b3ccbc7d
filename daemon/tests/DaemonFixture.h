#pragma once

#include "fixtures/MacTree.h"
#include "fixtures/RunningDaemon.h"

#include <gtest/gtest.h>

#include <sys/types.h>

#include <map>
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
