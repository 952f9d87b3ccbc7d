#include "fixtures/MacTree.h"
#include "fixtures/PipeWatchdog.h"
#include "platform/FileSystem.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <functional>

namespace {

namespace fs = platform::fs;

// What others may have put in place is read only as a small regular file, never through a link at
// its last component and never waiting on a named pipe; the program's own files may be links.
TEST(FileSystem, SmallRegularFilesAreReadWithoutWaiting)
{
    constexpr std::size_t kLimit = 4096;
    fixtures::MacTree tree;
    tree.writeFile(tree.at("/target"), "bytes");
    struct Case {
        const char* name;
        std::function<void(const std::string& path)> place;
        bool readSmall;      // by readSmallRegularFile with kLimit
        bool readFollowing;  // by readFile
    };
    const Case cases[] = {
        {"exactly the limit", [&](const std::string& path) { tree.writeFile(path, std::string(kLimit, 'x')); }, true, true},
        {"a byte over the limit", [&](const std::string& path) { tree.writeFile(path, std::string(kLimit + 1, 'x')); }, false, true},
        {"a link to a file", [&](const std::string& path) { tree.symlink(tree.at("/target"), path); }, false, true},
        {"a named pipe", [&](const std::string& path) { ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0); }, false, false},
        {"2 GiB of nothing", [&](const std::string& path) { tree.writeFileOfSize(path, std::int64_t{2} << 30); }, false, false},
        {"a folder", [&](const std::string& path) { tree.makeDirectories(path); }, false, false},
    };
    tree.makeDirectories(tree.at("/files"));
    int number = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = tree.at("/files/" + std::to_string(++number));
        c.place(path);
        EXPECT_TRUE(fixtures::finishesBeforeDeadline([&] {
            EXPECT_EQ(fs::readSmallRegularFile(path, kLimit).has_value(), c.readSmall);
            EXPECT_EQ(fs::readFile(path).has_value(), c.readFollowing);
        }, {path}, std::chrono::seconds(30)));
    }
}

}  // namespace
