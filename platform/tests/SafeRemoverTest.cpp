#include "fixtures/FileFlags.h"
#include "fixtures/MacTree.h"
#include "platform/FileSystem.h"
#include "platform/SafeRemover.h"
#include "platform/SystemLinks.h"
#include "fixtures/Unprivileged.h"

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

// Files and trees go, links inside them and at the top as links; a link on the way is never followed.
TEST_F(SafeRemoverTest, RemovesFilesTreesAndLinksAsLinksAndNeverThroughOne)
{
    tree.writeFile(tree.at("/Doomed/a/b/c.txt"), "x");
    tree.writeFile(tree.at("/Doomed/top.txt"), "x");
    tree.writeFile(tree.at("/single.txt"), "x");
    tree.symlink(tree.at("/Protected"), tree.at("/Doomed/link-to-protected"));
    tree.symlink(protectedFile, tree.at("/Doomed/sub/link-to-file"));
    tree.symlink(tree.at("/Protected"), tree.at("/TopLink"));
    tree.symlink(tree.at("/Protected"), tree.at("/Via"));
    EXPECT_TRUE(SafeRemover::remove(tree.at("/Doomed")));
    EXPECT_FALSE(platform::fs::linkStatus(tree.at("/Doomed")));
    EXPECT_TRUE(SafeRemover::remove(tree.at("/single.txt")));
    EXPECT_TRUE(SafeRemover::remove(tree.at("/never-was")));
    EXPECT_TRUE(SafeRemover::remove(tree.at("/TopLink")));
    EXPECT_FALSE(platform::fs::linkStatus(tree.at("/TopLink")));
    EXPECT_FALSE(SafeRemover::remove(tree.at("/Via/keep.txt")));
    EXPECT_EQ(platform::fs::readFile(protectedFile), "precious");
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

TEST_F(SafeRemoverTest, OnlyTheSystemsOwnLinksArePassed)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "links that only root could have made need root";
    using platform::SystemLinks;
    std::string why;
    // The Mac's /var and /tmp: root's links in root's folders.
    EXPECT_EQ(SystemLinks::resolveParents(tree.at("/var/folders/ab/x1y2z3/T/item"), why),
              std::optional<std::string>(tree.at("/private/var/folders/ab/x1y2z3/T/item")));
    EXPECT_EQ(SystemLinks::resolveFolder(tree.at("/var"), why), std::optional<std::string>(tree.at("/private/var")));
    EXPECT_EQ(SystemLinks::resolveParents(tree.at("/var"), why), std::optional<std::string>(tree.at("/var")));
    // Below a sticky folder others may write, a root's entry is safe.
    tree.symlink(tree.at("/private/var"), tree.at("/private/tmp/var-again"));
    EXPECT_EQ(SystemLinks::resolveParents(tree.at("/tmp/var-again/x"), why), std::optional<std::string>(tree.at("/private/var/x")));

    const uid_t nobody = fixtures::unprivilegedUid();
    // A link the user made in its own Library.
    tree.symlink(tree.at("/Protected"), tree.at("~/Library/Caches/mine"));
    ::lchown(tree.at("~/Library/Caches/mine").c_str(), nobody, nobody);
    // A root's link as HOME's parent, inside a folder the user owns.
    tree.makeDirectories(tree.at("/Users/box"));
    ::chown(tree.at("/Users/box").c_str(), nobody, nobody);
    tree.symlink(tree.at("/Users"), tree.at("/Users/box/homes"));
    // A root's link in a folder anybody may change.
    tree.makeDirectories(tree.at("/open"));
    ::chmod(tree.at("/open").c_str(), 0777);
    tree.symlink(tree.at("/Protected"), tree.at("/open/link"));
    for (const char* path : {"~/Library/Caches/mine/keep.txt", "/Users/box/homes/tester/Library/Caches/x", "/open/link/keep.txt"})
        EXPECT_FALSE(SystemLinks::resolveParents(tree.at(path), why)) << path;
    // Removal through the system's link reaches the real item; through the others nothing.
    tree.writeFile(tree.at("/private/var/folders/ab/x1y2z3/T/item"), "x");
    const auto real = SystemLinks::resolveParents(tree.temporaryDirectory() + "item", why);
    ASSERT_TRUE(real);
    EXPECT_TRUE(SafeRemover::remove(*real));
    EXPECT_FALSE(platform::fs::linkStatus(tree.at("/private/var/folders/ab/x1y2z3/T/item")));
    EXPECT_TRUE(platform::fs::exists(protectedFile));
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
