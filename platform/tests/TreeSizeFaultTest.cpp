#include "fixtures/MacTree.h"
#include "fixtures/SystemCallFault.h"
#include "platform/TreeSize.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

namespace {

using fixtures::ScopedSystemCallFault;
using fixtures::SystemCall;
using platform::TreeSize;

// /Measured: top.bin (7), a/ (100 + 200), b/ (1000, b/deep/ 50), and folders wide enough that the
// walk hands some to its helper thread.
class TreeSizeFaultTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        measured = tree.at("/Measured");
        tree.writeFileOfSize(measured + "/top.bin", 7);
        tree.writeFileOfSize(measured + "/a/one.bin", 100);
        tree.writeFileOfSize(measured + "/a/two.bin", 200);
        tree.writeFileOfSize(measured + "/b/three.bin", 1000);
        tree.writeFileOfSize(measured + "/b/deep/four.bin", 50);
        for (int i = 0; i < 12; ++i) {
            for (int j = 0; j < 30; ++j)
                tree.writeFileOfSize(measured + "/wide" + std::to_string(i) + "/file" + std::to_string(j), 3);
        }
        tree.writeFileOfSize(tree.at("/Beside/other.bin"), 5000);
    }
    static constexpr std::int64_t kWide = 12 * 30 * 3;
    static constexpr std::int64_t kAll = 7 + 100 + 200 + 1000 + 50 + kWide;
    fixtures::MacTree tree;
    std::string measured;
};

// A folder that cannot be opened (by path too, when the helper takes it) is skipped alone, and so
// is a file whose status is denied.
TEST_F(TreeSizeFaultTest, WhatCannotBeReadIsLeftOutAlone)
{
    EXPECT_EQ(TreeSize::measure(measured), kAll);
    {
        ScopedSystemCallFault denied(SystemCall::openat, EACCES, 1, 0, "b");
        ScopedSystemCallFault deniedByPath(SystemCall::open, EACCES, 1, 0, "b");
        EXPECT_EQ(TreeSize::measure(measured), kAll - 1000 - 50);
        EXPECT_EQ(denied.failed() + deniedByPath.failed(), 1u);
    }
    ScopedSystemCallFault denied(SystemCall::fstatat, EACCES, 1, 0, "two.bin");
    EXPECT_EQ(TreeSize::measure(measured), kAll - 200);
    EXPECT_EQ(denied.failed(), 1u);
}

class TreeSizeInterruptedTest : public TreeSizeFaultTest, public ::testing::WithParamInterface<SystemCall> {};

TEST_P(TreeSizeInterruptedTest, AnInterruptedCallIsMadeAgain)
{
    ScopedSystemCallFault interrupted(GetParam(), EINTR, 1, 3);
    EXPECT_EQ(TreeSize::measure(measured), kAll);
    EXPECT_EQ(interrupted.failed(), 3u);
}

INSTANTIATE_TEST_SUITE_P(EveryCall, TreeSizeInterruptedTest,
                         ::testing::Values(SystemCall::lstat, SystemCall::open, SystemCall::openat, SystemCall::fstatat,
                                           SystemCall::readFolder));

}  // namespace
