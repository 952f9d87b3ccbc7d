#include "fixtures/ScopedEnvironment.h"
#include "platform/PathUtil.h"
#include "platform/SystemRoot.h"

#include <gtest/gtest.h>

namespace {

namespace path = platform::path;

TEST(PathUtil, ComponentsNamesAndIsInsideComparingWholeComponents)
{
    EXPECT_EQ(path::components("/a//b/c/"), (std::vector<std::string>{"/", "a", "b", "c"}));
    EXPECT_EQ(path::components("rel/x"), (std::vector<std::string>{"rel", "x"}));
    EXPECT_EQ(path::lastComponent("/Applications/Foo.app/"), "Foo.app");
    EXPECT_EQ(path::lastComponent("/"), "/");
    EXPECT_EQ(path::extension("/x/Foo.APP"), "APP");
    EXPECT_EQ(path::extension("/x/.hidden"), "");
    EXPECT_EQ(path::extension("/x.d/noext"), "");
    EXPECT_EQ(path::deletingLastComponent("/a/b"), "/a");
    EXPECT_EQ(path::deletingLastComponent("/a"), "/");
    EXPECT_EQ(path::appending("/a/", "/b"), "/a/b");
    EXPECT_EQ(path::standardize("/a/b/../../../c/./d//"), "/c/d");
    EXPECT_EQ(path::standardize("a/../../b"), "../b");

    EXPECT_TRUE(path::isInside("/A/Foo.app/Contents/MacOS/foo", "/A/Foo.app"));
    EXPECT_TRUE(path::isInside("/A/Foo.app/x", "/A/Foo.app/"));
    EXPECT_FALSE(path::isInside("/A/Foo.app", "/A/Foo.app"));
    EXPECT_FALSE(path::isInside("/A/Foo.apple/x", "/A/Foo.app"));
    EXPECT_TRUE(path::isInside("/x", "/"));
}

TEST(PathUtil, OneCanonicalFormForEveryPathACheckSees)
{
    EXPECT_EQ(path::canonicalProblem("/Users/a/Library/Caches/com.x"), "");
    EXPECT_EQ(path::canonicalProblem("/Users/a/Library/Caches/Caf\xc3\xa9"), "");
    for (const std::string& bad : {std::string(""), std::string("/"), std::string("relative/x"), std::string("/Library//Caches"),
                                  std::string("/Library/Caches/"), std::string("/Library/./Caches"), std::string("/Library/../etc"),
                                  std::string("/Library/Keychains\0x", 20), std::string("/Library/\xff"),
                                  std::string("/Library/\xc0\xaf")})
        EXPECT_NE(path::canonicalProblem(bad), "") << bad;
}

TEST(PathUtil, TildeAndTemporaryFolder)
{
    fixtures::ScopedEnvironment env;
    env.set("HOME", "/Users/anna");
    EXPECT_EQ(path::expandTilde("~/Library/Logs"), "/Users/anna/Library/Logs");
    EXPECT_EQ(path::expandTilde("~"), "/Users/anna");
    EXPECT_EQ(path::expandTilde("/abs/~x"), "/abs/~x");
    EXPECT_EQ(path::expandTilde("~root/x"), "/root/x");
    env.set("TMPDIR", "/var/folders/ab/xyz/T");
    EXPECT_EQ(path::temporaryDirectory(), "/var/folders/ab/xyz/T/");
    env.unset("TMPDIR");
    EXPECT_EQ(path::temporaryDirectory(), "/tmp/");
}

TEST(SystemRoot, FixedPathsLieUnderTheRoot)
{
    fixtures::ScopedEnvironment env;
    env.unset("OSTROVA_ROOT");
    EXPECT_EQ(platform::fixedPath("/Applications"), "/Applications");
    env.set("OSTROVA_ROOT", "/tmp/root/");
    EXPECT_EQ(platform::systemRoot(), "/tmp/root");
    EXPECT_EQ(platform::fixedPath("/Applications"), "/tmp/root/Applications");
    EXPECT_EQ(platform::fixedPath("/"), "/tmp/root");
    EXPECT_EQ(platform::fixedPath("relative"), "relative");
}

}  // namespace
