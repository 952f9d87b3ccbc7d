#include "app/removal/AdministratorScript.h"
#include "app/removal/DaemonInstaller.h"
#include "fixtures/BackgroundProcess.h"
#include "fixtures/ChildProcess.h"
#include "fixtures/MacTree.h"
#include "fixtures/RunningDaemon.h"
#include "fixtures/Unprivileged.h"
#include "platform/AppleScriptTask.h"
#include "platform/FileSystem.h"
#include "platform/LaunchJobRecord.h"
#include "system/ShellQuote.h"
#include "system/Utility.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <random>

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
        std::string name(1 + random() % 24, '_');
        for (char& c : name)
            c = static_cast<char>(1 + random() % 255);
        std::replace(name.begin(), name.end(), '/', '_');
        names.push_back(name);
    }
    const std::string out = tree.at("/printed");
    std::string expected;
    for (std::size_t start = 0; start < names.size(); start += 150) {
        std::string command;
        for (std::size_t i = start; i < std::min(names.size(), start + 150); ++i) {
            command += "printf '%s\\0' " + shellquote::single(names[i]) + " >> " + shellquote::single(out) + "; ";
            expected += names[i] + '\0';
        }
        std::optional<std::string> error = "not run";
        runAdministratorScript(true, shellquote::forAppleScript(command + "true"), false, [&](std::optional<std::string> e) { error = e; });
        EXPECT_FALSE(error.has_value()) << *error;
    }
    const std::string printed = platform::fs::readFile(out).value_or("");
    const auto differs = std::mismatch(expected.begin(), expected.end(), printed.begin(), printed.end()).first;
    EXPECT_TRUE(printed == expected) << "the names differ from byte " << (differs - expected.begin()) << " on";
    EXPECT_FALSE(platform::fs::exists("CANARY"));
    EXPECT_FALSE(platform::fs::exists(tree.at("/CANARY")));
    // Every script removed itself, and the folder made for them went too.
    EXPECT_FALSE(platform::fs::linkStatus(applicationScriptsFolder()));
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
    // A user who cannot be given administrator rights here: the error comes back, and no script stays
    // behind (the script's own last step that removes it never ran), nor the folder made for it.
    const std::string home = tree.at("/Users/nobody-home");
    tree.makeDirectories(home);
    ::chown(home.c_str(), fixtures::unprivilegedUid(), fixtures::unprivilegedGid());
    const int result = fixtures::runUnprivileged([&] {
        ::setenv("HOME", home.c_str(), 1);
        std::optional<std::string> refused;
        runAdministratorScript(true, "true", true, [&](std::optional<std::string> e) { refused = e; });
        return refused && !platform::fs::linkStatus(applicationScriptsFolder()) ? 0 : 1;
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
        tree.writeFile(bundle + "/Contents/Resources/com.halvane.ostrova.policy",
                       platform::fs::readFile(OSTROVA_POLICY_RESOURCE).value_or(""));
        installed = tree.at("/Library/LaunchDaemons/com.halvane.ostrova.plist");
        helper = tree.at("/Library/PrivilegedHelperTools/com.halvane.ostrova");
    }
    void TearDown() override { fixtures::runProcess({OSTROVA_LAUNCHCTL_PATH, "unload", installed}); }

    fixtures::MacTree tree;
    std::string bundle;
    std::string installed;
    std::string helper;
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

    // The job runs root's copy of the daemon, the same bytes as the bundle's, for this bundle's programs.
    const auto job = plist::readDictionary(installed);
    ASSERT_TRUE(job);
    EXPECT_EQ(job->at("ProgramArguments"), plist::Value(plist::Array{plist::Value(helper), plist::Value("loadBySystem")}));
    EXPECT_EQ(plist::find(*job, "EnvironmentVariables")->get<plist::Dictionary>()->at("OSTROVA_CLIENT_BUNDLE"), plist::Value(bundle));
    struct stat st {};
    for (const auto& [path, mode] : std::vector<std::pair<std::string, unsigned>>{
             {installed, 0644u}, {helper, 0544u}, {helper + ".launchctl", 0544u}, {tree.at("/Library/PrivilegedHelperTools"), 0755u},
             {tree.at("/usr/share/polkit-1/actions/com.halvane.ostrova.policy"), 0644u}}) {
        ASSERT_EQ(::lstat(path.c_str(), &st), 0) << path;
        EXPECT_EQ(st.st_uid, 0u) << path;
        EXPECT_EQ(st.st_mode & 07777, mode) << path;
    }
    EXPECT_EQ(platform::fs::readFile(helper), platform::fs::readFile(bundle + "/Contents/MacOS/OstrovaDaemon"));
    EXPECT_EQ(platform::fs::readFile(helper + ".launchctl"), platform::fs::readFile(OSTROVA_LAUNCHCTL_PATH));
    const auto record = platform::LaunchJobRecord::read(Utility::kDaemonLabel);
    ASSERT_TRUE(record);
    EXPECT_EQ(platform::fs::readLink("/proc/" + std::to_string(record->program) + "/exe"), std::optional<std::string>(helper));
    // Nothing of the job passed through a folder of the user's.
    EXPECT_TRUE(platform::fs::listDirectory(applicationScriptsFolder()).value_or(std::vector<std::string>{}).empty());

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
    const auto statement = platform::AppleScriptTask::parse("do shell script \"" + command + "\"");
    ASSERT_TRUE(statement);
    for (const auto& path : {bundle, bundle + "/Contents/MacOS/OstrovaDaemon", installed, helper})
        EXPECT_NE(statement->shell.find(shellquote::single(path)), std::string::npos) << path;
}

// A bundle, or any folder above its daemon, that a user other than root can change is never
// installed from: the user could swap the daemon between the check and the copy.
TEST_F(DaemonInstallerTest, ABundleAUserCanChangeIsRefused)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "installing a system job needs root";
    const std::string userOwned = tree.at("~/Applications/Ostrova.app");
    fixtures::copyExecutable(userOwned + "/Contents/MacOS/OstrovaDaemon", OSTROVA_DAEMON_PATH);
    tree.writeFile(userOwned + "/Contents/Resources/com.halvane.ostrova.policy", "policy");
    const uid_t nobody = fixtures::unprivilegedUid();
    struct Case {
        const char* name;
        std::string bundle;
        std::function<void()> loosen, restore;
    };
    const std::string macos = bundle + "/Contents/MacOS";
    const std::string daemon = macos + "/OstrovaDaemon";
    const std::vector<Case> cases = {
        {"a copy in the user's home", userOwned, [&] { ::chown(tree.at("~/Applications").c_str(), nobody, 0); }, [] {}},
        {"a folder others may write", bundle, [&] { ::chmod(macos.c_str(), 0777); }, [&] { ::chmod(macos.c_str(), 0755); }},
        {"a folder its group may write", bundle, [&] { ::chmod(macos.c_str(), 0775); }, [&] { ::chmod(macos.c_str(), 0755); }},
        {"a daemon the user owns", bundle, [&] { ::chown(daemon.c_str(), nobody, 0); }, [&] { ::chown(daemon.c_str(), 0, 0); }},
        {"a daemon reached through a link", tree.at("/Applications/Linked.app"),
         [&] { ::symlink(bundle.c_str(), tree.at("/Applications/Linked.app").c_str()); }, [] {}},
    };
    for (const auto& c : cases) {
        c.loosen();
        std::optional<std::string> error;
        runAdministratorScript(true, DaemonInstaller(c.bundle).daemonInstallCommand(), false, [&](auto e) { error = e; });
        c.restore();
        EXPECT_TRUE(error.has_value()) << c.name;
        EXPECT_FALSE(platform::fs::linkStatus(helper)) << c.name;
        EXPECT_FALSE(platform::fs::linkStatus(installed)) << c.name;
        EXPECT_FALSE(DaemonInstaller::daemonAnswers()) << c.name;
    }
    // The bundle's own daemon never writes a job: only root's installed copy does.
    const auto direct = fixtures::runProcess({bundle + "/Contents/MacOS/OstrovaDaemon", "--install-job", installed, bundle});
    EXPECT_EQ(direct.exitCode, 2) << direct.err;
    EXPECT_FALSE(platform::fs::linkStatus(installed));
    // The same bundle, root's alone again, installs.
    std::optional<std::string> error = "not run";
    runAdministratorScript(true, DaemonInstaller(bundle).daemonInstallCommand(), false, [&](auto e) { error = e; });
    EXPECT_FALSE(error.has_value()) << *error;
    EXPECT_TRUE(platform::fs::linkStatus(helper));
}

}  // namespace
