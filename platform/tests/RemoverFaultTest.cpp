#include "fixtures/MacTree.h"
#include "fixtures/SystemCallFault.h"
#include "platform/FileSystem.h"
#include "platform/SafeRemover.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <map>
#include <set>
#include <string>

namespace {

using fixtures::ScopedSystemCallFault;
using fixtures::ScopedSystemCallTrace;
using fixtures::SystemCall;
using platform::SafeRemover;

// /Doomed with three folders of four files each (every name unique, so a traced name tells the
// entry), beside /Protected and /Beside that must outlive every fault.
class RemoverFaultTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        doomed = tree.at("/Doomed");
        for (int folder = 0; folder < 3; ++folder) {
            const std::string name = "f" + std::to_string(folder);
            entries[name] = doomed + "/" + name;
            for (int file = 0; file < 4; ++file) {
                const std::string fileName = name + "-" + std::to_string(file) + ".txt";
                entries[fileName] = doomed + "/" + name + "/" + fileName;
                tree.writeFile(entries[fileName], fileName);
            }
        }
        entries["top.txt"] = doomed + "/top.txt";
        tree.writeFile(entries["top.txt"], "top.txt");
        tree.writeFile(tree.at("/Protected/keep.txt"), "precious");
        tree.writeFile(tree.at("/Beside/Doomed-not.txt"), "beside");
    }

    void expectOutsideIntact() const
    {
        EXPECT_EQ(platform::fs::readFile(tree.at("/Protected/keep.txt")), "precious");
        EXPECT_EQ(platform::fs::readFile(tree.at("/Beside/Doomed-not.txt")), "beside");
    }

    // True when the entry is there as made: a file with its own name as contents, or a folder.
    bool intact(const std::string& name) const
    {
        const auto& at = entries.at(name);
        if (name.find('.') == std::string::npos)
            return platform::fs::isDirectoryNoFollow(at);
        return platform::fs::readFile(at) == name;
    }

    fixtures::MacTree tree;
    std::string doomed;
    std::map<std::string, std::string> entries;  // name -> path, /Doomed itself not included
};

TEST_F(RemoverFaultTest, AccessLostHalfWayRemovesExactlyWhatCameBefore)
{
    constexpr unsigned kBefore = 6;
    ScopedSystemCallTrace trace;
    bool removed = true;
    {
        ScopedSystemCallFault lost(SystemCall::unlinkat, EACCES, kBefore + 1, 0);
        removed = SafeRemover::remove(doomed);
        EXPECT_GT(lost.failed(), 0u);
    }
    EXPECT_FALSE(removed);
    const auto unlinks = trace.of(SystemCall::unlinkat);
    ASSERT_GT(unlinks.size(), kBefore);
    std::set<std::string> gone;
    for (std::size_t i = 0; i < unlinks.size(); ++i) {
        if (i < kBefore) {
            EXPECT_EQ(unlinks[i].result, 0) << unlinks[i].name;
            gone.insert(unlinks[i].name);
        } else {
            EXPECT_EQ(unlinks[i].error, EACCES) << unlinks[i].name;
        }
    }
    for (const auto& [name, path] : entries) {
        if (gone.count(name))
            EXPECT_FALSE(platform::fs::linkStatus(path)) << name << " was removed before the fault";
        else
            EXPECT_TRUE(intact(name)) << name << " came after the fault";
    }
    EXPECT_TRUE(platform::fs::isDirectoryNoFollow(doomed));
    expectOutsideIntact();
}

// One call fails once: what it was for stays (with the folders holding it), the rest goes, the
// removal says it failed, and with the fault gone the same call finishes the job. Some file
// systems need room to record a removal (a full btrfs answers ENOSPC).
TEST_F(RemoverFaultTest, WhatOneFailedCallWasForStaysAndTheRestGoes)
{
    struct Case {
        const char* what;
        SystemCall call;
        int error;
        const char* name;                     // the entry the call is made for; "": the first call
        std::function<bool(const std::string&)> kept;
    };
    const Case cases[] = {
        {"a folder that cannot be opened stays whole", SystemCall::openat, EACCES, "f1",
         [](const std::string& name) { return name.rfind("f1", 0) == 0; }},
        {"no space to remove one file", SystemCall::unlinkat, ENOSPC, "f2-3.txt",
         [](const std::string& name) { return name == "f2-3.txt" || name == "f2"; }},
        {"no space on the last folder", SystemCall::unlinkat, ENOSPC, "Doomed", [](const std::string&) { return false; }},
        {"a folder that cannot be listed", SystemCall::readFolder, EIO, "", [](const std::string&) { return true; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        bool removed = true;
        {
            ScopedSystemCallFault fault(c.call, c.error, 1, 1, c.name);
            removed = SafeRemover::remove(doomed);
            EXPECT_EQ(fault.failed(), 1u);
        }
        EXPECT_FALSE(removed);
        EXPECT_TRUE(platform::fs::isDirectoryNoFollow(doomed));
        for (const auto& [name, path] : entries) {
            if (c.kept(name))
                EXPECT_TRUE(intact(name)) << name;
            else
                EXPECT_FALSE(platform::fs::linkStatus(path)) << name;
        }
        expectOutsideIntact();
        EXPECT_TRUE(SafeRemover::remove(doomed));
        EXPECT_FALSE(platform::fs::linkStatus(doomed));
        expectOutsideIntact();
    }
}

class RemoverInterruptedTest : public RemoverFaultTest, public ::testing::WithParamInterface<SystemCall> {};

TEST_P(RemoverInterruptedTest, AnInterruptedCallIsMadeAgain)
{
    {
        // The first two calls are interrupted.
        ScopedSystemCallFault interrupted(GetParam(), EINTR, 1, 2);
        EXPECT_TRUE(SafeRemover::remove(doomed));
        EXPECT_EQ(interrupted.failed(), 2u);
    }
    EXPECT_FALSE(platform::fs::linkStatus(doomed));
    for (const auto& [name, path] : entries)
        EXPECT_FALSE(platform::fs::linkStatus(path)) << name;
    expectOutsideIntact();
}

INSTANTIATE_TEST_SUITE_P(EveryCall, RemoverInterruptedTest,
                         ::testing::Values(SystemCall::open, SystemCall::openat, SystemCall::fstat, SystemCall::fstatat,
                                           SystemCall::readFolder, SystemCall::unlinkat));

}  // namespace
