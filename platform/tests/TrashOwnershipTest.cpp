// The Trash folder as root finds and makes it for another user: only that user's own folder is
// used, and a folder of someone else is never given away to the user.
#include "fixtures/MacTree.h"
#include "fixtures/SystemCallFault.h"
#include "fixtures/Unprivileged.h"
#include "platform/FileSystem.h"
#include "platform/TrashMover.h"
#include "platform/tests/RefusedWith.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace {

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
    // Whether openTrash gives a folder; the folder is closed again.
    bool opens(const std::string& folder, bool create)
    {
        std::string why;
        const int fd = TrashMover::openTrash(folder, owner, create, why);
        if (fd >= 0)
            ::close(fd);
        return fd >= 0;
    }

    fixtures::MacTree tree;
    TrashMover::Owner owner{fixtures::unprivilegedUid(), fixtures::unprivilegedGid(), tree.home()};
    const std::string trash = tree.home() + "/.Trash";
};

// Made by root, the Trash is the user's; a named move into it or back out never replaces.
TEST_F(TrashOwnershipTest, AMissingTrashIsMadeTheUsersOwnAndANamedMoveNeverReplaces)
{
    std::string why;
    const int fd = TrashMover::openTrash(trash, owner, true, why);
    ASSERT_GE(fd, 0) << why;
    const auto st = statusOf(trash);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(st.st_uid, owner.uid);
    EXPECT_EQ(st.st_gid, owner.gid);
    EXPECT_EQ(st.st_mode & 07777, 0700u);

    const std::string item = tree.at("/Library/Caches/com.vendor.item");
    tree.writeFile(item, "item");
    tree.writeFile(trash + "/taken", "taken");
    auto result = TrashMover::moveNamed(item, fd, trash, "taken");
    EXPECT_TRUE(refusedWith(result, EEXIST));
    EXPECT_EQ(platform::fs::readFile(item).value_or(""), "item");
    EXPECT_EQ(platform::fs::readFile(trash + "/taken").value_or(""), "taken");

    result = TrashMover::moveNamed(item, fd, trash, "free");
    EXPECT_TRUE(result.ok) << result.why;
    tree.writeFile(item, "new");
    EXPECT_TRUE(refusedWith(TrashMover::moveBack(fd, "free", item), EEXIST));
    EXPECT_EQ(platform::fs::readFile(item).value_or(""), "new");
    EXPECT_EQ(platform::fs::readFile(trash + "/free").value_or(""), "item");
    ::close(fd);
}

// Between the look that finds no Trash and the making of one, a folder of root's is put in its
// place (the user may rename folders in its home): it is refused, and stays root's.
TEST_F(TrashOwnershipTest, AFolderPutInPlaceOfTheTrashBeingMadeIsNotGivenAway)
{
    // Empty, as a folder just made would be, and then with something in it.
    for (const bool withFile : {false, true}) {
        tree.makeDirectories(trash);
        if (withFile)
            tree.writeFile(trash + "/root.conf", "root's");
        ::chmod(trash.c_str(), 0755);
        fixtures::ScopedSystemCallFault missing(fixtures::SystemCall::fstatat, ENOENT, 1, 1, ".Trash");
        EXPECT_FALSE(opens(trash, true)) << withFile;
        EXPECT_EQ(missing.failed(), 1u);
        const auto st = statusOf(trash);
        EXPECT_EQ(st.st_uid, 0u) << withFile;
        EXPECT_EQ(st.st_mode & 07777, 0755u) << withFile;
    }
    EXPECT_EQ(platform::fs::readFile(trash + "/root.conf").value_or(""), "root's");
}

// A volume's .Trashes of another user could have the user's Trash folder renamed away under it.
TEST_F(TrashOwnershipTest, AVolumesTrashesOfAnotherUserIsRefused)
{
    const std::string trashes = tree.at("/Volumes/Disk/.Trashes");
    const std::string mine = trashes + "/" + std::to_string(owner.uid);
    tree.makeDirectories(mine);
    ::chown(mine.c_str(), owner.uid, owner.gid);
    ::chmod(mine.c_str(), 0700);
    // The system's (root's) and sticky: used.
    ::chmod(trashes.c_str(), 01333);
    EXPECT_TRUE(opens(mine, false));
    // Another user's, sticky or not: refused.
    ::chown(trashes.c_str(), owner.uid - 1, owner.gid);
    ::chmod(trashes.c_str(), 01777);
    EXPECT_FALSE(opens(mine, false));
}

}  // namespace
