#include "fixtures/BackgroundProcess.h"
#include "fixtures/MacTree.h"
#include "fixtures/SystemCallFault.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "system/KillProcessWithCMD.h"
#include "system/KillProcessWithInterrupt.h"
#include "system/KillProcessWithKill.h"
#include "system/ProcessManager.h"
#include "system/Utility.h"

#include <gtest/gtest.h>

#include <linux/filter.h>
#include <linux/seccomp.h>
#include <pwd.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <functional>
#include <thread>

namespace {

using Kill = std::function<bool(const RkProcessInfo&)>;

// Every way of ending a process by its record, with the signal it ends a plain child by.
struct KillWay {
    std::string name;
    Kill kill;
    int signal;
};

const std::vector<KillWay>& everyKill()
{
    static const std::vector<KillWay> kills = {
        {"OnKillProcessInfo", [](const RkProcessInfo& p) { return ProcessManager::shared().OnKillProcessInfo(p); }, SIGKILL},
        {"OnKillProcessInfos",
         [](const RkProcessInfo& p) { return ProcessManager::shared().OnKillProcessInfos({std::make_shared<RkProcessInfo>(p)}); },
         SIGKILL},
        {"KillProcessWithCMD", [](const RkProcessInfo& p) { return KillProcessWithCMD().KillProcess(p); }, SIGKILL},
        {"KillProcessWithInterrupt", [](const RkProcessInfo& p) { return KillProcessWithInterrupt().KillProcess(p); }, SIGINT},
        {"KillProcessWithKill", [](const RkProcessInfo& p) { return KillProcessWithKill().KillProcess(p); }, SIGKILL},
    };
    return kills;
}

// From here on this process can neither start a program nor make a child (a shell included);
// true when that is in place.
bool forbidNewProcesses()
{
    std::vector<long> calls = {SYS_execve, SYS_execveat, SYS_clone, SYS_clone3};
#ifdef SYS_fork
    calls.insert(calls.end(), {SYS_fork, SYS_vfork});
#endif
    std::vector<sock_filter> filter = {BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr))};
    for (const long call : calls) {
        filter.push_back(BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, static_cast<__u32>(call), 0, 1));
        filter.push_back(BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | EPERM));
    }
    filter.push_back(BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW));
    const sock_fprog program{static_cast<unsigned short>(filter.size()), filter.data()};
    return ::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 && ::prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) == 0;
}

class ProcessManagerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        worker = fixtures::copyExecutable(tree.at("/Applications/Worker.app/Contents/MacOS/Worker"));
    }

    static std::shared_ptr<RkProcessInfo> find(pid_t pid)
    {
        for (const auto& process : ProcessManager::shared().EnumerateAllProcess())
            if (process->pid == pid)
                return process;
        return nullptr;
    }
    // Waits until `child` runs `program` and gives its record; null when it does not.
    static std::shared_ptr<RkProcessInfo> recordOf(fixtures::BackgroundProcess& child, const std::string& program)
    {
        return child.waitUntilRunning(program) ? find(child.pid()) : nullptr;
    }

    fixtures::MacTree tree;
    std::string worker;
};

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
        EXPECT_TRUE(find(::getpid()));
        EXPECT_GT(ProcessManager::shared().EnumerateAllProcess().size(), 1u);
    }
    stop = true;
    churn.join();
}

// Each way is taken in a child of the test that can start no program, so a shell would fail it.
TEST_F(ProcessManagerTest, EachWayEndsAChildWithItsSignalAndStartsNoProgram)
{
    for (const auto& way : everyKill()) {
        fixtures::BackgroundProcess victim({worker, "60"});
        const auto process = recordOf(victim, worker);
        ASSERT_TRUE(process);
        const pid_t killer = ::fork();
        ASSERT_GE(killer, 0);
        if (killer == 0) {
            // The fence has to stop a shell before the kill can prove anything.
            if (!forbidNewProcesses() || std::system("exit 0") == 0)
                ::_exit(2);
            ::_exit(way.kill(*process) ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(killer, &status, 0), killer);
        ASSERT_TRUE(WIFEXITED(status)) << way.name;
        ASSERT_NE(WEXITSTATUS(status), 2) << "no fence against new processes here";
        EXPECT_EQ(WEXITSTATUS(status), 0) << way.name;
        int signal = 0;
        ASSERT_TRUE(victim.ended(5000, &signal)) << way.name;
        EXPECT_EQ(signal, way.signal) << way.name;
    }
    // The order the manager tries them in.
    const auto& order = ProcessManager::shared().array;
    ASSERT_EQ(order.size(), 3u);
    EXPECT_TRUE(std::dynamic_pointer_cast<KillProcessWithCMD>(order[0]));
    EXPECT_TRUE(std::dynamic_pointer_cast<KillProcessWithInterrupt>(order[1]));
    EXPECT_TRUE(std::dynamic_pointer_cast<KillProcessWithKill>(order[2]));
}

TEST_F(ProcessManagerTest, AChildIgnoringInterruptEndsByKill)
{
    // An ignored signal stays ignored across exec.
    fixtures::BackgroundProcess child({worker, "60"}, [] { return ::signal(SIGINT, SIG_IGN) != SIG_ERR; });
    const auto process = recordOf(child, worker);
    ASSERT_TRUE(process);
    EXPECT_TRUE(KillProcessWithInterrupt().KillProcess(*process));
    EXPECT_FALSE(child.ended(200));

    EXPECT_TRUE(ProcessManager::shared().OnKillProcessInfo(*process));
    int signal = 0;
    ASSERT_TRUE(child.ended(5000, &signal));
    EXPECT_EQ(signal, SIGKILL);
}

TEST_F(ProcessManagerTest, ARecordThatNoLongerFitsItsProcessKillsNothing)
{
    fixtures::BackgroundProcess child({worker, "60"});
    const auto process = recordOf(child, worker);
    ASSERT_TRUE(process);
    ASSERT_NE(process->startTime, 0u);

    RkProcessInfo otherPath = *process, otherName = *process, noPath = *process, otherStart = *process;
    otherPath.executablePath = tree.at("/Applications/Other.app/Contents/MacOS/Worker");
    otherName.executableName = "Somebody";
    noPath.executablePath.reset();
    otherStart.startTime -= 1;
    for (const auto& stale : {otherPath, otherName, noPath, otherStart})
        for (const auto& way : everyKill())
            EXPECT_FALSE(way.kill(stale)) << way.name;
    EXPECT_FALSE(child.ended(300));
    EXPECT_TRUE(ProcessManager::shared().ProcessIsRunning(child.pid(), worker, "Worker"));
    EXPECT_FALSE(ProcessManager::shared().ProcessIsRunning(child.pid(), worker, "Worke"));

    EXPECT_FALSE(ProcessManager::shared().OnKillProcessInfos({}));
    // One that cannot be ended makes the whole answer false; the others are ended all the same.
    EXPECT_FALSE(ProcessManager::shared().OnKillProcessInfos({std::make_shared<RkProcessInfo>(otherStart), process}));
    EXPECT_TRUE(child.ended(5000));
    EXPECT_FALSE(ProcessManager::shared().ProcessIsRunning(child.pid(), worker, "Worker"));
}

TEST_F(ProcessManagerTest, APidHandedOnAfterTheCheckIsNeverSignalled)
{
    // A pid is not handed on again soon; the record of a child that has ended, given the pid of one
    // started after it, stands for the check before and the kill after the kernel gave it on.
    RkProcessInfo checked;
    {
        fixtures::BackgroundProcess first({worker, "60"});
        const auto process = recordOf(first, worker);
        ASSERT_TRUE(process);
        checked = *process;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(30));  // start times count in clock ticks
    for (const auto& way : everyKill()) {
        fixtures::BackgroundProcess second({worker, "60"});
        const auto current = recordOf(second, worker);
        ASSERT_TRUE(current);
        RkProcessInfo reused = checked;
        reused.pid = second.pid();
        ASSERT_NE(reused.startTime, current->startTime);
        EXPECT_FALSE(way.kill(reused)) << way.name;
        EXPECT_FALSE(second.ended(200)) << way.name;
        // Its own record does reach it.
        EXPECT_TRUE(way.kill(*current)) << way.name;
        EXPECT_TRUE(second.ended(5000)) << way.name;
    }
}

TEST_F(ProcessManagerTest, AProcessThatHasEndedIsNotReportedKilled)
{
    for (const bool reaped : {true, false}) {
        fixtures::BackgroundProcess child({worker, "60"});
        const auto process = recordOf(child, worker);
        ASSERT_TRUE(process);
        ASSERT_EQ(::kill(child.pid(), SIGTERM), 0);  // still our unreaped child: its pid is its own
        if (reaped) {
            ASSERT_TRUE(child.ended(5000));
        } else {
            siginfo_t info{};
            ASSERT_EQ(::waitid(P_PID, static_cast<id_t>(child.pid()), &info, WEXITED | WNOWAIT), 0);
        }
        for (const auto& way : everyKill())
            EXPECT_FALSE(way.kill(*process)) << way.name << (reaped ? " reaped" : " not reaped");
    }
}

TEST_F(ProcessManagerTest, EndingABundlesProcessesWalksTheTableOnce)
{
    fixtures::BackgroundProcess one({worker, "60"});
    fixtures::BackgroundProcess two({worker, "60"});
    ASSERT_TRUE(one.waitUntilRunning(worker));
    ASSERT_TRUE(two.waitUntilRunning(worker));
    fixtures::ScopedSystemCallTrace trace;
    const auto found = ProcessManager::shared().GetProcessInfoWithBundlePath(tree.at("/Applications/Worker.app"));
    ASSERT_EQ(found.size(), 2u);
    EXPECT_TRUE(ProcessManager::shared().OnKillProcessInfos(found));
    std::size_t walks = 0;
    for (const auto& open : trace.of(fixtures::SystemCall::open))
        walks += open.name == "/proc";
    EXPECT_EQ(walks, 1u);
    EXPECT_TRUE(one.ended(5000));
    EXPECT_TRUE(two.ended(5000));
}

// Enumeration finds a child with its details; a bundle path matches only executables inside it.
TEST_F(ProcessManagerTest, EnumerationFindsAChildWithItsDetailsAndBundlePathOnlyWhatIsInside)
{
    const std::string sibling = fixtures::copyExecutable(tree.at("/Applications/Worker.app 2/Contents/MacOS/Worker"));
    const std::string longer = fixtures::copyExecutable(tree.at("/Applications/Worker.appx/Contents/MacOS/Worker"));
    fixtures::BackgroundProcess inside({worker, "60"});
    fixtures::BackgroundProcess besides({sibling, "60"});
    fixtures::BackgroundProcess longerName({longer, "60"});
    ASSERT_TRUE(inside.waitUntilRunning(worker));
    ASSERT_TRUE(besides.waitUntilRunning(sibling));
    ASSERT_TRUE(longerName.waitUntilRunning(longer));
    const auto process = find(inside.pid());
    ASSERT_TRUE(process);
    EXPECT_EQ(process->ppid, ::getpid());
    EXPECT_EQ(process->executableName, "Worker");
    EXPECT_EQ(process->executablePath, worker);
    const passwd* me = ::getpwuid(::getuid());
    ASSERT_TRUE(me);
    EXPECT_EQ(process->userName, me->pw_name);
    EXPECT_EQ(ProcessManager::shared().GetProcessInfoWithExecutableName("Worker", worker)->pid, inside.pid());
    EXPECT_FALSE(ProcessManager::shared().GetProcessInfoWithExecutableName("Worker", worker + "x"));
    EXPECT_TRUE(ProcessManager::shared().GetProcessInfoWithExecutableName("Worker"));
    EXPECT_FALSE(ProcessManager::shared().GetProcessInfoWithExecutableName("NoSuchWorkerAnywhere"));
    for (const std::string& bundle : {tree.at("/Applications/Worker.app"), tree.at("/Applications/Worker.app/")}) {
        const auto found = ProcessManager::shared().GetProcessInfoWithBundlePath(bundle);
        ASSERT_EQ(found.size(), 1u) << bundle;
        EXPECT_EQ(found.front()->pid, inside.pid());
    }
    for (const std::string& bundle : {std::string("/"), tree.at("/Applications"), tree.at("/Applications/Gone.app"), std::string()})
        EXPECT_TRUE(ProcessManager::shared().GetProcessInfoWithBundlePath(bundle).empty()) << bundle;
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
    const auto process = recordOf(child, worker);
    ASSERT_TRUE(process);
    EXPECT_EQ(process->userName, "unknow");
}

}  // namespace
