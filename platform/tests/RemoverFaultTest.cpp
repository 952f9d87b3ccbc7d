#include "fixtures/MacTree.h"
#include "fixtures/SystemCallFault.h"
#include "platform/FileSystem.h"
#include "platform/SafeRemover.h"

#include <gtest/gtest.h>

#include <cerrno>
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

TEST_F(RemoverFaultTest, AFolderThatCannotBeOpenedStaysWholeAndTheRestGoes)
{
    bool removed = true;
    {
        ScopedSystemCallFault denied(SystemCall::openat, EACCES, 1, 0, "f1");
        removed = SafeRemover::remove(doomed);
        EXPECT_EQ(denied.failed(), 1u);
    }
    EXPECT_FALSE(removed);
    for (const auto& [name, path] : entries) {
        if (name.rfind("f1", 0) == 0)
            EXPECT_TRUE(intact(name)) << name;
        else
            EXPECT_FALSE(platform::fs::linkStatus(path)) << name;
    }
    EXPECT_TRUE(platform::fs::isDirectoryNoFollow(doomed));
    expectOutsideIntact();
}

// Some file systems need room to record a removal (a full btrfs answers ENOSPC).
TEST_F(RemoverFaultTest, NoSpaceToRemoveOneFileKeepsItAndItsFolders)
{
    bool removed = true;
    {
        ScopedSystemCallFault full(SystemCall::unlinkat, ENOSPC, 1, 0, "f2-3.txt");
        removed = SafeRemover::remove(doomed);
        EXPECT_EQ(full.failed(), 1u);
    }
    EXPECT_FALSE(removed);
    for (const auto& [name, path] : entries) {
        if (name == "f2-3.txt" || name == "f2")
            EXPECT_TRUE(intact(name)) << name;
        else
            EXPECT_FALSE(platform::fs::linkStatus(path)) << name;
    }
    EXPECT_EQ(platform::fs::readFile(entries.at("f2-3.txt")), "f2-3.txt");
    expectOutsideIntact();

    // With room again the same call finishes the job.
    EXPECT_TRUE(SafeRemover::remove(doomed));
    EXPECT_FALSE(platform::fs::linkStatus(doomed));
    expectOutsideIntact();
}

TEST_F(RemoverFaultTest, NoSpaceOnTheLastFolderReportsFailure)
{
    ScopedSystemCallFault full(SystemCall::unlinkat, ENOSPC, 1, 0, "Doomed");
    EXPECT_FALSE(SafeRemover::remove(doomed));
    EXPECT_TRUE(platform::fs::isDirectoryNoFollow(doomed));
    EXPECT_EQ(full.failed(), 1u);
    expectOutsideIntact();
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

TEST_F(RemoverFaultTest, AFolderThatCannotBeListedIsLeftAsItIs)
{
    bool removed = true;
    {
        ScopedSystemCallFault broken(SystemCall::readFolder, EIO, 1, 1);
        removed = SafeRemover::remove(doomed);
        EXPECT_EQ(broken.failed(), 1u);
    }
    EXPECT_FALSE(removed);
    EXPECT_TRUE(platform::fs::isDirectoryNoFollow(doomed));
    for (const auto& [name, path] : entries)
        EXPECT_TRUE(intact(name)) << name;
    expectOutsideIntact();
}

}  // namespace
