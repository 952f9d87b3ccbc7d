#include "fixtures/MacTree.h"
#include "fixtures/PipeWatchdog.h"
#include "platform/LaunchJobFile.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

using platform::LaunchJobFile;

// A named pipe where a job file is expected is refused at once, the daemon's way and launchctl's:
// opened plainly it would wait for a writer for ever.
TEST(LaunchJobFile, ANamedPipeForAJobFileIsRefusedWithoutWaiting)
{
    fixtures::MacTree tree;
    const std::string job = tree.at("~/Library/LaunchAgents/com.vendor.job.plist");
    tree.writePlist(job, plist::Value(plist::Dictionary{{"Label", "com.vendor.job"}, {"Program", "/bin/true"}}));
    const std::string pipe = tree.at("~/Library/LaunchAgents/com.vendor.pipe.plist");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
    for (const bool noLinkOnTheWay : {false, true}) {
        SCOPED_TRACE(noLinkOnTheWay ? "no link on the way" : "no link at the file");
        const auto readBoth = [&] {
            std::string why;
            EXPECT_TRUE(LaunchJobFile::read(job, noLinkOnTheWay, why)) << why;
            EXPECT_FALSE(LaunchJobFile::read(pipe, noLinkOnTheWay, why));
            EXPECT_EQ(why, "the job file is not a regular file");
        };
        EXPECT_TRUE(fixtures::finishesBeforeDeadline(readBoth, {pipe}, std::chrono::seconds(10))) << "the read waited on the pipe";
    }
}

// What a job runs, as the scan files it: the program, and for a job without "Program" the argument
// paths too; only files that exist.
TEST(LaunchJobFile, ProgramsOfAJobAreItsExistingProgramAndArgumentPaths)
{
    fixtures::MacTree tree;
    const std::string helper = tree.at("/Applications/Foo.app/Contents/Library/LaunchServices/com.vendor.foo.helper");
    const std::string opener = tree.at("/usr/bin/open");
    const std::string other = tree.at("/usr/local/bin/other");
    for (const auto& file : {helper, opener, other})
        tree.writeFile(file, "#!/bin/sh\n");
    const std::string missing = tree.at("/Applications/Gone.app/Contents/MacOS/Gone");
    const auto arguments = [](std::initializer_list<plist::Value> values) { return plist::Value(plist::Array(values)); };
    struct Case {
        const char* name;
        plist::Dictionary job;
        std::vector<std::string> programs;
    };
    const Case cases[] = {
        {"words are not files", {{"ProgramArguments", arguments({helper, "--x"})}}, {helper}},
        {"argument paths run too", {{"ProgramArguments", arguments({opener, helper, missing})}}, {opener, helper}},
        {"a missing program, an existing argument", {{"ProgramArguments", arguments({missing, helper})}}, {helper}},
        {"not a string", {{"ProgramArguments", arguments({std::int64_t{5}, helper})}}, {helper}},
        {"Program names the one program", {{"Program", other}, {"ProgramArguments", arguments({helper, opener})}}, {other}},
        {"a missing Program", {{"Program", missing}, {"ProgramArguments", arguments({helper})}}, {}},
        {"neither", {{"Label", "com.vendor.nothing"}}, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LaunchJobFile::programsOf(c.job), c.programs) << c.name;
}

}  // namespace
