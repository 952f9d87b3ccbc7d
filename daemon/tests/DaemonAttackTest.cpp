// The daemon against a local attacker: every request goes to the real daemon on its socket, from
// the test client run as the unprivileged user (or from root where the place rules alone decide).
#include "app/locations/SearchFilePath.h"
#include "daemon/DaemonLog.h"
#include "daemon/RemovalPolicy.h"
#include "daemon/tests/DaemonFixture.h"
#include "fixtures/BackgroundProcess.h"
#include "fixtures/BinaryPlistWriter.h"
#include "fixtures/Unprivileged.h"
#include "platform/FileSystem.h"
#include "platform/LaunchJobRecord.h"
#include "platform/PathUtil.h"
#include "platform/SystemLinks.h"
#include "system/Utility.h"
#include "xpc/UninstallServiceprotocol.h"
#include "xpc/UnixSocket.h"

#include <grp.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/ptrace.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <memory>
#include <sstream>
#include <thread>

namespace {

using namespace std::chrono_literals;
namespace fs = platform::fs;

using DaemonAttackTest = DaemonFixture;

std::size_t countOf(const std::string& text, const std::string& part)
{
    std::size_t count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

std::string upper(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
    return text;
}

// Runs `child` in a fork whose standard output is kept, and `reap` until it ends; what it printed.
std::string printedBy(const std::function<void()>& child, int& status, const std::function<void(pid_t, int&)>& reap)
{
    int output[2];
    if (::pipe(output) != 0)
        return "";
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(output[1], 1);
        child();
        ::_exit(127);
    }
    ::close(output[1]);
    reap(pid, status);
    std::string text;
    char buffer[256];
    for (ssize_t n; (n = ::read(output[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<std::size_t>(n));
    ::close(output[0]);
    return text;
}

// The CPU time the process has used so far, in clock ticks (utime and stime, fields 14 and 15).
long ticksOf(pid_t pid)
{
    const auto stat = fs::readFile("/proc/" + std::to_string(pid) + "/stat").value_or("");
    const auto close = stat.rfind(')');
    if (close == std::string::npos)
        return -1;
    std::istringstream fields(stat.substr(close + 2));
    std::string skipped;
    for (int i = 0; i < 11; ++i)
        fields >> skipped;
    long user = 0, system = 0;
    return fields >> user >> system ? user + system : -1;
}

TEST_F(DaemonAttackTest, NoProtectedFolderGoesInAnySpelling)
{
    RemovalPolicy::Client client;
    client.home = tree->home();
    client.systemWide = true;
    // The policy's own list, and whatever it says, every folder of the tables it is built from, read here anew.
    std::vector<std::string> folders;
    const RemovalPolicy policy(client);
    for (const auto& folder : policy.protectedFolders())
        if (platform::path::isInside(folder, tree->root()))
            folders.push_back(folder);
    std::vector<std::string> known;
    SearchFilePath::User user{tree->home(), ""};
    for (const auto type : SearchFilePath::searchedCategories())
        for (const auto& folder : SearchFilePath::foldersForCategory(type, &user))
            known.push_back(folder);
    for (const auto& folder : SearchFilePath::applicationFolders(&user))
        known.push_back(folder);
    for (const auto& library : {tree->at("/Library"), tree->at("~/Library")}) {
        for (const auto& name : SearchFilePath::standardLibraryFolderNames())
            known.push_back(library + "/" + name);
        known.push_back(library + "/Preferences/ByHost");
    }
    for (const char* fixed : {"/Library/Fonts", "/Library/Keychains", "/Library/LaunchDaemons", "/Library/Preferences", "/Users",
                              "/Library/Logs/DiagnosticReports", "~/Library/Logs/DiagnosticReports", "~/Library/Containers"})
        known.push_back(tree->at(fixed));
    for (const auto& folder : known) {
        std::string why;
        const std::string real = platform::SystemLinks::resolveFolder(platform::path::trimTrailingSlashes(folder), why).value_or(folder);
        if (platform::path::isInside(real, tree->root()) && std::find(folders.begin(), folders.end(), real) == folders.end())
            folders.push_back(real);
    }
    ASSERT_GT(folders.size(), 150u);
    for (const auto& folder : folders)
        tree->writeFile(folder + "/.marker", "x");

    const auto before = countOf(daemonLog(), "refused to remove");
    std::size_t requests = 0;
    for (const auto& folder : folders) {
        const auto slash = folder.rfind('/');
        const std::string parent = folder.substr(0, slash), name = folder.substr(slash + 1);
        for (const auto& spelling : {parent + "/" + upper(name), parent + "//" + name, folder + "/", parent + "/./" + name,
                                     folder + std::string("\0x", 2), tree->root() + upper(folder.substr(tree->root().size())),
                                     folder + "\xff", parent + "/\xc0\xae\xc0\xae/" + name}) {
            const auto reply = sendRaw(fixtures::BinaryPlistWriter::removeRequest({spelling}));
            ASSERT_TRUE(reply.has_value()) << spelling;
            EXPECT_FALSE(*reply) << spelling;
            ++requests;
        }
    }
    for (const auto& folder : folders)
        EXPECT_TRUE(fs::exists(folder + "/.marker")) << folder;
    // Refusals are logged, but not one line each.
    const auto logged = countOf(daemonLog(), "refused to remove") - before;
    EXPECT_GE(logged, 1u);
    EXPECT_LE(logged, DaemonLog::kBurst * 2);
    EXPECT_GT(requests, logged * 50);
    EXPECT_TRUE(answers());
}

TEST_F(DaemonAttackTest, APreloadedLibraryMakesTheGenuineClientAStranger)
{
    const std::string target = file(tree->at("~/Library/Caches/com.vendor.preloaded"));
    const std::string probe = fixtures::copyExecutable(tree->at("/usr/local/lib/probe.so"), OSTROVA_PRELOAD_PROBE);
    // Without the preload the same client is served: the refusal below is the preload's.
    EXPECT_TRUE(served({"test"}));
    for (const char* variable : {"LD_PRELOAD", "LD_AUDIT"})
        EXPECT_NE(call({"remove", target}, app, true, "", {{variable, probe}}).find("noreply"), std::string::npos) << variable;
    EXPECT_TRUE(fs::exists(target));
    EXPECT_NE(daemonLog().find("it runs code from"), std::string::npos);
}

TEST_F(DaemonAttackTest, ARequestFromAnotherProcessOnTheConnectionIsRefused)
{
    const std::string target = file(tree->at("~/Library/Caches/com.vendor.shared-connection"));
    EXPECT_TRUE(dropped({"--send-from-child", "remove", target}));
    EXPECT_TRUE(fs::exists(target));
    // The same request from the process that connected is served.
    EXPECT_TRUE(served({"remove", target}));
    EXPECT_FALSE(fs::linkStatus(target));
}

TEST_F(DaemonAttackTest, ATracedClientIsRefused)
{
    const std::string target = file(tree->at("~/Library/Caches/com.vendor.traced"));
    const std::string uid = std::to_string(fixtures::unprivilegedUid());
    int status = 0;
    const auto printed = printedBy(
        [&] {
            ::ptrace(PTRACE_TRACEME, 0, nullptr, nullptr);
            ::execl(app.c_str(), app.c_str(), "--uid", uid.c_str(), "remove", target.c_str(), static_cast<char*>(nullptr));
        },
        status,
        [](pid_t pid, int& ended) {
            // Let the traced client run, passing its signals on, until it ends.
            while (::waitpid(pid, &ended, 0) >= 0 && WIFSTOPPED(ended)) {
                const long signal = WSTOPSIG(ended) != SIGTRAP ? WSTOPSIG(ended) : 0;
                ::ptrace(PTRACE_CONT, pid, nullptr, reinterpret_cast<void*>(signal));
            }
        });
    EXPECT_NE(printed.find("noreply"), std::string::npos) << printed;
    EXPECT_TRUE(fs::exists(target));
}

TEST_F(DaemonAttackTest, AProgramBindMountedOverTheClientInItsOwnNamespaceIsRefused)
{
    const std::string target = file(tree->at("~/Library/Caches/com.vendor.namespaced"));
    int status = 0;
    const auto printed = printedBy(
        [&] {
            if (::setgroups(0, nullptr) != 0 || ::setgid(fixtures::unprivilegedGid()) != 0 || ::setuid(fixtures::unprivilegedUid()) != 0)
                ::_exit(126);
            if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0)
                ::_exit(77);
            if (::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
                ::mount(stranger.c_str(), app.c_str(), nullptr, MS_BIND, nullptr) != 0)
                ::_exit(78);
            ::execl(app.c_str(), app.c_str(), "remove", target.c_str(), static_cast<char*>(nullptr));
        },
        status, [](pid_t pid, int& ended) { ::waitpid(pid, &ended, 0); });
    if (WIFEXITED(status) && (WEXITSTATUS(status) == 77 || WEXITSTATUS(status) == 78))
        GTEST_SKIP() << "unprivileged user and mount namespaces are not available here (exit " << WEXITSTATUS(status) << ")";
    EXPECT_NE(printed.find("noreply"), std::string::npos) << printed;
    EXPECT_TRUE(fs::exists(target));
    EXPECT_NE(daemonLog().find("namespace"), std::string::npos);
}

TEST_F(DaemonAttackTest, AnAmplifyingPropertyListIsRefusedWithoutGrowing)
{
    const std::string request = fixtures::BinaryPlistWriter::amplifyingRemoveRequest(1000000);
    ASSERT_LE(request.size(), 1u << 20);
    EXPECT_FALSE(sendRaw(request).has_value());
    EXPECT_TRUE(answers());
    const long peak = daemonStatusKb("VmHWM");
    ASSERT_GT(peak, 0);
    EXPECT_LT(peak, 64 * 1024) << "peak resident kB";
}

TEST_F(DaemonAttackTest, IdleConnectionsNeitherLockOthersOutNorSpin)
{
    // As root, whom the client check lets through: every one of them would be held open, idle, two
    // descriptors each, were the connections not bounded.
    std::vector<int> held;
    for (int i = 0; i < 600; ++i)
        if (const int fd = xpcsocket::connectTo(xpcsocket::pathForService(uninstallservice::kServiceName)); fd >= 0)
            held.push_back(fd);
    EXPECT_EQ(held.size(), 600u);

    const auto start = std::chrono::steady_clock::now();
    const auto output = call({"remove", tree->at("~/Library/Caches/never-was")});
    EXPECT_TRUE(replied(output, true)) << output;
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);

    const long before = ticksOf(daemonPid());
    std::this_thread::sleep_for(1s);
    ASSERT_GE(before, 0);
    EXPECT_LE(ticksOf(daemonPid()) - before, 5) << "ticks used while idle";
    for (const int fd : held)
        ::close(fd);
    EXPECT_TRUE(answers());
}

TEST_F(DaemonAttackTest, RefusalsAreRateLimitedAndClientTextIsEscaped)
{
    // A program whose path holds a newline and a forged log line.
    call({"test"}, fixtures::copyExecutable(tree->at("/usr/local/bin/evil\nOstrovaDaemon: forged"), OSTROVA_CLIENT_PATH));
    const std::string log1 = daemonLog();
    EXPECT_EQ(log1.find("\nOstrovaDaemon: forged"), std::string::npos);
    EXPECT_NE(log1.find("evil\\nOstrovaDaemon: forged"), std::string::npos) << log1;

    const int failed = fixtures::runUnprivileged([] {
        for (int i = 0; i < 2000; ++i) {
            const int fd = xpcsocket::connectTo(xpcsocket::pathForService(uninstallservice::kServiceName));
            if (fd < 0)
                return 1;
            char byte;
            (void)!::read(fd, &byte, 1);  // the daemon closes a refused client's connection
            ::close(fd);
        }
        return 0;
    });
    EXPECT_EQ(failed, 0);
    const std::string grown = daemonLog().substr(log1.size());
    EXPECT_LE(countOf(grown, "refused the client"), DaemonLog::kBurst);
    EXPECT_LT(grown.size(), 4096u) << grown;
    EXPECT_TRUE(answers());
}

TEST_F(DaemonAttackTest, JobFilesThatAreNotTheClientsToUnload)
{
    // A root job, loaded from the system's folder.
    const std::string program = fixtures::copyExecutable(tree->at("/Applications/Root Tool.app/Contents/MacOS/tool"));
    const std::string rootJob = writeJob(tree->at("/Library/LaunchDaemons/com.test.rootjob.plist"), "com.test.rootjob", program);
    ASSERT_EQ(launchctl("load", rootJob), 0);

    // The user's own job files naming that job and the daemon's own.
    for (const auto& [name, label] : std::vector<std::pair<std::string, std::string>>{
             {"evil.plist", "com.test.rootjob"}, {"daemon.plist", Utility::kDaemonLabel}}) {
        const std::string file = writeJob(tree->at("~/Library/LaunchAgents/" + name), label, "/bin/true", {});
        giveToUser(file);
        EXPECT_TRUE(refused({"unload", file})) << name;
    }
    // The daemon's own job file, asked for by an administrator.
    EXPECT_TRUE(refused({"unload", job}));
    EXPECT_TRUE(fs::exists(job));
    EXPECT_TRUE(loaded("com.test.rootjob"));
    EXPECT_TRUE(answers());

    // A FIFO never stalls the daemon; an over-large file is not read.
    const std::string fifo = tree->at("~/Library/LaunchAgents/com.test.fifo.plist");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    const std::string large = tree->at("~/Library/LaunchAgents/com.test.large.plist");
    tree->writeFile(large, "<?xml version=\"1.0\"?><plist><dict><key>Label</key><string>com.test.large</string><key>Pad</key><string>" +
                               std::string(2 << 20, 'x') + "</string></dict></plist>");
    for (const auto& file : {fifo, large}) {
        const auto start = std::chrono::steady_clock::now();
        EXPECT_TRUE(refused({"unload", file})) << file;
        EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
        EXPECT_TRUE(fs::linkStatus(file));
    }
    launchctl("unload", rootJob);
}

// What a put back brings to root's launch folders the daemon loads again: only a root-owned job file
// right in one of them, read without a link anywhere on the way, never the daemon's own job.
TEST_F(DaemonAttackTest, LoadsOnlyRootsJobFilesInRootsLaunchFolders)
{
    const std::string program = fixtures::copyExecutable(tree->at("/Applications/Root Tool.app/Contents/MacOS/loaded"));
    const std::string elsewhere = writeJob(tree->at("/Library/Application Support/com.test.elsewhere.plist"), "com.test.elsewhere", program);
    const std::string usersJob = writeJob(tree->at("/Library/LaunchDaemons/com.test.users.plist"), "com.test.users", program);
    giveToUser(usersJob);
    tree->symlink(elsewhere, tree->at("/Library/LaunchDaemons/com.test.elsewhere.plist"));
    for (const auto& path : {elsewhere, usersJob, tree->at("/Library/LaunchDaemons/com.test.elsewhere.plist"),
                             writeJob(tree->at("~/Library/LaunchAgents/com.test.roots-in-home.plist"), "com.test.roots-in-home", program),
                             writeJob(tree->at("/Library/LaunchDaemons/com.test.posing.plist"), Utility::kDaemonLabel, program), job})
        EXPECT_TRUE(refused({"load", path})) << path;
    for (const char* label : {"com.test.elsewhere", "com.test.users", "com.test.roots-in-home"})
        EXPECT_FALSE(loaded(label)) << label;

    const std::string rootJob = writeJob(tree->at("/Library/LaunchAgents/com.test.putback.plist"), "com.test.putback", program);
    EXPECT_TRUE(served({"load", rootJob})) << daemonLog();
    const auto record = platform::LaunchJobRecord::read("com.test.putback");
    ASSERT_TRUE(record);
    EXPECT_TRUE(record->loaded());
    EXPECT_EQ(record->loader, 0u);
    // Loaded from that file already: nothing more to do, and so it is said.
    EXPECT_TRUE(served({"load", rootJob}));
    launchctl("unload", rootJob);
    EXPECT_TRUE(answers());
}

TEST_F(DaemonAttackTest, NothingOfTheDaemonsOwnBundleIsEnded)
{
    const pid_t before = daemonPid();
    const auto record = platform::LaunchJobRecord::read(Utility::kDaemonLabel);
    ASSERT_TRUE(record);
    EXPECT_TRUE(refused({"kill-bundle", bundle}));
    EXPECT_TRUE(refused({"kill-executable", daemon, "OstrovaDaemon"}));
    EXPECT_TRUE(replied(call({"kill-bundle", bundle}, app, false), false));  // not even for root
    EXPECT_TRUE(refused({"remove", bundle + "/Contents/MacOS/OstrovaDaemon"}));
    EXPECT_TRUE(refused({"remove", job}));
    EXPECT_TRUE(answers());
    EXPECT_EQ(daemonPid(), before);
    EXPECT_EQ(::kill(record->supervisor, 0), 0);
    EXPECT_TRUE(fs::exists(job));
}

TEST_F(NonAdministratorDaemonTest, ServesItsOwnHomeOnly)
{
    const std::string own = tree->at("~/Library/Application Support/Root Owned");
    file(own + "/data.bin");
    const std::string system = file(tree->at("/Library/Caches/com.vendor.system"));
    fixtures::AppBlueprint sharedBlueprint;
    sharedBlueprint.name = "Shared Tool";
    sharedBlueprint.identifier = "com.vendor.shared";
    const std::string shared = tree->addApp("/Applications", sharedBlueprint);
    EXPECT_TRUE(served({"remove", own}));
    EXPECT_FALSE(fs::linkStatus(own));
    const std::string systemJob = writeJob(tree->at("/Library/LaunchAgents/com.vendor.system.plist"), "com.vendor.system", "/nothing", {});
    // Nor is a root job loaded for it, one that would run as it should.
    const std::string runnable = writeJob(tree->at("/Library/LaunchDaemons/com.vendor.runnable.plist"), "com.vendor.runnable",
                                          fixtures::copyExecutable(tree->at("/usr/local/libexec/runnable")));
    for (const std::vector<std::string>& words :
         {std::vector<std::string>{"remove", system}, {"remove", shared}, {"unload", systemJob}, {"load", runnable}}) {
        EXPECT_TRUE(refused(words)) << words[1];
        EXPECT_TRUE(fs::exists(words[1])) << words[1];
    }
    EXPECT_FALSE(platform::LaunchJobRecord::read("com.vendor.runnable"));

    // The user's own link above its home leads nowhere the daemon goes, even to the home itself.
    const std::string box = tree->at("/Users/box");
    tree->makeDirectories(box);
    giveToUser(box);
    tree->symlink(tree->at("/Users"), box + "/homes");
    const std::string viaLink = box + "/homes/tester", data = file(tree->at("~/Library/Caches/com.vendor.linked-home/data"));
    EXPECT_TRUE(replied(call({"remove", viaLink + "/Library/Caches/com.vendor.linked-home"}, app, true, viaLink), false));
    EXPECT_TRUE(fs::exists(data));
}

TEST_F(NonAdministratorDaemonTest, EndsOnlyItsOwnProcesses)
{
    // A root process of an application in the user's own Applications folder.
    const std::string victim = fixtures::copyExecutable(tree->at("~/Applications/Victim.app/Contents/MacOS/Victim"));
    auto rootOwned = std::make_unique<fixtures::BackgroundProcess>(std::vector<std::string>{victim, "60"});
    ASSERT_TRUE(rootOwned->waitUntilRunning(victim));
    EXPECT_TRUE(refused({"kill-bundle", tree->at("~/Applications/Victim.app")}));
    EXPECT_TRUE(refused({"kill-executable", victim, "Victim"}));
    EXPECT_FALSE(rootOwned->ended(300));
    rootOwned.reset();

    // The same program run by the user itself is the user's to end.
    fixtures::BackgroundProcess own({victim, "60"}, [] {
        return ::setgroups(0, nullptr) == 0 && ::setgid(fixtures::unprivilegedGid()) == 0 && ::setuid(fixtures::unprivilegedUid()) == 0;
    });
    ASSERT_TRUE(own.waitUntilRunning(victim));
    EXPECT_TRUE(served({"kill-executable", victim, "Victim"}));
    EXPECT_TRUE(own.ended(5000));
}

TEST_F(NonAdministratorDaemonTest, TemporaryFoldersCountOnlyWhenTheyAreTheClients)
{
    const auto owned = [](const std::string& folder, uid_t uid, gid_t gid) {
        for (const auto& path : {folder, folder + "/C", folder + "/T"})
            ::chown(path.c_str(), uid, gid);
    };
    const auto removes = [](const std::string& path, const std::string& temporary, bool unprivileged = true) {
        return replied(call({"remove", path}, app, unprivileged, "", {{"TMPDIR", temporary}}), true);
    };
    const std::string theirs = tree->at("/private/var/folders/zz/other");
    tree->writeFile(theirs + "/C/com.vendor.cache/data", "x");
    tree->writeFile(theirs + "/T/com.vendor.temporary", "x");
    owned(theirs, 4242, 4242);
    EXPECT_FALSE(removes(theirs + "/C/com.vendor.cache", theirs + "/T/"));
    EXPECT_FALSE(removes(theirs + "/T/com.vendor.temporary", theirs + "/T/"));
    EXPECT_TRUE(fs::exists(theirs + "/C/com.vendor.cache/data"));
    EXPECT_TRUE(fs::exists(theirs + "/T/com.vendor.temporary"));

    // A temporary folder whose name holds a space: its own sibling "C" counts, the root's "/C" never.
    const std::string mine = tree->at("/private/var/folders/a b/mine");
    tree->writeFile(mine + "/C/com.vendor.cache/data", "x");
    tree->makeDirectories(mine + "/T");
    owned(mine, fixtures::unprivilegedUid(), fixtures::unprivilegedGid());
    const std::string rootCache = file(tree->at("/C/com.vendor.cache/data"));
    EXPECT_FALSE(removes(tree->at("/C/com.vendor.cache"), mine + "/T/"));
    EXPECT_TRUE(fs::exists(rootCache));
    EXPECT_TRUE(removes(mine + "/C/com.vendor.cache", mine + "/T/"));
    EXPECT_FALSE(fs::linkStatus(mine + "/C/com.vendor.cache"));

    // Not even root's temporary folder opens the root's "/C" when it lies right below the root.
    tree->makeDirectories(tree->at("/T"));
    EXPECT_FALSE(removes(tree->at("/C/com.vendor.cache"), tree->at("/T/"), false));
    EXPECT_TRUE(fs::exists(rootCache));
}

}  // namespace
