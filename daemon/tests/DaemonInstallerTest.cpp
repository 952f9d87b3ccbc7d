#include "app/removal/AdministratorScript.h"
#include "app/removal/DaemonInstaller.h"
#include "fixtures/BackgroundProcess.h"
#include "fixtures/ChildProcess.h"
#include "fixtures/MacTree.h"
#include "fixtures/RunningDaemon.h"
#include "fixtures/Unprivileged.h"
#include "platform/AppleScriptTask.h"
#include "platform/FileSystem.h"
#include "system/ShellQuote.h"
#include "system/Utility.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <thread>

namespace {

using namespace std::chrono_literals;

class AdministratorScriptTest : public ::testing::Test {
protected:
    void SetUp() override { tree.activate(); }
    fixtures::MacTree tree;
};

TEST_F(AdministratorScriptTest, TwoThousandNamesSurviveTheShellAndTheScript)
{
    std::vector<std::string> names = {"$(touch CANARY)", "`touch CANARY`", "it's", "\"quoted\"", "back\\slash", "\\\"",
                                      "'\"'\"'", "; touch CANARY", "new\nline", "tab\there", "-rf", "*", "~", "a b  c"};
    for (int c = 1; c < 256; ++c)
        if (c != '/')
            names.push_back(std::string("byte") + static_cast<char>(c) + "end");
    std::mt19937 random(2026);
    while (names.size() < 2100) {
        std::string name;
        const int length = 1 + static_cast<int>(random() % 24);
        for (int i = 0; i < length; ++i) {
            const char c = static_cast<char>(1 + random() % 255);
            name += c == '/' ? '_' : c;
        }
        names.push_back(name);
    }
    const std::string out = tree.at("/printed");
    std::size_t mismatches = 0;
    for (std::size_t start = 0; start < names.size(); start += 150) {
        std::string command;
        for (std::size_t i = start; i < std::min(names.size(), start + 150); ++i)
            command += "printf '%s\\0' " + shellquote::single(names[i]) + " >> " + shellquote::single(out) + "; ";
        command += "true";
        std::optional<std::string> error = "not run";
        runAdministratorScript(true, shellquote::forAppleScript(command), false, [&](std::optional<std::string> e) { error = e; });
        EXPECT_FALSE(error.has_value()) << *error;
    }
    const std::string printed = platform::fs::readFile(out).value_or("");
    std::vector<std::string> back;
    std::size_t from = 0;
    for (std::size_t i = 0; i < printed.size(); ++i)
        if (printed[i] == '\0') {
            back.push_back(printed.substr(from, i - from));
            from = i + 1;
        }
    ASSERT_EQ(back.size(), names.size());
    for (std::size_t i = 0; i < names.size(); ++i)
        mismatches += back[i] != names[i];
    EXPECT_EQ(mismatches, 0u);
    EXPECT_FALSE(platform::fs::exists("CANARY"));
    EXPECT_FALSE(platform::fs::exists(tree.at("/CANARY")));
    // Every script removed itself.
    const auto left = platform::fs::listDirectory(applicationScriptsFolder());
    ASSERT_TRUE(left.has_value());
    EXPECT_TRUE(left->empty());
}

TEST_F(AdministratorScriptTest, ParsesOnlyTheOneStatement)
{
    using platform::AppleScriptTask;
    auto plain = AppleScriptTask::parse("do shell script \"echo \\\"a\\\\b\\\"\"");
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->shell, "echo \"a\\b\"");
    EXPECT_FALSE(plain->administrator);
    auto admin = AppleScriptTask::parse("do shell script \"x\" with administrator privileges\n");
    ASSERT_TRUE(admin);
    EXPECT_TRUE(admin->administrator);
    EXPECT_FALSE(AppleScriptTask::parse("tell application \"Finder\" to quit"));
    EXPECT_FALSE(AppleScriptTask::parse("do shell script \"unterminated"));
    EXPECT_FALSE(AppleScriptTask::parse("do shell script \"x\" & \"y\""));
}

TEST_F(AdministratorScriptTest, AFailingOrRefusedRunReportsAnErrorAndNoAccessRunsNothing)
{
    std::optional<std::string> error;
    bool called = false;
    runAdministratorScript(false, "touch " + shellquote::single(tree.at("/ran")), false, [&](auto) { called = true; });
    EXPECT_FALSE(called);
    EXPECT_FALSE(platform::fs::exists(tree.at("/ran")));

    runAdministratorScript(true, "echo nope >&2; exit 3", false, [&](std::optional<std::string> e) { error = e; });
    ASSERT_TRUE(error.has_value());
    EXPECT_NE(error->find("nope"), std::string::npos);

    if (::geteuid() != 0)
        GTEST_SKIP() << "the refused elevation is shown for another user";
    // A user who cannot be given administrator rights here: the script stays, the error comes back.
    const std::string home = tree.at("/Users/nobody-home");
    tree.makeDirectories(home);
    ::chown(home.c_str(), fixtures::unprivilegedUid(), fixtures::unprivilegedGid());
    const int result = fixtures::runUnprivileged([&] {
        ::setenv("HOME", home.c_str(), 1);
        std::optional<std::string> refused;
        runAdministratorScript(true, "true", true, [&](std::optional<std::string> e) { refused = e; });
        const auto left = platform::fs::listDirectory(applicationScriptsFolder());
        return refused && left && left->size() == 1 ? 0 : 1;
    });
    EXPECT_EQ(result, 0);
}

class DaemonInstallerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        tree.activate();
        tree.environment().set("OSTROVA_LAUNCHCTL", OSTROVA_LAUNCHCTL_PATH);
        // A bundle whose path needs quoting, installed somewhere else than where it was built.
        bundle = tree.at("/Applications/Ostrova 'Test' \"copy\" $(x).app");
        fixtures::copyExecutable(bundle + "/Contents/MacOS/OstrovaDaemon", OSTROVA_DAEMON_PATH);
        tree.writeFile(bundle + "/Contents/Resources/com.halvane.ostrova.plist",
                       platform::fs::readFile(OSTROVA_JOB_RESOURCE).value_or(""));
        installed = tree.at("/Library/LaunchDaemons/com.halvane.ostrova.plist");
    }
    void TearDown() override { fixtures::runProcess({OSTROVA_LAUNCHCTL_PATH, "unload", installed}); }

    fixtures::MacTree tree;
    std::string bundle;
    std::string installed;
};

TEST_F(DaemonInstallerTest, InstallsAndFindsTheDaemonThenLeavesItAlone)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "installing a system job needs root";
    // A daemon of another system root runs: a process named OstrovaDaemon, but not this root's.
    fixtures::MacTree other("someone");
    other.activate();
    fixtures::RunningDaemon elsewhere(other, OSTROVA_DAEMON_PATH, OSTROVA_LAUNCHCTL_PATH);
    ASSERT_TRUE(elsewhere.isUp());
    tree.activate();
    ASSERT_TRUE(Utility::ProcessIsRunning("OstrovaDaemon"));
    EXPECT_FALSE(DaemonInstaller::daemonAnswers());

    DaemonInstaller installer(bundle);
    const auto start = std::chrono::steady_clock::now();
    installer.ensureDaemon();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 6s);
    EXPECT_TRUE(DaemonInstaller::daemonAnswers());

    const auto job = plist::readDictionary(installed);
    ASSERT_TRUE(job);
    EXPECT_EQ(job->at("ProgramArguments"),
              plist::Value(plist::Array{plist::Value(bundle + "/Contents/MacOS/OstrovaDaemon"), plist::Value("loadBySystem")}));
    struct stat st {};
    ASSERT_EQ(::stat(installed.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 0u);
    EXPECT_EQ(st.st_mode & 0777, 0644u);

    // Running already: nothing is run (the job file is not copied again).
    ::chmod(installed.c_str(), 0600);
    const auto again = std::chrono::steady_clock::now();
    installer.ensureDaemon();
    EXPECT_LT(std::chrono::steady_clock::now() - again, 500ms);
    ASSERT_EQ(::stat(installed.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST_F(DaemonInstallerTest, TheCommandQuotesEveryPath)
{
    const std::string command = DaemonInstaller(bundle).daemonInstallCommand();
    // Unescaped for the shell, the copy names the corrected job file and the installed one.
    const auto statement = platform::AppleScriptTask::parse("do shell script \"" + command + "\"");
    ASSERT_TRUE(statement);
    EXPECT_NE(statement->shell.find("cp '"), std::string::npos);
    EXPECT_NE(statement->shell.find(shellquote::single(installed)), std::string::npos);
    EXPECT_NE(statement->shell.find("load -w"), std::string::npos);
}

}  // namespace
