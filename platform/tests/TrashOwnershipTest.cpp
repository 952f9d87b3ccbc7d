// The Trash folder as root finds and makes it for another user: only that user's own folder is
// used, and a folder of someone else is never given away to the user.
#include "fixtures/MacTree.h"
#include "fixtures/SystemCallFault.h"
#include "fixtures/Unprivileged.h"
#include "platform/FileSystem.h"
#include "platform/TrashMover.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

namespace {

using fixtures::ScopedSystemCallFault;
using fixtures::SystemCall;
using platform::TrashMover;

class TrashOwnershipTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (::geteuid() != 0)
            GTEST_SKIP() << "making another user's Trash needs root";
        ::chown(tree.home().c_str(), owner.uid, owner.gid);
    }

    static struct stat statusOf(const std::string& path)
    {
        struct stat st {};
        EXPECT_EQ(::lstat(path.c_str(), &st), 0) << path;
        return st;
    }

    fixtures::MacTree tree;
    TrashMover::Owner owner{fixtures::unprivilegedUid(), fixtures::unprivilegedGid(), tree.home()};
};

// Made by root, the Trash is the user's; a named move into it or back out never replaces.
TEST_F(TrashOwnershipTest, AMissingTrashIsMadeTheUsersOwnAndANamedMoveNeverReplaces)
{
    std::string why;
    const int fd = TrashMover::openTrash(tree.home() + "/.Trash", owner, true, why);
    ASSERT_GE(fd, 0) << why;
    const auto st = statusOf(tree.home() + "/.Trash");
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(st.st_uid, owner.uid);
    EXPECT_EQ(st.st_gid, owner.gid);
    EXPECT_EQ(st.st_mode & 07777, 0700u);

    const std::string item = tree.at("/Library/Caches/com.vendor.item");
    tree.writeFile(item, "item");
    tree.writeFile(tree.home() + "/.Trash/taken", "taken");
    auto result = TrashMover::moveNamed(item, fd, tree.home() + "/.Trash", "taken");
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error, EEXIST);
    EXPECT_EQ(platform::fs::readFile(item).value_or(""), "item");
    EXPECT_EQ(platform::fs::readFile(tree.home() + "/.Trash/taken").value_or(""), "taken");

    result = TrashMover::moveNamed(item, fd, tree.home() + "/.Trash", "free");
    EXPECT_TRUE(result.ok) << result.why;
    tree.writeFile(item, "new");
    result = TrashMover::moveBack(fd, "free", item);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error, EEXIST);
    EXPECT_EQ(platform::fs::readFile(item).value_or(""), "new");
    EXPECT_EQ(platform::fs::readFile(tree.home() + "/.Trash/free").value_or(""), "item");
    ::close(fd);
}

// Between the look that finds no Trash and the making of one, a folder of root's is put in its
// place (the user may rename folders in its home): it is refused, and stays root's.
TEST_F(TrashOwnershipTest, AFolderPutInPlaceOfTheTrashBeingMadeIsNotGivenAway)
{
    const std::string folder = tree.home() + "/.Trash";
    // Empty, as a folder just made would be, and then with something in it.
    for (const bool withFile : {false, true}) {
        tree.makeDirectories(folder);
        if (withFile)
            tree.writeFile(folder + "/root.conf", "root's");
        ::chmod(folder.c_str(), 0755);
        std::string why;
        int fd = -1;
        {
            ScopedSystemCallFault missing(SystemCall::fstatat, ENOENT, 1, 1, ".Trash");
            fd = TrashMover::openTrash(folder, owner, true, why);
            EXPECT_EQ(missing.failed(), 1u);
        }
        EXPECT_LT(fd, 0) << withFile;
        if (fd >= 0)
            ::close(fd);
        const auto st = statusOf(folder);
        EXPECT_EQ(st.st_uid, 0u) << withFile;
        EXPECT_EQ(st.st_mode & 07777, 0755u) << withFile;
    }
    EXPECT_EQ(platform::fs::readFile(folder + "/root.conf").value_or(""), "root's");
}

// A volume's .Trashes of another user could have the user's Trash folder renamed away under it.
TEST_F(TrashOwnershipTest, AVolumesTrashesOfAnotherUserIsRefused)
{
    const std::string volume = tree.at("/Volumes/Disk");
    const std::string trashes = volume + "/.Trashes";
    const std::string mine = trashes + "/" + std::to_string(owner.uid);
    tree.makeDirectories(mine);
    ::chown(mine.c_str(), owner.uid, owner.gid);
    ::chmod(mine.c_str(), 0700);
    std::string why;

    // The system's (root's) and sticky: used.
    ::chmod(trashes.c_str(), 01333);
    int fd = TrashMover::openTrash(mine, owner, false, why);
    EXPECT_GE(fd, 0) << why;
    if (fd >= 0)
        ::close(fd);

    // Another user's, sticky or not: refused.
    const uid_t other = owner.uid - 1;
    ::chown(trashes.c_str(), other, owner.gid);
    ::chmod(trashes.c_str(), 01777);
    fd = TrashMover::openTrash(mine, owner, false, why);
    EXPECT_LT(fd, 0);
    if (fd >= 0)
        ::close(fd);
}

}  // namespace
