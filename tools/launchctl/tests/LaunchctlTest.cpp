#include "fixtures/BackgroundProcess.h"
#include "fixtures/ChildProcess.h"
#include "fixtures/Eventually.h"
#include "fixtures/MacTree.h"
#include "fixtures/RunningDaemon.h"
#include "platform/FileSystem.h"
#include "platform/LaunchJobRecord.h"
#include "platform/ProcessIdentity.h"
#include "platform/ProcessTable.h"
#include "platform/PropertyList.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <memory>

namespace {

using platform::LaunchJobRecord;
using platform::ProcessTable;
using platform::process::ProcessHandle;

constexpr const char* kLabel = "com.test.sleeper";

class LaunchctlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        tree.activate();
        program = fixtures::copyExecutable(tree.at("/usr/local/libexec/sleeper"));
        job = tree.at("/Library/LaunchDaemons/com.test.sleeper.plist");
        tree.writePlist(job, plist::Value(plist::Dictionary{{"Label", kLabel}, {"ProgramArguments", plist::Array{program, "60"}}}));
    }
    void TearDown() override { fixtures::stopEveryJob(tree.root(), OSTROVA_LAUNCHCTL_PATH); }

    fixtures::ProcessResult launchctl(const std::string& verb, const std::string& what)
    {
        return fixtures::runProcess({OSTROVA_LAUNCHCTL_PATH, verb, what}, {{"OSTROVA_ROOT", tree.root()}});
    }

    // The record as a launchctl from before start times were kept wrote it.
    static bool writeWithoutStart(const LaunchJobRecord& record)
    {
        const plist::Dictionary old{{"Label", record.label},
                                    {"Path", record.path},
                                    {"Device", static_cast<std::int64_t>(record.device)},
                                    {"Inode", static_cast<std::int64_t>(record.inode)},
                                    {"UID", static_cast<std::int64_t>(record.loader)},
                                    {"Supervisor", std::int64_t{record.supervisor}},
                                    {"Program", std::int64_t{record.program}}};
        const std::string path = LaunchJobRecord::pathFor(record.label);
        return plist::writeFile(path, plist::Value(old)) && ::chmod(path.c_str(), 0644) == 0;
    }

    fixtures::MacTree tree;
    std::string program;
    std::string job;
};

TEST_F(LaunchctlTest, StopsTheSupervisorItsRecordNamesAndItsProgram)
{
    for (const std::string verb : {"remove", "unload"}) {
        for (const bool withStart : {true, false}) {
            const std::string row = verb + (withStart ? "" : ", record without a start time");
            ASSERT_EQ(launchctl("load", job).exitCode, 0) << row;
            auto record = LaunchJobRecord::read(kLabel);
            ASSERT_TRUE(record) << row;
            const auto supervisor = ProcessTable::bsdInfo(record->supervisor);
            ASSERT_TRUE(supervisor) << row;
            EXPECT_NE(record->supervisorStart, 0u) << row;
            EXPECT_EQ(record->supervisorStart, supervisor->startTime) << row;
            // The record is written as soon as the program's process is made, maybe before its exec.
            EXPECT_TRUE(fixtures::eventually([&] { return ProcessTable::executablePath(record->program) == program; })) << row;
            if (!withStart) {
                ASSERT_TRUE(writeWithoutStart(*record)) << row;
                record = LaunchJobRecord::read(kLabel);
                ASSERT_TRUE(record) << row;
                EXPECT_EQ(record->supervisorStart, 0u) << row;
                EXPECT_EQ(record->path, job) << row;
                EXPECT_NE(record->program, 0) << row;
            }
            EXPECT_TRUE(record->loaded()) << row;
            const ProcessHandle supervisorHandle(record->supervisor);
            const ProcessHandle programHandle(record->program);
            ASSERT_TRUE(supervisorHandle.valid() && programHandle.valid()) << row;

            EXPECT_EQ(launchctl(verb, verb == "remove" ? kLabel : job).exitCode, 0) << row;
            EXPECT_TRUE(supervisorHandle.waitForEnd(5000)) << row;
            EXPECT_TRUE(programHandle.waitForEnd(5000)) << row;
            EXPECT_FALSE(platform::fs::exists(LaunchJobRecord::pathFor(kLabel))) << row;
        }
    }
}

TEST_F(LaunchctlTest, ARecordWhoseSupervisorDiedNeverSignalsTheProcessGivenItsPid)
{
    // The record of a supervisor that has ended.
    ASSERT_EQ(launchctl("load", job).exitCode, 0);
    const auto dead = LaunchJobRecord::read(kLabel);
    ASSERT_TRUE(dead);
    {
        const ProcessHandle supervisor(dead->supervisor);
        ASSERT_EQ(launchctl("remove", kLabel).exitCode, 0);
        ASSERT_TRUE(supervisor.waitForEnd(5000));
    }
    // A pid is not handed on again soon: a child of the test takes the dead supervisor's place in
    // its record. Under launchctl's own name, only the start time tells it from the supervisor.
    const std::string namesake = fixtures::copyExecutable(tree.at("/usr/local/bin/launchctl"));
    const std::string other = fixtures::copyExecutable(tree.at("/usr/local/bin/Worker"));
    for (const bool withStart : {true, false}) {
        for (const std::string verb : {"remove", "unload", "load"}) {
            const std::string row = verb + (withStart ? "" : ", record without a start time");
            const std::string& executable = withStart ? namesake : other;
            // A real heir starts long after: at least one tick of the start-time clock (10 ms here)
            // after the supervisor, which a heir started at once may not.
            std::unique_ptr<fixtures::BackgroundProcess> started;
            for (int tries = 0; tries < 100; ++tries) {
                started = std::make_unique<fixtures::BackgroundProcess>(std::vector<std::string>{executable, "60"});
                ASSERT_TRUE(started->waitUntilRunning(executable)) << row;
                const auto info = ProcessTable::bsdInfo(started->pid());
                if (info && info->startTime != dead->supervisorStart)
                    break;
            }
            fixtures::BackgroundProcess& heir = *started;
            LaunchJobRecord stale = *dead;
            stale.supervisor = heir.pid();
            ASSERT_TRUE(withStart ? stale.write() : writeWithoutStart(stale)) << row;
            ASSERT_TRUE(LaunchJobRecord::read(kLabel)) << row;
            EXPECT_FALSE(LaunchJobRecord::read(kLabel)->loaded()) << row;

            const auto result = launchctl(verb, verb == "remove" ? kLabel : job);
            if (verb == "remove") {
                EXPECT_EQ(result.exitCode, 113) << row;
                EXPECT_FALSE(platform::fs::exists(LaunchJobRecord::pathFor(kLabel))) << row;
            } else if (verb == "unload") {
                EXPECT_EQ(result.exitCode, 0) << row;
                EXPECT_NE(result.err.find("not loaded"), std::string::npos) << row;
            } else {
                // Not loaded, so it is loaded anew under a supervisor of its own.
                EXPECT_EQ(result.exitCode, 0) << row << ": " << result.err;
                const auto loaded = LaunchJobRecord::read(kLabel);
                ASSERT_TRUE(loaded) << row;
                EXPECT_NE(loaded->supervisor, heir.pid()) << row;
                EXPECT_TRUE(loaded->loaded()) << row;
                EXPECT_EQ(launchctl("remove", kLabel).exitCode, 0) << row;
            }
            EXPECT_FALSE(heir.ended(300)) << row;
        }
    }
}

}  // namespace
