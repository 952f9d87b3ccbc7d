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
#include "platform/tests/RefusedWith.h"

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
#include <functional>
#include <optional>
#include <set>

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
        current = this;
        table_ = platform::sys::calls();
        table_.renameat = [](int fromFolder, const char* from, int toFolder, const char* to, unsigned flags) {
            NoReplaceRefused& self = *current;
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
            NoReplaceRefused& self = *current;
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
    ~NoReplaceRefused() { platform::sys::install(previous_); }
    NoReplaceRefused(const NoReplaceRefused&) = delete;
    NoReplaceRefused& operator=(const NoReplaceRefused&) = delete;
    int plainRenames = 0;

private:
    static inline NoReplaceRefused* current = nullptr;
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
    const std::string folder = tree.at("~/Library/Caches/com.vendor.notes"), file = folder + "/Cache.db";
    tree.writeFile(file, "cached");
    ::chmod(file.c_str(), 0640);
    const timespec times[2] = {{1600000000, 0}, {1600000000, 0}};
    ::utimensat(AT_FDCWD, file.c_str(), times, AT_SYMLINK_NOFOLLOW);
    const bool xattrs = ::setxattr(file.c_str(), "user.origin", "web", 3, 0) == 0;
    const auto before = platform::fs::linkStatus(file);
    ASSERT_TRUE(before);
    const auto expectSameFile = [&](const std::string& path) {
        const auto st = platform::fs::linkStatus(path);
        ASSERT_TRUE(st) << path;
        EXPECT_EQ(st->st_ino, before->st_ino);
        EXPECT_EQ(st->st_uid, before->st_uid);
        EXPECT_EQ(st->st_mode, before->st_mode);
        EXPECT_EQ(st->st_mtim.tv_sec, 1600000000);
    };
    std::string heard;
    const auto moved = TrashMover::moveToTrash(folder, owner(), [&](const std::string& planned) { heard = planned; });
    ASSERT_TRUE(moved.ok) << moved.why;
    EXPECT_EQ(moved.trashPath, trash() + "/com.vendor.notes");
    EXPECT_EQ(heard, moved.trashPath);
    EXPECT_FALSE(platform::fs::linkStatus(folder));
    expectSameFile(moved.trashPath + "/Cache.db");
    const auto back = TrashMover::putBack(moved.trashPath, folder);
    ASSERT_TRUE(back.ok) << back.why;
    expectSameFile(file);
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
    EXPECT_TRUE(refusedWith(TrashMover::putBack(first.trashPath, preferences), EEXIST));
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
    EXPECT_FALSE(TrashMover::moveToTrash(linked + "/precious", owner()).ok);
    EXPECT_TRUE(platform::fs::linkStatus(decoy + "/precious/file"));

    const std::string item = tree.at("~/Library/Caches/com.vendor.notes");
    tree.writeFile(item + "/c", "c");
    // The Trash a link to elsewhere.
    ::rmdir(trash().c_str());
    ASSERT_EQ(::symlink(decoy.c_str(), trash().c_str()), 0);
    EXPECT_TRUE(refusedWith(TrashMover::moveToTrash(item, owner()), ENOTDIR));
    EXPECT_TRUE(platform::fs::linkStatus(item + "/c"));
    EXPECT_FALSE(platform::fs::linkStatus(decoy + "/com.vendor.notes"));

    // The Trash a file: no Trash to be had on that volume.
    ASSERT_EQ(::unlink(trash().c_str()), 0);
    tree.writeFile(trash(), "not a folder");
    EXPECT_TRUE(refusedWith(TrashMover::moveToTrash(item, owner()), ENOTDIR));
    EXPECT_TRUE(platform::fs::linkStatus(item + "/c"));

    if (::geteuid() == 0) {
        // Another user's folder where the Trash should be.
        ASSERT_EQ(::unlink(trash().c_str()), 0);
        ASSERT_EQ(::mkdir(trash().c_str(), 0700), 0);
        ASSERT_EQ(::chown(trash().c_str(), fixtures::unprivilegedUid(), fixtures::unprivilegedGid()), 0);
        EXPECT_TRUE(refusedWith(TrashMover::moveToTrash(item, owner()), ENOTDIR));
        EXPECT_TRUE(platform::fs::linkStatus(item + "/c"));
    }
}

TEST_F(TrashMoverTest, AFailedRenameLeavesTheItemAndSaysWhy)
{
    const std::string item = tree.at("~/Library/Caches/com.vendor.notes");
    tree.writeFile(item + "/c", "c");
    for (const int error : {EACCES, EXDEV}) {
        fixtures::ScopedSystemCallFault refused(fixtures::SystemCall::renameat, error);
        const auto moved = TrashMover::moveToTrash(item, owner());
        EXPECT_FALSE(moved.ok);
        EXPECT_EQ(moved.error, error);
    }
    EXPECT_TRUE(platform::fs::linkStatus(item + "/c"));
    EXPECT_FALSE(platform::fs::linkStatus(trash() + "/com.vendor.notes"));
    // A Trash that cannot be made for want of rights asks for more of them.
    ::rmdir(trash().c_str());
    {
        fixtures::ScopedSystemCallFault denied(fixtures::SystemCall::mkdirat, EACCES, 1, 1, ".Trash");
        EXPECT_TRUE(refusedWith(TrashMover::moveToTrash(item, owner()), EACCES));
    }
    EXPECT_TRUE(TrashMover::moveToTrash(item, owner()).ok);
}

// Where the file system refuses the no-replace rename, a file moves by a second name and the old
// one's removal, into the Trash and back out of it, never by a plain rename that could replace what
// holds the name or appeared there meanwhile; a folder is not moved at all.
TEST_F(TrashMoverTest, TheFallbackForARefusedNoReplaceRenameTakesNoNameThatIsTaken)
{
    enum class Kind { file, folder, link };
    enum class Appears { never, atRefusal, atLastStep };
    struct Case {
        const char* what;
        Kind kind;
        Appears intruder;  // another file under the name the move goes to
        bool replacedAfterLink;  // the old name given to another file right after the link
        int linkError;
        int unlinkError;
        int error;  // 0: moved
        const char* atFrom;  // "item", "other" or "" (nothing)
        const char* atTo;    // "item", "intruder" or ""
        bool back = false;   // out of the Trash to the item's place, else into it
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
        {"back, the place free", Kind::file, Appears::never, false, 0, 0, 0, "", "item", true},
        {"back, the place taken", Kind::file, Appears::atRefusal, false, 0, 0, EEXIST, "item", "intruder", true},
        {"back, the place taken at the last moment", Kind::file, Appears::atLastStep, false, 0, 0, EEXIST, "item", "intruder", true},
    };
    const std::string folder = tree.at("~/Library/Caches");
    const std::string target = tree.at("/Elsewhere/target");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string item = folder + "/Cache.db";
        const std::string trashPath = trash() + "/Cache.db";
        const std::string from = c.back ? trashPath : item, to = c.back ? item : trashPath;
        std::string why;
        const int trashFolder = TrashMover::openTrash(trash(), owner(), true, why);
        ASSERT_GE(trashFolder, 0) << why;
        tree.writeFile(target, "target");
        if (c.kind == Kind::file)
            tree.writeFile(from, "item");
        else if (c.kind == Kind::folder)
            tree.writeFile(from + "/inside", "item");
        else
            ASSERT_EQ(::symlink(target.c_str(), from.c_str()), 0);
        const auto original = platform::fs::linkStatus(from);
        ASSERT_TRUE(original);
        const auto whatIsAt = [&](const std::string& path) -> std::string {
            const auto st = platform::fs::linkStatus(path);
            if (!st)
                return "";
            if (st->st_dev == original->st_dev && st->st_ino == original->st_ino)
                return "item";
            return platform::fs::readFile(path).value_or("?");
        };
        const auto intrude = [&] { tree.writeFile(to, "intruder"); };
        NoReplaceRefused::Steps steps;
        if (c.intruder == Appears::atRefusal)
            steps.atRefusal = intrude;
        if (c.intruder == Appears::atLastStep)
            steps.beforeLastStep = intrude;
        if (c.replacedAfterLink) {
            steps.afterLink = [&] {
                tree.writeFile(folder + "/other", "other");
                ASSERT_EQ(std::rename((folder + "/other").c_str(), from.c_str()), 0);
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
            moved = c.back ? TrashMover::moveBack(trashFolder, "Cache.db", item) : TrashMover::moveNamed(item, trashFolder, trash(), "Cache.db");
            plainRenames = refused.plainRenames;
        }
        ::close(trashFolder);
        EXPECT_EQ(moved.ok, c.error == 0) << moved.why;
        EXPECT_EQ(moved.error, c.error) << moved.why;
        EXPECT_EQ(plainRenames, 0);
        EXPECT_EQ(whatIsAt(from), c.atFrom);
        EXPECT_EQ(whatIsAt(to), c.atTo);
        EXPECT_EQ(whatIsAt(target), "target");
        if (c.kind == Kind::folder) {
            EXPECT_EQ(platform::fs::readFile(from + "/inside"), "item");
        }
        fixtures::MacTree::removeTree(item);
        fixtures::MacTree::removeTree(trashPath);
    }
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
    EXPECT_TRUE(refusedWith(TrashMover::moveToTrash(item, owner()), EROFS));
    EXPECT_TRUE(platform::fs::linkStatus(item + "/notes.txt"));
    ::umount2(volume.c_str(), MNT_DETACH);
}

}  // namespace
