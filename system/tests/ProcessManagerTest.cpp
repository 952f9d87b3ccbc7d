#include "fixtures/BackgroundProcess.h"
#include "fixtures/MacTree.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "system/KillProcessWithInterrupt.h"
#include "system/ProcessManager.h"
#include "system/Utility.h"

#include <gtest/gtest.h>

#include <pwd.h>
#include <sys/prctl.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <thread>

namespace {

class ProcessManagerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        worker = fixtures::copyExecutable(tree.at("/Applications/Worker.app/Contents/MacOS/Worker"));
    }

    std::shared_ptr<RkProcessInfo> find(pid_t pid)
    {
        for (const auto& process : ProcessManager::shared().EnumerateAllProcess())
            if (process->pid == pid)
                return process;
        return nullptr;
    }

    fixtures::MacTree tree;
    std::string worker;
};

TEST_F(ProcessManagerTest, EnumerationFindsAChildWithItsDetails)
{
    fixtures::BackgroundProcess child({worker, "60"});
    ASSERT_TRUE(child.waitUntilRunning(worker));
    const auto process = find(child.pid());
    ASSERT_TRUE(process);
    EXPECT_EQ(process->ppid, ::getpid());
    EXPECT_EQ(process->executableName, "Worker");
    EXPECT_EQ(process->executablePath, worker);
    const passwd* me = ::getpwuid(::getuid());
    ASSERT_TRUE(me);
    EXPECT_EQ(process->userName, me->pw_name);

    EXPECT_EQ(ProcessManager::shared().GetProcessInfoWithExecutableName("Worker", worker)->pid, child.pid());
    EXPECT_FALSE(ProcessManager::shared().GetProcessInfoWithExecutableName("Worker", worker + "x"));
    EXPECT_TRUE(ProcessManager::shared().GetProcessInfoWithExecutableName("Worker"));
    EXPECT_FALSE(ProcessManager::shared().GetProcessInfoWithExecutableName("NoSuchWorkerAnywhere"));
}

TEST_F(ProcessManagerTest, EnumerationSurvivesProcessesComingAndGoing)
{
    std::atomic<bool> stop{false};
    std::thread churn([&] {
        while (!stop) {
            fixtures::BackgroundProcess shortLived({"/bin/true"});
            shortLived.ended(2000);
        }
    });
    for (int round = 0; round < 30; ++round) {
        const auto all = ProcessManager::shared().EnumerateAllProcess();
        bool self = false;
        for (const auto& process : all)
            self = self || process->pid == ::getpid();
        EXPECT_TRUE(self);
        EXPECT_GT(all.size(), 1u);
    }
    stop = true;
    churn.join();
}

TEST_F(ProcessManagerTest, InterruptEndsAChildThatHonoursIt)
{
    fixtures::BackgroundProcess child({worker, "60"});
    ASSERT_TRUE(child.waitUntilRunning(worker));
    EXPECT_TRUE(KillProcessWithInterrupt().KillProcess(child.pid()));
    int signal = 0;
    ASSERT_TRUE(child.ended(5000, &signal));
    EXPECT_EQ(signal, SIGINT);
}

TEST_F(ProcessManagerTest, AChildIgnoringInterruptEndsByKill)
{
    // An ignored signal stays ignored across exec.
    fixtures::BackgroundProcess child({worker, "60"}, [] { return ::signal(SIGINT, SIG_IGN) != SIG_ERR; });
    ASSERT_TRUE(child.waitUntilRunning(worker));
    KillProcessWithInterrupt().KillProcess(child.pid());
    EXPECT_FALSE(child.ended(200));

    const auto process = find(child.pid());
    ASSERT_TRUE(process);
    EXPECT_TRUE(ProcessManager::shared().OnKillProcessInfo(*process));
    int signal = 0;
    ASSERT_TRUE(child.ended(5000, &signal));
    EXPECT_EQ(signal, SIGKILL);
}

TEST_F(ProcessManagerTest, ARecordThatNoLongerFitsItsProcessKillsNothing)
{
    fixtures::BackgroundProcess child({worker, "60"});
    ASSERT_TRUE(child.waitUntilRunning(worker));
    const auto process = find(child.pid());
    ASSERT_TRUE(process);

    RkProcessInfo otherPath = *process;
    otherPath.executablePath = tree.at("/Applications/Other.app/Contents/MacOS/Worker");
    RkProcessInfo otherName = *process;
    otherName.executableName = "Somebody";
    RkProcessInfo noPath = *process;
    noPath.executablePath.reset();
    for (const auto& stale : {otherPath, otherName, noPath})
        EXPECT_TRUE(ProcessManager::shared().OnKillProcessInfo(stale));
    EXPECT_FALSE(child.ended(300));
    EXPECT_TRUE(ProcessManager::shared().ProcessIsRunning(child.pid(), worker, "Worker"));
    EXPECT_FALSE(ProcessManager::shared().ProcessIsRunning(child.pid(), worker, "Worke"));

    EXPECT_FALSE(ProcessManager::shared().OnKillProcessInfos({}));
    EXPECT_TRUE(ProcessManager::shared().OnKillProcessInfos({process}));
    EXPECT_TRUE(child.ended(5000));
    EXPECT_FALSE(ProcessManager::shared().ProcessIsRunning(child.pid(), worker, "Worker"));
}

TEST_F(ProcessManagerTest, BundlePathMatchesOnlyExecutablesInsideTheBundle)
{
    const std::string sibling = fixtures::copyExecutable(tree.at("/Applications/Worker.app 2/Contents/MacOS/Worker"));
    const std::string longer = fixtures::copyExecutable(tree.at("/Applications/Worker.appx/Contents/MacOS/Worker"));
    fixtures::BackgroundProcess inside({worker, "60"});
    fixtures::BackgroundProcess besides({sibling, "60"});
    fixtures::BackgroundProcess longerName({longer, "60"});
    ASSERT_TRUE(inside.waitUntilRunning(worker));
    ASSERT_TRUE(besides.waitUntilRunning(sibling));
    ASSERT_TRUE(longerName.waitUntilRunning(longer));

    const auto found = ProcessManager::shared().GetProcessInfoWithBundlePath(tree.at("/Applications/Worker.app"));
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found.front()->pid, inside.pid());
    EXPECT_EQ(ProcessManager::shared().GetProcessInfoWithBundlePath(tree.at("/Applications/Worker.app/")).size(), 1u);
    EXPECT_TRUE(ProcessManager::shared().GetProcessInfoWithBundlePath("/").empty());
    EXPECT_TRUE(ProcessManager::shared().GetProcessInfoWithBundlePath(tree.at("/Applications")).empty());
    EXPECT_TRUE(ProcessManager::shared().GetProcessInfoWithBundlePath(tree.at("/Applications/Gone.app")).empty());
    EXPECT_TRUE(ProcessManager::shared().GetProcessInfoWithBundlePath("").empty());
}

TEST_F(ProcessManagerTest, RunningByNameComparesTheKernelsWidth)
{
    EXPECT_FALSE(Utility::ProcessIsRunning(""));
    EXPECT_FALSE(ProcessManager::shared().ProcessIsRunning(""));
    // This process itself never counts. Other test processes may run under the test program's name,
    // so it takes a name of its own for the check.
    char original[32] = {};
    ::prctl(PR_GET_NAME, original);
    const std::string unique = "self" + std::to_string(::getpid());
    ::prctl(PR_SET_NAME, unique.c_str());
    const bool selfCounted = Utility::ProcessIsRunning(unique);
    ::prctl(PR_SET_NAME, original);
    EXPECT_FALSE(selfCounted);

    const std::string twenty = "TwentyCharacterNameX";
    ASSERT_EQ(twenty.size(), 20u);
    const std::string longWorker = fixtures::copyExecutable(tree.at("/Applications/" + twenty));
    EXPECT_FALSE(Utility::ProcessIsRunning(twenty));
    fixtures::BackgroundProcess child({longWorker, "60"});
    ASSERT_TRUE(child.waitUntilRunning(longWorker));
    EXPECT_TRUE(Utility::ProcessIsRunning(twenty));
    EXPECT_TRUE(Utility::ProcessIsRunning(twenty.substr(0, 15)));
    EXPECT_TRUE(ProcessManager::shared().ProcessIsRunning(twenty + "andmore"));
    EXPECT_FALSE(Utility::ProcessIsRunning(twenty.substr(0, 14)));
}

TEST_F(ProcessManagerTest, AUserWithoutAPasswordEntryIsUnknow)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to run a child under another uid";
    const uid_t stranger = 54321;
    ASSERT_EQ(::getpwuid(stranger), nullptr);
    fixtures::BackgroundProcess child({worker, "60"}, [&] { return ::setgid(stranger) == 0 && ::setuid(stranger) == 0; });
    ASSERT_TRUE(child.waitUntilRunning(worker));
    const auto process = find(child.pid());
    ASSERT_TRUE(process);
    EXPECT_EQ(process->userName, "unknow");
}

}  // namespace
