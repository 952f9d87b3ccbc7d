// Moving into the client's Trash and back through the real daemon, asked by the test client run as
// the unprivileged user (an administrator here) with its home in the tree: root's items of the
// places the client may remove from go into its own ~/.Trash unchanged and come back; everything
// else is refused and left as it was.
#include "daemon/tests/DaemonFixture.h"
#include "fixtures/Unprivileged.h"
#include "platform/FileSystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <set>
#include <tuple>
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
        clearTrash();
    }

    static std::string trash() { return tree->home() + "/.Trash"; }
    // Without a Trash: the daemon makes it.
    static void clearTrash()
    {
        fixtures::MacTree::removeTree(trash());
        ::unlink(trash().c_str());
    }
    // A Trash of the client's own, for it alone.
    static void makeOwnTrash()
    {
        tree->makeDirectories(trash());
        giveToUser(trash());
        ::chmod(trash().c_str(), 0700);
    }

    // A root-owned folder with a file, both with their own modes and times, and an extended
    // attribute on the file when the file system keeps them.
    static std::string rootItem(const std::string& name)
    {
        const std::string folder = tree->at("/Library/Application Support/" + name);
        const std::string data = folder + "/data.bin";
        tree->writeFile(data, "the application's data");
        hasAttribute = ::setxattr(data.c_str(), "user.ostrova.kept", "kept", 4, 0) == 0;
        ::chmod(data.c_str(), 0640);
        ::chmod(folder.c_str(), 0751);
        const timespec times[2] = {{1500000000, 0}, {1500000000, 0}}, folderTimes[2] = {{1400000000, 0}, {1400000000, 0}};
        ::utimensat(AT_FDCWD, data.c_str(), times, AT_SYMLINK_NOFOLLOW);
        ::utimensat(AT_FDCWD, folder.c_str(), folderTimes, AT_SYMLINK_NOFOLLOW);
        return folder;
    }

    // Whether the folder is the one rootItem made, untouched.
    static void expectRootItem(const std::string& folder)
    {
        struct stat st {}, file {};
        ASSERT_EQ(::lstat(folder.c_str(), &st), 0) << folder;
        EXPECT_EQ(std::make_tuple(S_ISDIR(st.st_mode), st.st_uid, st.st_gid, st.st_mode & 07777), std::make_tuple(true, 0u, 0u, 0751u));
        const std::string data = folder + "/data.bin";
        ASSERT_EQ(::lstat(data.c_str(), &file), 0);
        EXPECT_EQ(std::make_tuple(file.st_uid, file.st_mode & 07777, file.st_mtim.tv_sec), std::make_tuple(0u, 0640u, 1500000000L));
        EXPECT_EQ(fs::readFile(data).value_or(""), "the application's data");
        char value[16] = {};
        if (hasAttribute) {
            EXPECT_EQ(std::string(value, std::max(0L, ::getxattr(data.c_str(), "user.ostrova.kept", value, sizeof value))), "kept");
        }
        // Checked last: reading the file does not touch the folder's modification time.
        ASSERT_EQ(::lstat(folder.c_str(), &st), 0);
        EXPECT_EQ(st.st_mtim.tv_sec, 1400000000);
    }

    // What the Trash holds (nothing when it is missing).
    static std::set<std::string> trashNames(const std::string& folder = trash())
    {
        const auto names = fs::listDirectory(folder).value_or(std::vector<std::string>{});
        return {names.begin(), names.end()};
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
    EXPECT_TRUE(served({"trash", item, "com.vendor.trashed 2"})) << daemonLog();
    EXPECT_FALSE(fs::linkStatus(item));
    const std::string trashed = trash() + "/com.vendor.trashed 2";
    expectRootItem(trashed);
    EXPECT_EQ(inodeOf(trashed), inode);
    EXPECT_EQ(trashNames(), std::set<std::string>{"com.vendor.trashed 2"});
    // The Trash the daemon made is the client's own, for it alone.
    const auto made = fs::linkStatus(trash());
    ASSERT_TRUE(made);
    EXPECT_EQ(std::make_tuple(made->st_mode & 0170777, made->st_uid), std::make_tuple(S_IFDIR | 0700u, fixtures::unprivilegedUid()));

    EXPECT_TRUE(served({"put-back", item, "com.vendor.trashed 2"})) << daemonLog();
    expectRootItem(item);
    EXPECT_EQ(inodeOf(item), inode);
    EXPECT_TRUE(trashNames().empty());

    // HOME only narrows the account's home: a folder of the client's outside it (here outside the
    // system the daemon serves, too) gets no Trash; the item goes to the account's own Trash.
    char pattern[] = "/tmp/ostrova-outside-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    const std::string outside = pattern;
    giveToUser(outside);
    EXPECT_TRUE(replied(call({"trash", item, "com.vendor.outside"}, app, true, outside), true)) << daemonLog();
    EXPECT_FALSE(fs::linkStatus(item));
    EXPECT_EQ(trashNames(), std::set<std::string>{"com.vendor.outside"});
    EXPECT_FALSE(fs::linkStatus(outside + "/.Trash"));
    fixtures::MacTree::removeTree(outside);
}

// Put back only restores what root put in the Trash, and never over what took the place since:
// an item of the client's own making, or a second name it gave a file of root's, would be planted
// in root's places.
TEST_F(TrashThroughDaemonTest, OnlyWhatRootMovedIsPutBackAndNeverOverAnything)
{
    const std::string place = tree->at("/Library/Application Support/com.vendor.planted");
    const std::string item = rootItem("com.vendor.replaced");
    ASSERT_TRUE(served({"trash", item, "com.vendor.replaced"})) << daemonLog();
    tree->writeFile(trash() + "/com.vendor.planted", "the client's own");
    giveToUser(trash() + "/com.vendor.planted");
    const std::string rootFile = file(tree->at("/Library/Application Support/com.vendor.root.conf"), "root's");
    ASSERT_EQ(::link(rootFile.c_str(), (trash() + "/com.vendor.linked").c_str()), 0);
    for (const char* name : {"com.vendor.planted", "com.vendor.linked"}) {
        EXPECT_TRUE(refused({"put-back", place, name})) << name;
        EXPECT_FALSE(fs::linkStatus(place)) << name;
    }

    // A file in the place, or a folder, empty as it is.
    tree->writeFile(item, "new in its place");
    EXPECT_TRUE(refused({"put-back", item, "com.vendor.replaced"}));
    EXPECT_EQ(fs::readFile(item).value_or(""), "new in its place");
    expectRootItem(trash() + "/com.vendor.replaced");
    ::unlink(item.c_str());
    tree->makeDirectories(item);
    EXPECT_TRUE(refused({"put-back", item, "com.vendor.replaced"}));
    EXPECT_TRUE(trashNames(item).empty());
    expectRootItem(trash() + "/com.vendor.replaced");
}

// A name the Trash holds is not replaced, a file or an empty folder; a name that is not one plain
// name is refused, into the Trash and out of it.
TEST_F(TrashThroughDaemonTest, OnlyAPlainNameTheTrashDoesNotHoldIsTaken)
{
    makeOwnTrash();
    tree->makeDirectories(trash() + "/inner");
    tree->writeFile(trash() + "/taken", "the user's");
    const std::string item = rootItem("com.vendor.taken");
    EXPECT_TRUE(refused({"trash", item, "taken"}));
    expectRootItem(item);
    EXPECT_EQ(fs::readFile(trash() + "/taken").value_or(""), "the user's");
    ::unlink((trash() + "/taken").c_str());
    tree->makeDirectories(trash() + "/taken");
    EXPECT_TRUE(refused({"trash", item, "taken"}));
    expectRootItem(item);
    EXPECT_TRUE(trashNames(trash() + "/taken").empty());
    ::rmdir((trash() + "/taken").c_str());

    for (const std::string name : {"inner/moved", "..", ".", "", "../escaped", "/abs"}) {
        EXPECT_TRUE(refused({"trash", item, name})) << name;
        expectRootItem(item);
        EXPECT_EQ(trashNames(), std::set<std::string>{"inner"}) << name;
        EXPECT_TRUE(trashNames(trash() + "/inner").empty()) << name;
        EXPECT_FALSE(fs::linkStatus(tree->home() + "/escaped")) << name;
    }
    // Out of a folder of the Trash, or from above it, nothing comes back either.
    ASSERT_EQ(::rename(item.c_str(), (trash() + "/inner/com.vendor.inner").c_str()), 0);
    for (const std::string name : {"inner/com.vendor.inner", "..", ""}) {
        EXPECT_TRUE(refused({"put-back", item, name})) << name;
        EXPECT_FALSE(fs::linkStatus(item)) << name;
    }
    expectRootItem(trash() + "/inner/com.vendor.inner");
}

// A Trash that is a link, or root's, is neither filled nor emptied.
TEST_F(TrashThroughDaemonTest, ATrashThatIsNotTheClientsOwnIsNeitherFilledNorEmptied)
{
    const std::string elsewhere = tree->at("/Users/Shared/elsewhere");
    tree->makeDirectories(elsewhere);
    giveToUser(elsewhere);
    for (const bool link : {true, false}) {
        clearTrash();
        if (link) {
            tree->symlink(elsewhere, trash());
        } else {
            tree->makeDirectories(trash());
            ::chmod(trash().c_str(), 0755);  // root's
        }
        const std::string folder = link ? elsewhere : trash();
        const std::string item = rootItem("com.vendor.foreign-trash");
        EXPECT_TRUE(refused({"trash", item, "com.vendor.foreign-trash"})) << link;
        expectRootItem(item);
        EXPECT_TRUE(trashNames(folder).empty()) << link;
        const auto st = fs::linkStatus(trash());
        ASSERT_TRUE(st);
        EXPECT_EQ(std::make_tuple(st->st_mode & 0170777, st->st_uid), std::make_tuple(link ? S_IFLNK | 0777u : S_IFDIR | 0755u, 0u));

        ASSERT_EQ(::rename(item.c_str(), (folder + "/com.vendor.foreign-trash").c_str()), 0);
        EXPECT_TRUE(refused({"put-back", item, "com.vendor.foreign-trash"})) << link;
        EXPECT_FALSE(fs::linkStatus(item)) << link;
        expectRootItem(folder + "/com.vendor.foreign-trash");
        fixtures::MacTree::removeTree(folder + "/com.vendor.foreign-trash");
    }
}

TEST_F(TrashThroughDaemonTest, OnlyPlacesTheClientMayRemoveFromAreServed)
{
    // Outside the searched folders, a searched folder itself, and the daemon's own bundle.
    const std::string documents = tree->at("~/Documents/Letter");
    tree->writeFile(documents + "/letter.txt", "dear");
    const std::string etc = file(tree->at("/private/etc/com.vendor.conf"), "setting");
    const std::string own = bundle + "/Contents/Resources";
    tree->makeDirectories(own);
    for (const auto& path : {documents, etc, tree->at("/Library/Application Support"), own, job}) {
        EXPECT_TRUE(refused({"trash", path, "moved"})) << path;
        EXPECT_TRUE(fs::linkStatus(path)) << path;
    }
    EXPECT_EQ(fs::readFile(documents + "/letter.txt").value_or(""), "dear");
    EXPECT_TRUE(trashNames().empty());

    // Nothing is put back there either: not outside the client's places, not into the daemon's
    // bundle, not over its job file's place.
    makeOwnTrash();
    tree->writeFile(trash() + "/planted", "the user's");
    giveToUser(trash() + "/planted");
    const std::string moved = job + ".moved";
    ASSERT_EQ(::rename(job.c_str(), moved.c_str()), 0);
    for (const auto& path : {tree->at("~/Documents/planted"), tree->at("/private/etc/planted"), own + "/planted",
                             bundle + "/Contents/MacOS/planted", job}) {
        EXPECT_TRUE(refused({"put-back", path, "planted"})) << path;
        EXPECT_FALSE(fs::linkStatus(path)) << path;
    }
    ASSERT_EQ(::rename(moved.c_str(), job.c_str()), 0);
    EXPECT_EQ(fs::readFile(trash() + "/planted").value_or(""), "the user's");
}

TEST_F(TrashThroughDaemonTest, AJobFileGoesToTheTrashOnceItsJobIsUnloaded)
{
    const std::string file = writeJob(tree->at("/Library/LaunchAgents/com.vendor.trashjob.plist"), "com.vendor.trashjob",
                                      tree->at("/nothing"), {});
    const std::string written = fs::readFile(file).value_or("");
    ASSERT_EQ(launchctl("load", file), 0);
    ASSERT_TRUE(loaded("com.vendor.trashjob"));

    // A name that is not one plain name: refused before anything is stopped.
    EXPECT_TRUE(refused({"unload-to-trash", file, "../com.vendor.trashjob.plist"}));
    EXPECT_TRUE(loaded("com.vendor.trashjob"));
    EXPECT_EQ(fs::readFile(file).value_or(""), written);

    EXPECT_TRUE(served({"unload-to-trash", file, "com.vendor.trashjob.plist"})) << daemonLog();
    EXPECT_FALSE(loaded("com.vendor.trashjob"));
    EXPECT_FALSE(fs::linkStatus(file));
    EXPECT_EQ(fs::readFile(trash() + "/com.vendor.trashjob.plist").value_or(""), written);

    // The daemon's own job is neither unloaded nor moved.
    EXPECT_TRUE(refused({"unload-to-trash", job, "mine.plist"}));
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
        giveToUser(base);
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
        const bool replied1 = served({"trash", victim, name});
        stop = true;
        swapper.join();
        swaps += exchanged;
        // Back as it was: the folder at Work, the link beside it.
        if (fs::linkStatus(base + "/Work") && S_ISLNK(fs::linkStatus(base + "/Work")->st_mode))
            ::renameat2(baseFd, "Work", baseFd, "LinkAbove", RENAME_EXCHANGE);
        ::close(baseFd);

        SCOPED_TRACE("round " + std::to_string(round));
        ASSERT_EQ(fs::readFile(decoy + "/Victim/marker").value_or(""), "decoy");
        const bool inTrash = fs::linkStatus(trash() + "/" + name).has_value();
        EXPECT_EQ(inTrash, replied1);
        moved += inTrash;
        EXPECT_EQ(fs::readFile((inTrash ? trash() + "/" + name : victim) + "/marker").value_or(""), "real");
        EXPECT_EQ(fs::linkStatus(victim).has_value(), !inTrash);
    }
    EXPECT_GT(swaps, 100) << moved << " of 150 moved";
    EXPECT_EQ(trashNames(decoy), std::set<std::string>{"Victim"});
    EXPECT_EQ(trashNames(decoy + "/Victim"), std::set<std::string>{"marker"});
    EXPECT_EQ(trashNames().size(), static_cast<std::size_t>(moved));
}

}  // namespace
