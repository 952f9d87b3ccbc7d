// Moving into the client's Trash and back through the real daemon, asked by the test client run as
// the unprivileged user (an administrator here) with its home in the tree: root's items of the
// places the client may remove from go into its own ~/.Trash unchanged and come back; everything
// else is refused and left as it was.
#include "daemon/tests/DaemonFixture.h"
#include "fixtures/ChildProcess.h"
#include "fixtures/MacTree.h"
#include "fixtures/Unprivileged.h"
#include "platform/FileSystem.h"
#include "platform/LaunchJobRecord.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <set>
#include <string>
#include <thread>

namespace {

namespace fs = platform::fs;

class TrashThroughDaemonTest : public DaemonFixture {
protected:
    void SetUp() override
    {
        if (::geteuid() != 0)
            GTEST_SKIP() << "the daemon runs as root";
        ASSERT_TRUE(answers()) << daemonLog();
        // Every test starts without a Trash: the daemon makes it.
        fixtures::MacTree::removeTree(trash());
        ::unlink(trash().c_str());
    }

    static std::string trash() { return tree->home() + "/.Trash"; }

    // A root-owned folder with a file, both with their own modes and times, and an extended
    // attribute on the file when the file system keeps them.
    static std::string rootItem(const std::string& name)
    {
        const std::string folder = tree->at("/Library/Application Support/" + name);
        tree->writeFile(folder + "/data.bin", "the application's data");
        hasAttribute = ::setxattr((folder + "/data.bin").c_str(), "user.ostrova.kept", "kept", 4, 0) == 0;
        ::chmod((folder + "/data.bin").c_str(), 0640);
        ::chmod(folder.c_str(), 0751);
        const timespec times[2] = {{1500000000, 0}, {1500000000, 0}};
        ::utimensat(AT_FDCWD, (folder + "/data.bin").c_str(), times, AT_SYMLINK_NOFOLLOW);
        const timespec folderTimes[2] = {{1400000000, 0}, {1400000000, 0}};
        ::utimensat(AT_FDCWD, folder.c_str(), folderTimes, AT_SYMLINK_NOFOLLOW);
        return folder;
    }

    // Whether the folder is the one rootItem made, untouched.
    static void expectRootItem(const std::string& folder)
    {
        struct stat st {}, file {};
        ASSERT_EQ(::lstat(folder.c_str(), &st), 0) << folder;
        EXPECT_TRUE(S_ISDIR(st.st_mode));
        EXPECT_EQ(st.st_uid, 0u);
        EXPECT_EQ(st.st_gid, 0u);
        EXPECT_EQ(st.st_mode & 07777, 0751u);
        ASSERT_EQ(::lstat((folder + "/data.bin").c_str(), &file), 0);
        EXPECT_EQ(file.st_uid, 0u);
        EXPECT_EQ(file.st_mode & 07777, 0640u);
        EXPECT_EQ(file.st_mtim.tv_sec, 1500000000);
        EXPECT_EQ(fs::readFile(folder + "/data.bin").value_or(""), "the application's data");
        if (hasAttribute) {
            char value[16] = {};
            EXPECT_EQ(::getxattr((folder + "/data.bin").c_str(), "user.ostrova.kept", value, sizeof value), 4);
            EXPECT_EQ(std::string(value), "kept");
        }
        // Checked last: reading the file does not touch the folder's modification time.
        ASSERT_EQ(::lstat(folder.c_str(), &st), 0);
        EXPECT_EQ(st.st_mtim.tv_sec, 1400000000);
    }

    // What the Trash holds (nothing when it is missing).
    static std::set<std::string> trashNames(const std::string& folder = trash())
    {
        std::set<std::string> names;
        for (const auto& entry : fs::listDirectory(folder).value_or(std::vector<std::string>{}))
            names.insert(entry);
        return names;
    }

    static bool hasAttribute;
};

bool TrashThroughDaemonTest::hasAttribute = false;

ino_t inodeOf(const std::string& path)
{
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}

TEST_F(TrashThroughDaemonTest, ARootItemGoesToTheClientsTrashUnchangedAndComesBack)
{
    const std::string item = rootItem("com.vendor.trashed");
    const ino_t inode = inodeOf(item);

    EXPECT_TRUE(replied(call({"trash", item, "com.vendor.trashed 2"}), true)) << daemonLog();
    EXPECT_FALSE(fs::linkStatus(item));
    const std::string trashed = trash() + "/com.vendor.trashed 2";
    expectRootItem(trashed);
    EXPECT_EQ(inodeOf(trashed), inode);
    EXPECT_EQ(trashNames(), std::set<std::string>{"com.vendor.trashed 2"});
    // The Trash the daemon made is the client's own, for it alone.
    struct stat made {};
    ASSERT_EQ(::lstat(trash().c_str(), &made), 0);
    EXPECT_TRUE(S_ISDIR(made.st_mode));
    EXPECT_EQ(made.st_uid, fixtures::unprivilegedUid());
    EXPECT_EQ(made.st_mode & 07777, 0700u);

    EXPECT_TRUE(replied(call({"put-back", item, "com.vendor.trashed 2"}), true)) << daemonLog();
    expectRootItem(item);
    EXPECT_EQ(inodeOf(item), inode);
    EXPECT_TRUE(trashNames().empty());
}

// HOME only narrows the account's home: a folder of the client's outside it (here outside the
// system the daemon serves, too) gets no Trash; the item goes to the account's own Trash.
TEST_F(TrashThroughDaemonTest, AHomeOutsideTheAccountsGetsNoTrash)
{
    char pattern[] = "/tmp/ostrova-outside-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    const std::string outside = pattern;
    ASSERT_EQ(::chown(outside.c_str(), fixtures::unprivilegedUid(), fixtures::unprivilegedGid()), 0);
    const std::string item = rootItem("com.vendor.outside");

    EXPECT_TRUE(replied(call({"trash", item, "com.vendor.outside"}, app, true, outside), true)) << daemonLog();
    EXPECT_FALSE(fs::linkStatus(item));
    EXPECT_EQ(trashNames(), std::set<std::string>{"com.vendor.outside"});
    EXPECT_FALSE(fs::linkStatus(outside + "/.Trash"));
    fixtures::MacTree::removeTree(outside);
}

// Put back only restores what root put in the Trash: an item of the client's own making, or a
// second name it gave a file of root's, would be planted in root's places.
TEST_F(TrashThroughDaemonTest, OnlyWhatRootMovedIsPutBack)
{
    const std::string place = tree->at("/Library/Application Support/com.vendor.planted");
    ASSERT_TRUE(replied(call({"trash", rootItem("com.vendor.first"), "com.vendor.first"}), true)) << daemonLog();
    tree->writeFile(trash() + "/com.vendor.planted", "the client's own");
    ::chown((trash() + "/com.vendor.planted").c_str(), fixtures::unprivilegedUid(), fixtures::unprivilegedGid());
    EXPECT_TRUE(replied(call({"put-back", place, "com.vendor.planted"}), false)) << daemonLog();
    EXPECT_FALSE(fs::linkStatus(place));

    const std::string rootFile = tree->at("/Library/Application Support/com.vendor.root.conf");
    tree->writeFile(rootFile, "root's");
    ASSERT_EQ(::link(rootFile.c_str(), (trash() + "/com.vendor.linked").c_str()), 0);
    EXPECT_TRUE(replied(call({"put-back", place, "com.vendor.linked"}), false)) << daemonLog();
    EXPECT_FALSE(fs::linkStatus(place));
}

TEST_F(TrashThroughDaemonTest, PuttingBackNeverReplacesWhatTookThePlace)
{
    const std::string item = rootItem("com.vendor.replaced");
    ASSERT_TRUE(replied(call({"trash", item, "com.vendor.replaced"}), true)) << daemonLog();
    tree->writeFile(item, "new in its place");

    EXPECT_TRUE(replied(call({"put-back", item, "com.vendor.replaced"}), false));
    EXPECT_EQ(fs::readFile(item).value_or(""), "new in its place");
    expectRootItem(trash() + "/com.vendor.replaced");

    // A folder in the place is not replaced either, empty as it is.
    ::unlink(item.c_str());
    tree->makeDirectories(item);
    EXPECT_TRUE(replied(call({"put-back", item, "com.vendor.replaced"}), false));
    EXPECT_TRUE(trashNames(item).empty());
    expectRootItem(trash() + "/com.vendor.replaced");
}

TEST_F(TrashThroughDaemonTest, ANameTheTrashHoldsIsNotReplaced)
{
    tree->makeDirectories(trash());
    ::chown(trash().c_str(), fixtures::unprivilegedUid(), fixtures::unprivilegedGid());
    ::chmod(trash().c_str(), 0700);
    tree->writeFile(trash() + "/taken", "the user's");
    const std::string item = rootItem("com.vendor.taken");

    EXPECT_TRUE(replied(call({"trash", item, "taken"}), false));
    expectRootItem(item);
    EXPECT_EQ(fs::readFile(trash() + "/taken").value_or(""), "the user's");

    // An empty folder of that name is not replaced by a folder.
    ::unlink((trash() + "/taken").c_str());
    tree->makeDirectories(trash() + "/taken");
    EXPECT_TRUE(replied(call({"trash", item, "taken"}), false));
    expectRootItem(item);
    EXPECT_TRUE(trashNames(trash() + "/taken").empty());
}

TEST_F(TrashThroughDaemonTest, ATrashThatIsALinkIsNeitherFilledNorEmptied)
{
    const std::string elsewhere = tree->at("/Users/Shared/elsewhere");
    tree->makeDirectories(elsewhere);
    ::chown(elsewhere.c_str(), fixtures::unprivilegedUid(), fixtures::unprivilegedGid());
    tree->symlink(elsewhere, trash());
    const std::string item = rootItem("com.vendor.linked-trash");

    EXPECT_TRUE(replied(call({"trash", item, "com.vendor.linked-trash"}), false));
    expectRootItem(item);
    EXPECT_TRUE(trashNames(elsewhere).empty());
    EXPECT_TRUE(S_ISLNK(fs::linkStatus(trash())->st_mode));

    // Nothing comes back out of the folder the link leads to.
    fixtures::MacTree::removeTree(item);
    const std::string planted = rootItem("com.vendor.linked-trash");
    ASSERT_EQ(::rename(planted.c_str(), (elsewhere + "/com.vendor.linked-trash").c_str()), 0);
    EXPECT_TRUE(replied(call({"put-back", item, "com.vendor.linked-trash"}), false));
    EXPECT_FALSE(fs::linkStatus(item));
    expectRootItem(elsewhere + "/com.vendor.linked-trash");
}

TEST_F(TrashThroughDaemonTest, ATrashOfAnotherUserIsNeitherFilledNorTakenOver)
{
    tree->makeDirectories(trash());
    ::chmod(trash().c_str(), 0755);  // root's
    const std::string item = rootItem("com.vendor.others-trash");

    EXPECT_TRUE(replied(call({"trash", item, "com.vendor.others-trash"}), false));
    expectRootItem(item);
    EXPECT_TRUE(trashNames().empty());
    struct stat st {};
    ASSERT_EQ(::lstat(trash().c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 0u);
    EXPECT_EQ(st.st_mode & 07777, 0755u);

    // Nor is anything taken out of it.
    ASSERT_EQ(::rename(item.c_str(), (trash() + "/com.vendor.others-trash").c_str()), 0);
    EXPECT_TRUE(replied(call({"put-back", item, "com.vendor.others-trash"}), false));
    EXPECT_FALSE(fs::linkStatus(item));
    expectRootItem(trash() + "/com.vendor.others-trash");
}

TEST_F(TrashThroughDaemonTest, NamesThatAreNotOnePlainNameAreRefused)
{
    const std::string item = rootItem("com.vendor.badly-named");
    tree->makeDirectories(trash() + "/inner");
    ::chown(trash().c_str(), fixtures::unprivilegedUid(), fixtures::unprivilegedGid());
    ::chmod(trash().c_str(), 0700);
    for (const std::string name : {"inner/moved", "..", ".", "", "../escaped", "/abs"}) {
        EXPECT_TRUE(replied(call({"trash", item, name}), false)) << name;
        expectRootItem(item);
        EXPECT_EQ(trashNames(), std::set<std::string>{"inner"}) << name;
        EXPECT_TRUE(trashNames(trash() + "/inner").empty()) << name;
        EXPECT_FALSE(fs::linkStatus(tree->home() + "/escaped")) << name;
    }
    // Out of a folder of the Trash, or from above it, nothing comes back either.
    const std::string kept = rootItem("com.vendor.inner");
    ASSERT_EQ(::rename(kept.c_str(), (trash() + "/inner/com.vendor.inner").c_str()), 0);
    for (const std::string name : {"inner/com.vendor.inner", "..", ""}) {
        EXPECT_TRUE(replied(call({"put-back", kept, name}), false)) << name;
        EXPECT_FALSE(fs::linkStatus(kept)) << name;
    }
    expectRootItem(trash() + "/inner/com.vendor.inner");
}

TEST_F(TrashThroughDaemonTest, OnlyPlacesTheClientMayRemoveFromAreServed)
{
    // Outside the searched folders, a searched folder itself, and the daemon's own bundle.
    const std::string documents = tree->at("~/Documents/Letter");
    tree->writeFile(documents + "/letter.txt", "dear");
    const std::string etc = tree->at("/private/etc/com.vendor.conf");
    tree->writeFile(etc, "setting");
    const std::string searched = tree->at("/Library/Application Support");
    const std::string own = bundle + "/Contents/Resources";
    tree->makeDirectories(own);
    for (const auto& path : {documents, etc, searched, own, job}) {
        EXPECT_TRUE(replied(call({"trash", path, "moved"}), false)) << path;
        EXPECT_TRUE(fs::linkStatus(path)) << path;
    }
    EXPECT_EQ(fs::readFile(documents + "/letter.txt").value_or(""), "dear");
    EXPECT_TRUE(trashNames().empty());

    // Nothing is put back there either: not outside the client's places, not into the daemon's
    // bundle, not over its job file's place.
    tree->makeDirectories(trash());
    ::chown(trash().c_str(), fixtures::unprivilegedUid(), fixtures::unprivilegedGid());
    ::chmod(trash().c_str(), 0700);
    tree->writeFile(trash() + "/planted", "the user's");
    ::chown((trash() + "/planted").c_str(), fixtures::unprivilegedUid(), fixtures::unprivilegedGid());
    const std::string ownJob = tree->at("/Library/LaunchDaemons/com.halvane.ostrova.plist");
    const std::string moved = tree->at("/Library/LaunchDaemons/com.halvane.ostrova.plist.moved");
    ASSERT_EQ(::rename(ownJob.c_str(), moved.c_str()), 0);
    for (const auto& path : {tree->at("~/Documents/planted"), tree->at("/private/etc/planted"), own + "/planted",
                             bundle + "/Contents/MacOS/planted", ownJob}) {
        EXPECT_TRUE(replied(call({"put-back", path, "planted"}), false)) << path;
        EXPECT_FALSE(fs::linkStatus(path)) << path;
    }
    ASSERT_EQ(::rename(moved.c_str(), ownJob.c_str()), 0);
    EXPECT_EQ(fs::readFile(trash() + "/planted").value_or(""), "the user's");
}

TEST_F(TrashThroughDaemonTest, AJobFileGoesToTheTrashOnceItsJobIsUnloaded)
{
    const std::string file = tree->at("/Library/LaunchAgents/com.vendor.trashjob.plist");
    tree->writePlist(file, plist::Value(plist::Dictionary{{"Label", "com.vendor.trashjob"},
                                                          {"ProgramArguments", plist::Array{plist::Value(tree->at("/nothing"))}}}));
    const std::string written = fs::readFile(file).value_or("");
    ASSERT_EQ(fixtures::runProcess({OSTROVA_LAUNCHCTL_PATH, "load", file}).exitCode, 0);
    ASSERT_TRUE(platform::LaunchJobRecord::read("com.vendor.trashjob"));

    // A name that is not one plain name: refused before anything is stopped.
    EXPECT_TRUE(replied(call({"unload-to-trash", file, "../com.vendor.trashjob.plist"}), false));
    const auto still = platform::LaunchJobRecord::read("com.vendor.trashjob");
    EXPECT_TRUE(still && still->loaded());
    EXPECT_EQ(fs::readFile(file).value_or(""), written);

    EXPECT_TRUE(replied(call({"unload-to-trash", file, "com.vendor.trashjob.plist"}), true)) << daemonLog();
    const auto record = platform::LaunchJobRecord::read("com.vendor.trashjob");
    EXPECT_FALSE(record && record->loaded());
    EXPECT_FALSE(fs::linkStatus(file));
    EXPECT_EQ(fs::readFile(trash() + "/com.vendor.trashjob.plist").value_or(""), written);

    // The daemon's own job is neither unloaded nor moved.
    EXPECT_TRUE(replied(call({"unload-to-trash", job, "mine.plist"}), false));
    EXPECT_TRUE(fs::linkStatus(job));
    EXPECT_FALSE(fs::linkStatus(trash() + "/mine.plist"));
    EXPECT_TRUE(answers());
}

// While the daemon moves an item, another thread keeps exchanging the folder above it with a
// link to a decoy folder holding an item of the same name, as the client could in a folder of
// its own. Whatever the daemon moves, it is never the decoy, and nothing else leaves its place.
TEST_F(TrashThroughDaemonTest, AFolderSwappedForALinkIsNeverPassed)
{
    const std::string decoy = tree->at("/private/etc/decoy");
    tree->writeFile(decoy + "/Victim/marker", "decoy");
    long swaps = 0;
    int moved = 0;
    for (int round = 0; round < 150; ++round) {
        const std::string base = tree->at("/Library/Application Support/com.vendor.race" + std::to_string(round));
        const std::string victim = base + "/Work/Victim";
        tree->writeFile(victim + "/marker", "real");
        tree->symlink(decoy, base + "/LinkAbove");
        // The client's own folder: a link in it is none of the system's.
        ::chown(base.c_str(), fixtures::unprivilegedUid(), fixtures::unprivilegedGid());
        const int baseFd = ::open(base.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        ASSERT_GE(baseFd, 0);
        std::atomic<bool> stop{false};
        std::atomic<long> exchanged{0};
        std::thread swapper([&] {
            while (!stop) {
                if (::renameat2(baseFd, "Work", baseFd, "LinkAbove", RENAME_EXCHANGE) == 0)
                    ++exchanged;
            }
        });
        const std::string name = "Victim " + std::to_string(round);
        const bool replied1 = replied(call({"trash", victim, name}), true);
        stop = true;
        swapper.join();
        swaps += exchanged;
        // Back as it was: the folder at Work, the link beside it.
        if (fs::linkStatus(base + "/Work") && S_ISLNK(fs::linkStatus(base + "/Work")->st_mode))
            ::renameat2(baseFd, "Work", baseFd, "LinkAbove", RENAME_EXCHANGE);
        ::close(baseFd);

        ASSERT_EQ(fs::readFile(decoy + "/Victim/marker").value_or(""), "decoy") << "round " << round;
        const bool inTrash = fs::linkStatus(trash() + "/" + name).has_value();
        EXPECT_EQ(inTrash, replied1) << "round " << round;
        if (inTrash) {
            ++moved;
            EXPECT_EQ(fs::readFile(trash() + "/" + name + "/marker").value_or(""), "real") << "round " << round;
            EXPECT_FALSE(fs::linkStatus(victim)) << "round " << round;
        } else {
            EXPECT_EQ(fs::readFile(victim + "/marker").value_or(""), "real") << "round " << round;
        }
    }
    std::printf("%ld swaps, %d of 150 moved\n", swaps, moved);
    EXPECT_GT(swaps, 100);
    EXPECT_EQ(trashNames(decoy), std::set<std::string>{"Victim"});
    EXPECT_EQ(trashNames(decoy + "/Victim"), std::set<std::string>{"marker"});
    EXPECT_EQ(trashNames().size(), static_cast<std::size_t>(moved));
}

}  // namespace
