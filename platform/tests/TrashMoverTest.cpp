// Moving into the Trash and back with real files: what a move keeps, the names a full Trash gives,
// the links and foreign Trash folders it refuses, a file system that cannot rename without
// replacing, a second volume (a tmpfs in a private mount namespace, where the test may make one)
// and a read-only one.
#include "fixtures/MacTree.h"
#include "fixtures/SystemCallFault.h"
#include "fixtures/Unprivileged.h"
#include "platform/FileSystem.h"
#include "platform/SystemCalls.h"
#include "platform/TrashMover.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <functional>
#include <optional>
#include <set>
#include <utility>
#include <vector>

namespace {

using platform::TrashMover;

// A file system that refuses the no-replace rename (EINVAL), as some do, with steps of a test run
// at the calls that follow: at the refusal, just before a plain rename or a link, just after a link.
// Other calls go to the table installed before (a fault's, say).
class NoReplaceRefused {
public:
    struct Steps {
        std::function<void()> atRefusal, beforeLastStep, afterLink;
    };

    explicit NoReplaceRefused(Steps steps) : steps_(std::move(steps))
    {
        current() = this;
        table_ = platform::sys::calls();
        table_.renameat = [](int fromFolder, const char* from, int toFolder, const char* to, unsigned flags) {
            NoReplaceRefused& self = *current();
            if (flags & platform::sys::kRenameNoReplace) {
                run(self.steps_.atRefusal);
                errno = EINVAL;
                return -1;
            }
            ++self.plainRenames;
            run(self.steps_.beforeLastStep);
            return self.previous_->renameat(fromFolder, from, toFolder, to, flags);
        };
        table_.linkat = [](int fromFolder, const char* from, int toFolder, const char* to) {
            NoReplaceRefused& self = *current();
            run(self.steps_.beforeLastStep);
            const int result = self.previous_->linkat(fromFolder, from, toFolder, to);
            const int error = errno;
            if (result == 0)
                run(self.steps_.afterLink);
            errno = error;
            return result;
        };
        previous_ = platform::sys::install(&table_);
    }
    ~NoReplaceRefused()
    {
        platform::sys::install(previous_);
        current() = nullptr;
    }
    NoReplaceRefused(const NoReplaceRefused&) = delete;
    NoReplaceRefused& operator=(const NoReplaceRefused&) = delete;

    int plainRenames = 0;

private:
    static NoReplaceRefused*& current()
    {
        static NoReplaceRefused* installed = nullptr;
        return installed;
    }
    static void run(std::function<void()>& step)
    {
        if (step)
            std::exchange(step, nullptr)();  // once
    }

    Steps steps_;
    platform::sys::SystemCalls table_{};
    const platform::sys::SystemCalls* previous_ = nullptr;
};

class TrashMoverTest : public ::testing::Test {
protected:
    void SetUp() override { tree.activate(); }

    TrashMover::Owner owner() const { return TrashMover::currentUser(tree.at("~")); }
    std::string trash() const { return owner().home + "/.Trash"; }

    // A tmpfs at `path`, seen only by this process (and its children); false where mounting is
    // not allowed here.
    static bool mountPrivateTmpfs(const std::string& path, std::string& why)
    {
        static bool ownNamespace = ::unshare(CLONE_NEWNS) == 0 && ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
        if (!ownNamespace) {
            why = "no private mount namespace here";
            return false;
        }
        platform::fs::makeDirectories(path);
        if (::mount("tmpfs", path.c_str(), "tmpfs", 0, "size=4m") != 0) {
            why = std::string("tmpfs cannot be mounted: ") + std::strerror(errno);
            return false;
        }
        return true;
    }

    fixtures::MacTree tree;
};

TEST_F(TrashMoverTest, NumberedNamesGoBeforeTheExtensionOfFilesAndPackagesOnly)
{
    for (const auto& [name, number, folder, numbered] :
         {std::tuple{"a.txt", 1, false, "a.txt"}, {"a.txt", 2, false, "a 2.txt"}, {"Notes", 2, false, "Notes 2"},
          {"com.vendor.notes.plist", 3, false, "com.vendor.notes 3.plist"}, {"com.vendor.app", 2, true, "com.vendor 2.app"},
          {".hidden", 2, false, ".hidden 2"},
          {"Quillpad.app", 2, true, "Quillpad 2.app"}, {"com.vendor.notes", 2, true, "com.vendor.notes 2"},
          {"x.savedState", 2, true, "x 2.savedState"}})
        EXPECT_EQ(TrashMover::numberedName(name, number, folder), numbered) << name << " " << number;
}

// The free name is the first number the folder does not hold (each held name here is a dangling
// link: a name is held whatever it points to) and no other item of the run has planned; a folder
// not made yet (-1) holds nothing; a name `take` finds taken meanwhile gives the next.
TEST_F(TrashMoverTest, AFreeNameIsTheFirstNumberNeitherHeldNorPlanned)
{
    struct Case {
        const char* name;
        bool isFolder;
        std::vector<std::string> held;
        std::set<std::string> planned;
        int takenMeanwhile;
        const char* expected;
    };
    const Case cases[] = {
        {"Notes", false, {}, {}, 0, "Notes"},
        {"Notes", false, {"Notes"}, {}, 0, "Notes 2"},
        {"Notes", false, {"Notes", "Notes 2"}, {}, 0, "Notes 3"},
        {"Notes", true, {"Notes 2"}, {"Notes"}, 0, "Notes 3"},
        {"Notes.app", true, {"Notes.app", "Notes 2.app"}, {}, 0, "Notes 3.app"},
        {"a.txt", false, {"a.txt", "a 2.txt"}, {}, 0, "a 3.txt"},
        {"com.vendor.notes", true, {"com.vendor.notes"}, {}, 0, "com.vendor.notes 2"},
        {"Notes", false, {"Notes"}, {}, 2, "Notes 4"},
    };
    int row = 0;
    for (const auto& c : cases) {
        const std::string folder = tree.at("/Trash " + std::to_string(++row));
        tree.makeDirectories(folder);
        for (const auto& name : c.held)
            tree.symlink("missing", folder + "/" + name);
        const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ASSERT_GE(fd, 0) << folder;
        int refusals = c.takenMeanwhile;
        const auto take = [&](const std::string&) { return refusals-- <= 0; };
        EXPECT_EQ(TrashMover::freeName(fd, c.name, c.isFolder, c.planned, take), c.expected) << "row " << row;
        ::close(fd);
    }
    EXPECT_EQ(TrashMover::freeName(-1, "Notes", false), "Notes");
    EXPECT_EQ(TrashMover::freeName(-1, "Notes", false, {"Notes"}), "Notes 2");

    // The numbers end at kMaxNumberedNames, for the mover, the daemon and the planned places alike.
    std::set<std::string> planned;
    for (int number = 1; number < TrashMover::kMaxNumberedNames; ++number)
        planned.insert(TrashMover::numberedName("a.txt", number));
    const std::string last = TrashMover::numberedName("a.txt", TrashMover::kMaxNumberedNames);
    EXPECT_EQ(TrashMover::freeName(-1, "a.txt", false, planned), last);
    planned.insert(last);
    EXPECT_EQ(TrashMover::freeName(-1, "a.txt", false, planned), "");
}

TEST_F(TrashMoverTest, AMoveKeepsTheItemWholeAndPutBackReturnsIt)
{
    const std::string folder = tree.at("~/Library/Caches/com.vendor.notes");
    const std::string file = folder + "/Cache.db";
    tree.writeFile(file, "cached");
    ::chmod(file.c_str(), 0640);
    const timespec times[2] = {{1600000000, 0}, {1600000000, 0}};
    ::utimensat(AT_FDCWD, file.c_str(), times, AT_SYMLINK_NOFOLLOW);
    const bool xattrs = ::setxattr(file.c_str(), "user.origin", "web", 3, 0) == 0;
    struct stat before {};
    ASSERT_EQ(::lstat(file.c_str(), &before), 0);

    std::string heard;
    const auto moved = TrashMover::moveToTrash(folder, owner(), [&](const std::string& planned) { heard = planned; });
    ASSERT_TRUE(moved.ok) << moved.why;
    EXPECT_EQ(moved.trashPath, trash() + "/com.vendor.notes");
    EXPECT_EQ(heard, moved.trashPath);
    EXPECT_FALSE(platform::fs::linkStatus(folder));
    struct stat inTrash {};
    ASSERT_EQ(::lstat((moved.trashPath + "/Cache.db").c_str(), &inTrash), 0);
    EXPECT_EQ(inTrash.st_ino, before.st_ino);
    EXPECT_EQ(inTrash.st_mode, before.st_mode);
    EXPECT_EQ(inTrash.st_mtim.tv_sec, 1600000000);

    const auto back = TrashMover::putBack(moved.trashPath, folder);
    ASSERT_TRUE(back.ok) << back.why;
    struct stat after {};
    ASSERT_EQ(::lstat(file.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_uid, before.st_uid);
    EXPECT_EQ(after.st_mode, before.st_mode);
    EXPECT_EQ(after.st_mtim.tv_sec, 1600000000);
    if (xattrs) {
        char value[8] = {};
        EXPECT_EQ(::getxattr(file.c_str(), "user.origin", value, sizeof value), 3);
        EXPECT_STREQ(value, "web");
    }
    EXPECT_FALSE(platform::fs::linkStatus(moved.trashPath));
}

TEST_F(TrashMoverTest, TakenNamesAreNumberedAndNothingInTheTrashIsReplaced)
{
    tree.writeFile(trash() + "/com.vendor.notes.plist", "older");
    tree.writeFile(trash() + "/com.vendor.notes 2.plist", "old");
    tree.writeFile(trash() + "/com.vendor.notes/keep", "kept");
    const std::string preferences = tree.at("~/Library/Preferences/com.vendor.notes.plist");
    const std::string support = tree.at("~/Library/Application Support/com.vendor.notes");
    tree.writeFile(preferences, "new");
    tree.writeFile(support + "/data", "d");

    const auto first = TrashMover::moveToTrash(preferences, owner());
    ASSERT_TRUE(first.ok) << first.why;
    EXPECT_EQ(first.trashPath, trash() + "/com.vendor.notes 3.plist");
    EXPECT_EQ(platform::fs::readFile(first.trashPath), "new");
    EXPECT_EQ(platform::fs::readFile(trash() + "/com.vendor.notes.plist"), "older");
    EXPECT_EQ(platform::fs::readFile(trash() + "/com.vendor.notes 2.plist"), "old");

    const auto second = TrashMover::moveToTrash(support, owner());
    ASSERT_TRUE(second.ok) << second.why;
    EXPECT_EQ(second.trashPath, trash() + "/com.vendor.notes 2");
    EXPECT_EQ(platform::fs::readFile(trash() + "/com.vendor.notes/keep"), "kept");

    // A put back whose place holds something again replaces nothing.
    tree.writeFile(preferences, "written since");
    const auto back = TrashMover::putBack(first.trashPath, preferences);
    EXPECT_FALSE(back.ok);
    EXPECT_EQ(back.error, EEXIST);
    EXPECT_EQ(platform::fs::readFile(preferences), "written since");
    EXPECT_EQ(platform::fs::readFile(first.trashPath), "new");
}

TEST_F(TrashMoverTest, NeverThroughALinkNorIntoATrashThatIsNotTheUsers)
{
    const std::string decoy = tree.at("/Decoy");
    tree.writeFile(decoy + "/precious/file", "p");
    // A folder on the way that is a link.
    const std::string linked = tree.at("~/Library/Linked");
    ASSERT_EQ(::symlink(decoy.c_str(), linked.c_str()), 0);
    const auto throughLink = TrashMover::moveToTrash(linked + "/precious", owner());
    EXPECT_FALSE(throughLink.ok);
    EXPECT_TRUE(platform::fs::linkStatus(decoy + "/precious/file"));

    const std::string item = tree.at("~/Library/Caches/com.vendor.notes");
    tree.writeFile(item + "/c", "c");
    // The Trash a link to elsewhere.
    ::rmdir(trash().c_str());
    ASSERT_EQ(::symlink(decoy.c_str(), trash().c_str()), 0);
    const auto intoLink = TrashMover::moveToTrash(item, owner());
    EXPECT_FALSE(intoLink.ok);
    EXPECT_EQ(intoLink.error, ENOTDIR);
    EXPECT_TRUE(platform::fs::linkStatus(item + "/c"));
    EXPECT_FALSE(platform::fs::linkStatus(decoy + "/com.vendor.notes"));

    // The Trash a file: no Trash to be had on that volume.
    ASSERT_EQ(::unlink(trash().c_str()), 0);
    tree.writeFile(trash(), "not a folder");
    EXPECT_EQ(TrashMover::moveToTrash(item, owner()).error, ENOTDIR);
    EXPECT_TRUE(platform::fs::linkStatus(item + "/c"));

    if (::geteuid() == 0) {
        // Another user's folder where the Trash should be.
        ASSERT_EQ(::unlink(trash().c_str()), 0);
        ASSERT_EQ(::mkdir(trash().c_str(), 0700), 0);
        ASSERT_EQ(::chown(trash().c_str(), fixtures::unprivilegedUid(), fixtures::unprivilegedGid()), 0);
        EXPECT_EQ(TrashMover::moveToTrash(item, owner()).error, ENOTDIR);
        EXPECT_TRUE(platform::fs::linkStatus(item + "/c"));
        // Made for that user by root, it is theirs.
        ASSERT_EQ(::rmdir(trash().c_str()), 0);
        TrashMover::Owner other = owner();
        other.uid = fixtures::unprivilegedUid();
        other.gid = fixtures::unprivilegedGid();
        std::string why;
        const int made = TrashMover::openTrash(trash(), other, true, why);
        ASSERT_GE(made, 0) << why;
        ::close(made);
        const auto st = platform::fs::linkStatus(trash());
        ASSERT_TRUE(st);
        EXPECT_EQ(st->st_uid, fixtures::unprivilegedUid());
        EXPECT_EQ(st->st_mode & 07777, 0700u);
    }
}

TEST_F(TrashMoverTest, AFailedRenameLeavesTheItemAndSaysWhy)
{
    const std::string item = tree.at("~/Library/Caches/com.vendor.notes");
    tree.writeFile(item + "/c", "c");
    {
        fixtures::ScopedSystemCallFault denied(fixtures::SystemCall::renameat, EACCES);
        const auto moved = TrashMover::moveToTrash(item, owner());
        EXPECT_FALSE(moved.ok);
        EXPECT_EQ(moved.error, EACCES);
    }
    {
        fixtures::ScopedSystemCallFault otherDevice(fixtures::SystemCall::renameat, EXDEV);
        EXPECT_EQ(TrashMover::moveToTrash(item, owner()).error, EXDEV);
    }
    EXPECT_TRUE(platform::fs::linkStatus(item + "/c"));
    EXPECT_FALSE(platform::fs::linkStatus(trash() + "/com.vendor.notes"));
    // A Trash that cannot be made for want of rights asks for more of them.
    ::rmdir(trash().c_str());
    {
        fixtures::ScopedSystemCallFault denied(fixtures::SystemCall::mkdirat, EACCES, 1, 1, ".Trash");
        EXPECT_EQ(TrashMover::moveToTrash(item, owner()).error, EACCES);
    }
    EXPECT_TRUE(TrashMover::moveToTrash(item, owner()).ok);
}

// Where the file system refuses the no-replace rename, a file moves by a second name and the old
// one's removal, never by a plain rename that could replace what appeared meanwhile; a folder is
// not moved at all.
TEST_F(TrashMoverTest, WithoutANoReplaceRenameAFileMovesByALinkAndAFolderNotAtAll)
{
    enum class Kind { file, folder, link };
    enum class Appears { never, atRefusal, atLastStep };
    struct Case {
        const char* what;
        Kind kind;
        Appears intruder;  // another file under the Trash name
        bool replacedAfterLink;  // the old name given to another file right after the link
        int linkError;
        int unlinkError;
        int error;  // 0: moved
        const char* atOrigin;  // "item", "other" or "" (nothing)
        const char* inTrash;   // "item", "intruder" or ""
    };
    const Case cases[] = {
        {"a file moves", Kind::file, Appears::never, false, 0, 0, 0, "", "item"},
        {"a link moves as itself", Kind::link, Appears::never, false, 0, 0, 0, "", "item"},
        {"a name taken at the refusal", Kind::file, Appears::atRefusal, false, 0, 0, EEXIST, "item", "intruder"},
        {"a name taken at the last moment", Kind::file, Appears::atLastStep, false, 0, 0, EEXIST, "item", "intruder"},
        {"a folder", Kind::folder, Appears::never, false, 0, 0, EOPNOTSUPP, "item", ""},
        {"a link refused", Kind::file, Appears::never, false, EMLINK, 0, EMLINK, "item", ""},
        {"an old name that cannot be removed", Kind::file, Appears::never, false, 0, EACCES, EACCES, "item", ""},
        {"an old name given to another meanwhile", Kind::file, Appears::never, true, 0, 0, 0, "other", "item"},
    };
    const std::string folder = tree.at("~/Library/Caches");
    const std::string target = tree.at("/Elsewhere/target");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string item = folder + "/Cache.db";
        const std::string trashPath = trash() + "/Cache.db";
        TrashMover::Owner user = owner();
        std::string why;
        const int trashFolder = TrashMover::openTrash(trash(), user, true, why);
        ASSERT_GE(trashFolder, 0) << why;
        tree.writeFile(target, "target");
        if (c.kind == Kind::file)
            tree.writeFile(item, "item");
        else if (c.kind == Kind::folder)
            tree.writeFile(item + "/inside", "item");
        else
            ASSERT_EQ(::symlink(target.c_str(), item.c_str()), 0);
        struct stat original {};
        ASSERT_EQ(::lstat(item.c_str(), &original), 0);
        const auto whatIsAt = [&](const std::string& path) -> std::string {
            struct stat st {};
            if (::lstat(path.c_str(), &st) != 0)
                return "";
            if (st.st_dev == original.st_dev && st.st_ino == original.st_ino)
                return "item";
            return platform::fs::readFile(path).value_or("?");
        };
        const auto intrude = [&] { tree.writeFile(trashPath, "intruder"); };
        NoReplaceRefused::Steps steps;
        if (c.intruder == Appears::atRefusal)
            steps.atRefusal = intrude;
        if (c.intruder == Appears::atLastStep)
            steps.beforeLastStep = intrude;
        if (c.replacedAfterLink) {
            steps.afterLink = [&] {
                tree.writeFile(folder + "/other", "other");
                ASSERT_EQ(std::rename((folder + "/other").c_str(), item.c_str()), 0);
            };
        }
        TrashMover::Result moved;
        int plainRenames = 0;
        {
            std::optional<fixtures::ScopedSystemCallFault> linkFault, unlinkFault;
            if (c.linkError)
                linkFault.emplace(fixtures::SystemCall::linkat, c.linkError);
            if (c.unlinkError)
                unlinkFault.emplace(fixtures::SystemCall::unlinkat, c.unlinkError);
            NoReplaceRefused refused(std::move(steps));
            moved = TrashMover::moveNamed(item, trashFolder, trash(), "Cache.db");
            plainRenames = refused.plainRenames;
        }
        ::close(trashFolder);
        EXPECT_EQ(moved.ok, c.error == 0) << moved.why;
        EXPECT_EQ(moved.error, c.error) << moved.why;
        EXPECT_EQ(plainRenames, 0);
        EXPECT_EQ(whatIsAt(item), c.atOrigin);
        EXPECT_EQ(whatIsAt(trashPath), c.inTrash);
        EXPECT_EQ(whatIsAt(target), "target");
        if (c.kind == Kind::folder) {
            EXPECT_EQ(platform::fs::readFile(item + "/inside"), "item");
        }
        fixtures::MacTree::removeTree(item);
        fixtures::MacTree::removeTree(trashPath);
    }
}

// The same fallback, forced by the system-call table, both ways: into the Trash onto a name it
// holds, and back onto a place taken since. Only the one no-replace rename is refused, so a
// fallback that renamed plainly would go through and replace what is there.
TEST_F(TrashMoverTest, TheFallbackForARefusedNoReplaceRenameTakesNoNameThatIsTaken)
{
    const std::string item = tree.at("~/Library/Preferences/com.vendor.notes.plist");
    std::string why;
    const int trashFolder = TrashMover::openTrash(trash(), owner(), true, why);
    ASSERT_GE(trashFolder, 0) << why;
    struct Case {
        const char* what;
        const char* takenBy;  // what holds the name the move goes to
        bool intoTrash;       // else back out of it
        int error;
    };
    const Case cases[] = {
        {"into the Trash, the name free", nullptr, true, 0},
        {"into the Trash, the name taken", "in the Trash", true, EEXIST},
        {"back, the place free", nullptr, false, 0},
        {"back, the place taken", "written since", false, EEXIST},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string from = c.intoTrash ? item : trash() + "/moved.plist";
        const std::string to = c.intoTrash ? trash() + "/moved.plist" : item;
        tree.writeFile(from, "item");
        if (c.takenBy)
            tree.writeFile(to, c.takenBy);
        const auto original = platform::fs::linkStatus(from);
        ASSERT_TRUE(original);
        TrashMover::Result moved;
        {
            fixtures::ScopedSystemCallFault refused(fixtures::SystemCall::renameat, EINVAL, 1, 1);
            fixtures::ScopedSystemCallTrace trace;
            moved = c.intoTrash ? TrashMover::moveNamed(from, trashFolder, trash(), "moved.plist") : TrashMover::moveBack(trashFolder, "moved.plist", to);
            EXPECT_EQ(refused.failed(), 1u);
            EXPECT_EQ(trace.of(fixtures::SystemCall::linkat).size(), 1u);
        }
        EXPECT_EQ(moved.error, c.error) << moved.why;
        EXPECT_EQ(moved.ok, c.error == 0);
        const auto there = platform::fs::linkStatus(to);
        ASSERT_TRUE(there);
        EXPECT_EQ(there->st_ino == original->st_ino, c.error == 0);
        EXPECT_EQ(platform::fs::readFile(to), c.takenBy ? c.takenBy : "item");
        EXPECT_EQ(platform::fs::readFile(from), c.error ? std::optional<std::string>("item") : std::nullopt);
        fixtures::MacTree::removeTree(from);
        fixtures::MacTree::removeTree(to);
    }
    ::close(trashFolder);
}

TEST_F(TrashMoverTest, AnotherVolumeHasATrashOfItsOwnAndAReadOnlyOneNone)
{
    const std::string volume = tree.at("/Volumes/Stick");
    std::string why;
    if (!mountPrivateTmpfs(volume, why))
        GTEST_SKIP() << why;
    const std::string item = volume + "/Projects/com.vendor.notes";
    tree.writeFile(item + "/notes.txt", "n");

    const auto moved = TrashMover::moveToTrash(item, owner());
    ASSERT_TRUE(moved.ok) << moved.why;
    const std::string expected = volume + "/.Trashes/" + std::to_string(::geteuid());
    EXPECT_EQ(moved.trashPath, expected + "/com.vendor.notes");
    const auto trashes = platform::fs::linkStatus(expected);
    ASSERT_TRUE(trashes);
    EXPECT_EQ(trashes->st_uid, ::geteuid());
    EXPECT_EQ(trashes->st_mode & 07777, 0700u);
    EXPECT_FALSE(platform::fs::linkStatus(trash() + "/com.vendor.notes"));
    ASSERT_TRUE(TrashMover::putBack(moved.trashPath, item).ok);

    ASSERT_EQ(::mount(nullptr, volume.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0) << std::strerror(errno);
    const auto readOnly = TrashMover::moveToTrash(item, owner());
    EXPECT_FALSE(readOnly.ok);
    EXPECT_EQ(readOnly.error, EROFS);
    EXPECT_TRUE(platform::fs::linkStatus(item + "/notes.txt"));
    ::umount2(volume.c_str(), MNT_DETACH);
}

}  // namespace
