// The daemon against local users who send what they like from the genuine client program: an
// ordinary user, administrators (in the administrators' groups) whom the system's authority refuses,
// asks without a way to prompt, or grants, a service account whose home is root's, and a victim whose
// processes they try to end. Each is a real user of the test's own database; every request goes to
// the real daemon on its socket.
#include "daemon/tests/DaemonFixture.h"
#include "fixtures/BackgroundProcess.h"
#include "fixtures/TestAuthority.h"
#include "platform/FileSystem.h"
#include "platform/LaunchJobRecord.h"
#include "platform/PathUtil.h"
#include "platform/SystemLinks.h"
#include "xpc/UninstallServiceprotocol.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <thread>

namespace {

namespace fs = platform::fs;

struct User {
    std::string name;
    uid_t uid = 0;
    std::string home;
};

class AuthorizationAttackTest : public DaemonFixture {
protected:
    static void SetUpTestSuite() { startDaemon("no"); }

    // A user with a home of its own in the tree, whose requests polkit answers `answer`.
    static User makeUser(const std::string& name, bool administrator, const std::string& answer)
    {
        auto& authority = fixtures::TestAuthority::shared();
        User user{name, 0, tree->at("/Users/" + name)};
        fs::makeDirectories(user.home + "/Library/Caches");
        user.uid = authority.addUser(name, user.home, administrator);
        if (user.uid != static_cast<uid_t>(-1)) {
            for (const auto& folder : {user.home, user.home + "/Library", user.home + "/Library/Caches"})
                ::chown(folder.c_str(), user.uid, user.uid);
        }
        authority.answer(name, answer);
        return user;
    }

    // The genuine client program, run as `user` with its own HOME unless told otherwise.
    static std::string as(const User& user, std::vector<std::string> words, const std::string& home = "")
    {
        words.insert(words.begin(), {"--uid", std::to_string(user.uid)});
        return call(words, app, false, home.empty() ? user.home : home);
    }

    static std::string rootFile(const std::string& path) { return file(path, "root's"); }
    static uid_t ownerOf(const std::string& path)
    {
        struct stat st {};
        return ::lstat(path.c_str(), &st) == 0 ? st.st_uid : static_cast<uid_t>(-1);
    }
};

// Group membership grants nothing: whoever the system's authority does not grant the right gets
// only its own places, whatever it sends.
TEST_F(AuthorizationAttackTest, BeyondItsOwnPlacesAClientNeedsTheRightNotAGroup)
{
    struct Case {
        const char* name;
        bool administrator;
        const char* answer;
        bool granted;
    };
    const Case cases[] = {
        {"ostrova-user", false, "no", false},
        {"ostrova-admin", true, "no", false},
        {"ostrova-asked", true, "ask", false},  // a password is needed and nothing can ask for it
        {"ostrova-granted", false, "yes", true},
    };
    for (const auto& c : cases) {
        const User user = makeUser(c.name, c.administrator, c.answer);
        ASSERT_NE(user.uid, static_cast<uid_t>(-1));
        const std::string system = rootFile(tree->at("/Library/Application Support/com.vendor." + user.name + "/state"));
        const std::string own = rootFile(user.home + "/Library/Caches/com.vendor.cache/data");
        EXPECT_TRUE(replied(as(user, {"authorize", uninstallservice::kRightRemoveSystemItems}), c.granted)) << c.name;
        EXPECT_TRUE(replied(as(user, {"remove", system}), c.granted)) << c.name << daemonLog();
        EXPECT_EQ(fs::exists(system), !c.granted) << c.name;
        // Its own home's items are its own to have removed, root's as they may be.
        EXPECT_TRUE(replied(as(user, {"remove", own}), true)) << c.name << daemonLog();
        EXPECT_FALSE(fs::exists(own)) << c.name;
    }
    EXPECT_TRUE(replied(as(makeUser("ostrova-other-right", false, "no"), {"authorize", "com.halvane.ostrova.anything"}), false));
    EXPECT_NE(daemonLog().find("did not grant com.halvane.ostrova.remove-system-items"), std::string::npos);
}

// HOME names nothing the account does not own inside its own home; an account whose home is
// root's folder (a service account's) has no home at all.
TEST_F(AuthorizationAttackTest, AHomeIsTheAccountsOwnFolderAndHomeOnlyNarrowsIt)
{
    const User user = makeUser("ostrova-narrow", false, "no");
    const std::string inSystem = tree->at("/Library/Application Support/Mine");
    fs::makeDirectories(inSystem + "/Library/Caches/com.vendor.mine");
    for (const auto& folder : {inSystem, inSystem + "/Library", inSystem + "/Library/Caches", inSystem + "/Library/Caches/com.vendor.mine"})
        ::chown(folder.c_str(), user.uid, user.uid);
    const std::string target = rootFile(inSystem + "/Library/Caches/com.vendor.mine/data");
    EXPECT_TRUE(replied(as(user, {"remove", target}, inSystem), false)) << daemonLog();
    EXPECT_TRUE(fs::exists(target));

    auto& authority = fixtures::TestAuthority::shared();
    const std::string rootsHome = tree->at("/private/var/root");
    fs::makeDirectories(rootsHome + "/Library/Caches/com.apple.root");
    const std::string rootsItem = rootFile(rootsHome + "/Library/Caches/com.apple.root/data");
    User service{"ostrova-service", authority.addUser("ostrova-service", rootsHome, false), rootsHome};
    authority.answer(service.name, "no");
    EXPECT_TRUE(replied(as(service, {"remove", rootsItem}), false)) << daemonLog();
    EXPECT_TRUE(replied(as(service, {"trash", rootsItem, "data"}), false)) << daemonLog();
    EXPECT_TRUE(fs::exists(rootsItem));
    EXPECT_FALSE(fs::linkStatus(rootsHome + "/.Trash"));

    // An account whose home lies outside the system this daemon serves gets no Trash there.
    char pattern[] = "/tmp/ostrova-outside-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    const std::string outside = pattern;
    User away{"ostrova-away", authority.addUser("ostrova-away", outside, false), outside};
    ::chown(outside.c_str(), away.uid, away.uid);
    authority.answer(away.name, "yes");
    const std::string systemItem = rootFile(tree->at("/Library/Application Support/com.vendor.away/state"));
    EXPECT_TRUE(replied(as(away, {"trash", systemItem, "state"}), false)) << daemonLog();
    EXPECT_TRUE(fs::exists(systemItem));
    EXPECT_FALSE(fs::linkStatus(outside + "/.Trash"));
    fixtures::MacTree::removeTree(outside);
}

// The client's temporary folder, named through the system's /var link as TMPDIR gives it, is its own.
TEST_F(AuthorizationAttackTest, TheTemporaryFolderThroughTheSystemsLinkIsTheClientsOwn)
{
    const User user = makeUser("ostrova-temporary", false, "no");
    const std::string temporary = platform::path::trimTrailingSlashes(tree->temporaryDirectory());
    std::string why;
    const auto real = platform::SystemLinks::resolveFolder(temporary, why);
    ASSERT_TRUE(real) << why;
    ASSERT_NE(*real, temporary);  // the way goes through /var
    ::chown(real->c_str(), user.uid, user.uid);
    ::chown(platform::path::deletingLastComponent(*real).c_str(), user.uid, user.uid);
    const std::string item = rootFile(temporary + "/com.vendor.scratch/data");
    EXPECT_TRUE(replied(as(user, {"remove", temporary + "/com.vendor.scratch"}), true)) << daemonLog();
    EXPECT_FALSE(fs::exists(item));
}

// What the daemon moved it puts back only to where it came from, and only that inode: not under a
// new name in the system's job folder, not a file of the client's swapped in for it.
TEST_F(AuthorizationAttackTest, PutBackRestoresOnlyWhatTheDaemonMovedToWhereItWas)
{
    const User user = makeUser("ostrova-restorer", false, "yes");
    const std::string original = rootFile(tree->at("/Library/Application Support/com.vendor.tool/helper"));
    const std::string trash = user.home + "/.Trash";
    ASSERT_TRUE(replied(as(user, {"trash", original, "helper"}), true)) << daemonLog();
    ASSERT_EQ(ownerOf(trash + "/helper"), 0u);

    const std::string planted = tree->at("/Library/LaunchDaemons/com.evil.job.plist");
    EXPECT_TRUE(replied(as(user, {"put-back", planted, "helper"}), false));
    EXPECT_FALSE(fs::linkStatus(planted));
    // The client's own file under the Trash name: refused, and left where it was.
    ASSERT_EQ(::rename((trash + "/helper").c_str(), (trash + "/held").c_str()), 0);
    tree->writeFile(trash + "/helper", "the client's own");
    ::chown((trash + "/helper").c_str(), user.uid, user.uid);
    EXPECT_TRUE(replied(as(user, {"put-back", original, "helper"}), false));
    EXPECT_FALSE(fs::linkStatus(original));
    EXPECT_EQ(fs::readFile(trash + "/helper").value_or(""), "the client's own");
    // A Trash name the daemon never gave.
    EXPECT_TRUE(replied(as(user, {"put-back", original, "held"}), false));
    // The genuine item, once back under its name, returns: to a system folder only with the right.
    ASSERT_EQ(::rename((trash + "/held").c_str(), (trash + "/helper").c_str()), 0);
    fixtures::TestAuthority::shared().answer(user.name, "no");
    EXPECT_TRUE(replied(as(user, {"put-back", original, "helper"}), false));
    EXPECT_FALSE(fs::linkStatus(original));
    fixtures::TestAuthority::shared().answer(user.name, "yes");
    EXPECT_TRUE(replied(as(user, {"put-back", original, "helper"}), true)) << daemonLog();
    EXPECT_EQ(ownerOf(original), 0u);
    EXPECT_EQ(fs::readFile(original).value_or(""), "root's");
    // Once put back, the ledger has no more of it.
    EXPECT_TRUE(replied(as(user, {"put-back", original, "helper"}), false));
}

// The client swaps the Trash entry as fast as it can while the daemon moves it in and out: no file
// of the client's ever lands in the system's folder.
TEST_F(AuthorizationAttackTest, SwappingTheTrashEntryNeverPlantsAFile)
{
    const User user = makeUser("ostrova-swapper", false, "yes");
    const std::string folder = tree->at("/Library/Application Support/com.vendor.raced");
    const std::string original = rootFile(folder + "/helper");
    const std::string trash = user.home + "/.Trash";
    ASSERT_TRUE(replied(as(user, {"trash", original, "helper"}), true)) << daemonLog();
    ASSERT_TRUE(replied(as(user, {"put-back", original, "helper"}), true)) << daemonLog();

    std::atomic<bool> stop{false};
    std::atomic<int> planted{0};
    std::thread watcher([&] {
        while (!stop) {
            for (const auto& name : fs::listDirectory(folder).value_or(std::vector<std::string>{}))
                if (ownerOf(folder + "/" + name) == user.uid)
                    ++planted;
            std::this_thread::yield();
        }
    });
    // The swapper: the user's own file and the daemon's item trade the Trash name, endlessly and
    // atomically, each trade held a few microseconds and then taken back, so that a look at the
    // name and a move by it a moment later see different files about as often as not.
    tree->writeFile(trash + "/decoy", "mine");
    ASSERT_EQ(::chown((trash + "/decoy").c_str(), user.uid, user.uid), 0);
    const int trashFolder = ::open(trash.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_GE(trashFolder, 0);
    std::atomic<long> trades{0};
    std::thread swapper([&] {
        while (!stop) {
            const auto hold = [] {
                const auto until = std::chrono::steady_clock::now() + std::chrono::microseconds(20);
                while (std::chrono::steady_clock::now() < until) {
                }
            };
            if (::renameat2(trashFolder, "helper", trashFolder, "decoy", RENAME_EXCHANGE) == 0) {
                ++trades;
                hold();
                ::renameat2(trashFolder, "helper", trashFolder, "decoy", RENAME_EXCHANGE);
                hold();
            }
        }
    });
    const std::string cycled = as(user, {"trash-cycle", original, "helper", "400"});
    stop = true;
    watcher.join();
    swapper.join();
    ::close(trashFolder);
    EXPECT_NE(cycled.find("cycles="), std::string::npos) << cycled;
    EXPECT_GT(trades.load(), 1000) << cycled;
    EXPECT_EQ(planted.load(), 0) << cycled;
    for (const auto& name : fs::listDirectory(folder).value_or(std::vector<std::string>{}))
        EXPECT_EQ(ownerOf(folder + "/" + name), 0u) << name;
    // The swaps met the daemon's checks, not an idle Trash.
    EXPECT_NE(daemonLog().find("refused to put helper back"), std::string::npos);
}

// Ending another user's process, or stopping a job root loaded (from a folder of the client's own
// too: it runs as root), takes the right for it.
TEST_F(AuthorizationAttackTest, AnotherUsersProcessAndRootsJobsNeedTheirRights)
{
    const User victim = makeUser("ostrova-victim", false, "no");
    const User user = makeUser("ostrova-ender", true, "no");
    const std::string program = fixtures::copyExecutable(tree->at("/Applications/Shared.app/Contents/MacOS/Shared"));
    fixtures::BackgroundProcess running({program, "30"}, [&] { return ::setgid(victim.uid) == 0 && ::setuid(victim.uid) == 0; });
    ASSERT_TRUE(running.waitUntilRunning(program));
    const std::string agent = fixtures::copyExecutable(user.home + "/Applications/Agent.app/Contents/MacOS/agent");
    const std::string job = writeJob(user.home + "/Library/LaunchAgents/com.vendor.rootagent.plist", "com.vendor.rootagent", agent);
    ASSERT_EQ(launchctl("load", job), 0);
    ASSERT_TRUE(loaded("com.vendor.rootagent"));
    EXPECT_TRUE(replied(as(user, {"kill-bundle", tree->at("/Applications/Shared.app")}), false));
    EXPECT_FALSE(running.ended(200));
    EXPECT_TRUE(replied(as(user, {"unload", job}), false));
    EXPECT_TRUE(loaded("com.vendor.rootagent"));
    EXPECT_TRUE(fs::exists(job));

    fixtures::TestAuthority::shared().answer(user.name, "yes");
    EXPECT_TRUE(replied(as(user, {"kill-bundle", tree->at("/Applications/Shared.app")}), true)) << daemonLog();
    EXPECT_TRUE(running.ended(5000));
    EXPECT_TRUE(replied(as(user, {"unload", job}), true)) << daemonLog();
    EXPECT_FALSE(loaded("com.vendor.rootagent"));
    EXPECT_FALSE(fs::exists(job));
}

// A root job is stopped only for the very file launchctl loaded it from (its path and its inode), as
// a record only root wrote says.
TEST_F(AuthorizationAttackTest, ARootJobStopsOnlyForTheVeryFileItWasLoadedFrom)
{
    const User user = makeUser("ostrova-jobs", false, "yes");
    const std::string program = fixtures::copyExecutable(tree->at("/Library/Application Support/com.vendor.svc/svc"), "/bin/sh");
    const std::string job = tree->at("/Library/LaunchDaemons/com.vendor.svc.plist");
    // Only the first of the arguments is the job's program: a running program named among the
    // others (the job's own arguments) does not keep its file.
    const std::string bystander = fixtures::copyExecutable(tree->at("/usr/local/bin/bystander"));
    fixtures::BackgroundProcess running({bystander, "60"});
    ASSERT_TRUE(running.waitUntilRunning(bystander));
    const auto write = [&] { writeJob(job, "com.vendor.svc", program, {"-c", "sleep 60; :", bystander}); };
    write();
    ASSERT_EQ(launchctl("load", job), 0);
    const std::string record = platform::LaunchJobRecord::pathFor("com.vendor.svc");
    ASSERT_TRUE(loaded("com.vendor.svc"));

    // Another file at the same path, with the same label.
    ASSERT_EQ(::rename(job.c_str(), (job + ".kept").c_str()), 0);
    write();
    EXPECT_TRUE(replied(as(user, {"unload", job}), false));
    EXPECT_TRUE(loaded("com.vendor.svc"));
    EXPECT_TRUE(fs::exists(job));
    ASSERT_EQ(::rename((job + ".kept").c_str(), job.c_str()), 0);

    // The loaded file, but a record that others may write (or another user owns) proves nothing.
    for (const auto& [mode, owner] : std::vector<std::pair<mode_t, uid_t>>{{0666, 0}, {0644, user.uid}}) {
        ::chmod(record.c_str(), mode);
        ::chown(record.c_str(), owner, owner);
        EXPECT_TRUE(replied(as(user, {"unload", job}), false));
        ::chmod(record.c_str(), 0644);
        ::chown(record.c_str(), 0, 0);
        EXPECT_TRUE(loaded("com.vendor.svc"));
        EXPECT_TRUE(fs::exists(job));
    }
    EXPECT_TRUE(replied(as(user, {"unload", job}), true)) << daemonLog();
    EXPECT_FALSE(loaded("com.vendor.svc"));
    EXPECT_FALSE(fs::exists(job));
    EXPECT_FALSE(running.ended(100));
}

}  // namespace
