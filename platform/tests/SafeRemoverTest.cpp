#include "fixtures/FileFlags.h"
#include "fixtures/MacTree.h"
#include "platform/FileSystem.h"
#include "platform/SafeRemover.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

using platform::SafeRemover;

class SafeRemoverTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        protectedFile = tree.at("/Protected/keep.txt");
        tree.writeFile(protectedFile, "precious");
    }
    fixtures::MacTree tree;
    std::string protectedFile;
};

TEST_F(SafeRemoverTest, RemovesFilesAndTrees)
{
    tree.writeFile(tree.at("/Doomed/a/b/c.txt"), "x");
    tree.writeFile(tree.at("/Doomed/top.txt"), "x");
    tree.writeFile(tree.at("/single.txt"), "x");
    EXPECT_TRUE(SafeRemover::remove(tree.at("/Doomed")));
    EXPECT_FALSE(platform::fs::linkStatus(tree.at("/Doomed")));
    EXPECT_TRUE(SafeRemover::remove(tree.at("/single.txt")));
    EXPECT_TRUE(SafeRemover::remove(tree.at("/never-was")));
}

TEST_F(SafeRemoverTest, LinksInsideAreRemovedAsLinks)
{
    tree.writeFile(tree.at("/Doomed/file"), "x");
    tree.symlink(tree.at("/Protected"), tree.at("/Doomed/link-to-protected"));
    tree.symlink(protectedFile, tree.at("/Doomed/sub/link-to-file"));
    EXPECT_TRUE(SafeRemover::remove(tree.at("/Doomed")));
    EXPECT_EQ(platform::fs::readFile(protectedFile), "precious");

    tree.symlink(tree.at("/Protected"), tree.at("/TopLink"));
    EXPECT_TRUE(SafeRemover::remove(tree.at("/TopLink")));
    EXPECT_TRUE(platform::fs::exists(protectedFile));
}

TEST_F(SafeRemoverTest, ALinkOnTheWayIsNeverFollowed)
{
    tree.symlink(tree.at("/Protected"), tree.at("/Via"));
    EXPECT_FALSE(SafeRemover::remove(tree.at("/Via/keep.txt")));
    EXPECT_TRUE(platform::fs::exists(protectedFile));
}

TEST_F(SafeRemoverTest, WhatCannotGoStopsNothingElse)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "making a file immutable needs root";
    const std::string folder = tree.at("/Mixed");
    for (int i = 0; i < 40; ++i)
        tree.writeFile(folder + "/f" + std::to_string(i), "x");
    const std::string locked = folder + "/f0";
    ASSERT_TRUE(fixtures::setImmutable(locked, true));
    EXPECT_FALSE(SafeRemover::remove(folder));
    const auto left = platform::fs::listDirectory(folder);
    fixtures::setImmutable(locked, false);
    ASSERT_TRUE(left.has_value());
    EXPECT_EQ(*left, std::vector<std::string>{"f0"});
}

TEST_F(SafeRemoverTest, MalformedPathsAreRefused)
{
    for (const std::string& path : std::vector<std::string>{"", "/", "relative/path", tree.at("/Protected/../Protected"),
                                                            tree.at("/Protected/./keep.txt"), tree.at("/Protected") + std::string("\0x", 2),
                                                            tree.at("/Protected") + "/", tree.at("//Protected")})
        EXPECT_FALSE(SafeRemover::remove(path)) << path;
    EXPECT_TRUE(platform::fs::exists(protectedFile));
}

}  // namespace
