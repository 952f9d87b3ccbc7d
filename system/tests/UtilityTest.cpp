#include "fixtures/MacTree.h"
#include "fixtures/SystemCallFault.h"
#include "platform/FileSystem.h"
#include "platform/PropertyList.h"
#include "system/Utility.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

class UtilityTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        tree.activate();
        // A launchctl that records what it was asked to do, one line per call.
        record = tree.at("/launchctl.log");
        const std::string launchctl = tree.at("/bin/launchctl");
        tree.writeFile(launchctl, "#!/bin/sh\nfor a in \"$@\"; do printf '[%s]' \"$a\"; done >> '" + record + "'\necho >> '" + record + "'\n");
        ::chmod(launchctl.c_str(), 0755);
        tree.environment().set("OSTROVA_LAUNCHCTL", launchctl);
    }
    std::string calls() const { return platform::fs::readFile(record).value_or(""); }

    fixtures::MacTree tree;
    std::string record;
};

// The exit status, or standard output. A failed command has ended and been reaped by the time its
// status is known; its pid may already belong to another process, so nothing may be sent to it.
TEST_F(UtilityTest, ShellExecutionGivesTheExitStatusOrTheOutputAndSignalsNoReapedShell)
{
    EXPECT_EQ(Utility::ShellExecution(std::nullopt), -1);
    EXPECT_EQ(Utility::ShellExecution("exit 3"), 3);
    EXPECT_EQ(Utility::ShellExecution("true"), 0);
    EXPECT_EQ(Utility::ShellExecution("no_such_command_anywhere_xyz 2>/dev/null"), 127);
    EXPECT_EQ(Utility::ShellExecution("kill -9 $$"), 0);
    EXPECT_EQ(Utility::GetShellExecutionResult("printf 'a\\nb'"), "a\nb");
    EXPECT_EQ(Utility::GetShellExecutionResult("echo only-error >&2"), "");
    EXPECT_FALSE(Utility::GetShellExecutionResult("printf '\\377\\376'").has_value());

    fixtures::ScopedSystemCallTrace trace;
    EXPECT_EQ(Utility::GetShellExecutionResult("echo partial; exit 4"), "partial\n");
    const auto waits = trace.of(fixtures::SystemCall::waitpid);
    ASSERT_EQ(waits.size(), 1u);
    const long shell = waits.front().result;
    ASSERT_GT(shell, 0);
    for (const auto& signal : trace.of(fixtures::SystemCall::kill))
        EXPECT_NE(signal.argument, shell) << "signal sent to the reaped shell";
}

TEST_F(UtilityTest, CreatePlistWritesTheDaemonJobAndLoadsIt)
{
    const std::string job = tree.at("/Library/LaunchDaemons/it's a \"job\" $(touch CANARY).plist");
    const std::string program = tree.at("/Applications/Ostrova.app/Contents/MacOS/OstrovaDaemon");
    ASSERT_TRUE(Utility::CreatePlist(job, program));

    const auto dict = plist::readDictionary(job);
    ASSERT_TRUE(dict);
    const plist::Dictionary expected{
        {"Label", "com.qzt.ostrova.uninstallDaemon"},
        {"MachServices", plist::Dictionary{{"com.qzt.ostrova.service", true}}},
        {"EnableTransactions", true},
        {"KeepAlive", plist::Dictionary{{"SuccessfulExit", false}}},
        {"ProgramArguments", plist::Array{plist::Value(program), plist::Value("loadBySystem")}},
        {"RunAtload", true},
    };
    EXPECT_EQ(*dict, expected);
    struct stat st {};
    ASSERT_EQ(::stat(job.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0644u);
    if (::geteuid() == 0) {
        EXPECT_EQ(st.st_uid, 0u);
    }
    EXPECT_EQ(calls(), "[load][" + job + "]\n");
    EXPECT_FALSE(platform::fs::exists(tree.at("/CANARY")));
    EXPECT_FALSE(platform::fs::exists("CANARY"));

    // Again: the loaded job is unloaded and replaced.
    ASSERT_TRUE(Utility::CreatePlist(job, program + "2"));
    EXPECT_EQ(calls(), "[load][" + job + "]\n[unload][" + job + "]\n[load][" + job + "]\n");
    EXPECT_EQ(plist::readDictionary(job)->at("ProgramArguments"),
              plist::Value(plist::Array{plist::Value(program + "2"), plist::Value("loadBySystem")}));

    EXPECT_FALSE(Utility::CreatePlist(tree.at("/No/Such/Folder/job.plist"), program));
}

TEST_F(UtilityTest, SystemFactsAnswerWithoutFailing)
{
    EXPECT_FALSE(Utility::getAppFromSystem([](const std::string&) { return true; }).has_value());
    EXPECT_FALSE(Utility::isSandboxed());
    tree.environment().set("APP_SANDBOX_CONTAINER_ID", "x");
    EXPECT_TRUE(Utility::isSandboxed());
}

}  // namespace
