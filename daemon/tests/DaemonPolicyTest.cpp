// The daemon's walls one at a time, each without the others behind it: where a client may act,
// whom it serves, who is an administrator, which processes may be ended.
#include "daemon/ClientCheck.h"
#include "daemon/ClientPlaces.h"
#include "daemon/ProcessPolicy.h"
#include "daemon/RemovalPolicy.h"
#include "fixtures/BackgroundProcess.h"
#include "fixtures/Eventually.h"
#include "fixtures/MacTree.h"
#include "fixtures/TestAuthority.h"
#include "fixtures/Unprivileged.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "platform/ProcessIdentity.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>

namespace {

class RemovalPolicyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        tree.activate();
        tree.symlink(tree.at("/etc"), tree.at("~/Library/Caches/linked"));
    }
    // The policy works on real paths: the temporary folder without the /var link.
    std::string temporary() const { return tree.at("/private/var/folders/ab/x1y2z3/T"); }
    RemovalPolicy::Client client(bool systemWide) const
    {
        return {tree.home(), {temporary(), platform::path::deletingLastComponent(temporary()) + "/C"}, systemWide};
    }
    fixtures::MacTree tree;
};

TEST_F(RemovalPolicyTest, WhereAnAdministratorAndAUserMayHaveThingsRemovedOrEnded)
{
    const std::string temporary = this->temporary();
    const std::string perUserCache = platform::path::deletingLastComponent(temporary) + "/C";
    const auto at = [&](std::initializer_list<const char*> paths) {
        std::vector<std::string> list;
        for (const char* path : paths)
            list.push_back(tree.at(path));
        return list;
    };
    struct Case {
        std::vector<std::string> paths;
        bool administrator;
        bool user;
    };
    const Case cases[] = {
        {at({"~/Library/Caches/com.vendor.app", "~/Library/Application Support/Vendor App", "~/Applications/Tool.app",
             // The places searched by rules of their own.
             "~/Library/Internet Plug-Ins/Vendor.plugin", "~/Library/Group Containers/group.com.vendor.app",
             "~/Library/HTTPStorages/com.vendor.app", "~/Library/Preferences/ByHost/com.vendor.app.0A1B.plist"}),
         true, true},
        {{temporary + "/com.vendor.app", perUserCache + "/com.vendor.app"}, true, true},
        {at({"/Library/Caches/com.vendor.app", "/Library/LaunchDaemons/com.vendor.app.plist", "/Applications/Tool.app",
             "/Users/Shared/Vendor App", "/Library/PrivilegedHelperTools/com.vendor.app.helper",
             "/private/var/db/receipts/com.vendor.app.pkg.bom", "/Library/QuickLook/Vendor.qlgenerator",
             "/Library/Audio/Plug-Ins/Components/Vendor.component"}),
         true, false},
        {at({"/Library/PrivilegedHelperTools", "/private/var/db/receipts", "~/Library/Group Containers", "/Library/Audio/Plug-Ins",
             "/Library/Audio/Plug-Ins/Components",
             // Folders that hold many applications' data, in any spelling.
             "~/Library/Logs/DiagnosticReports", "/Library/Logs/DiagnosticReports", "/Library/Fonts", "/library/fonts",
             "/Library/Keychains", "/Library/LaunchDaemons", "/Library/Preferences", "~/Library/Containers",
             "~/Library/Preferences/ByHost", "~/Library",
             // Other spellings of allowed places.
             "~/Library//Caches/com.vendor.app", "~/Library/Caches/com.vendor.app/", "~/Library/Caches/./com.vendor.app",
             "~/Library/Caches/x/../com.vendor.app", "~/Library/Caches/com.vendor.\xff", "~/Library/Caches/*",
             // Outside every place, and through a link.
             "/etc/keep.conf", "~/Library/Caches/linked/keep.conf"}),
         false, false},
        // The home, the root and the temporary folder themselves, and paths through the /var link: the
        // daemon resolves the system's links first, the policy sees real paths only.
        {{tree.home(), tree.root(), temporary, tree.at("~/Library/Caches/com.vendor.app") + std::string("\0x", 2),
          "relative/Library/Caches/x", tree.temporaryDirectory() + "com.vendor.app"},
         false, false},
    };
    const RemovalPolicy administrator(client(true));
    const RemovalPolicy user(client(false));
    for (const auto& c : cases) {
        for (const auto& path : c.paths) {
            std::string why;
            EXPECT_EQ(administrator.allowsRemoval(path, why), c.administrator) << path << ": " << why;
            EXPECT_EQ(user.allowsRemoval(path, why), c.user) << path << ": " << why;
        }
    }
    // The spelling of its lists holds no surprise: every standard folder of both Libraries.
    for (const auto& library : {tree.at("/Library"), tree.at("~/Library")})
        for (const char* name : {"Fonts", "Keychains", "Caches", "Logs", "LaunchAgents", "Containers", "Group Containers"}) {
            std::string why;
            EXPECT_FALSE(administrator.allowsRemoval(library + "/" + name, why)) << library << "/" << name;
        }

    // Bundles and executables of the client's application folders.
    std::string why;
    EXPECT_TRUE(administrator.allowsBundle(tree.at("/Applications/Tool.app"), why));
    EXPECT_FALSE(user.allowsBundle(tree.at("/Applications/Tool.app"), why));
    EXPECT_TRUE(user.allowsBundle(tree.at("~/Applications/Tool.app"), why));
    EXPECT_FALSE(user.allowsBundle(tree.at("~/Applications/Tool"), why));
    EXPECT_FALSE(administrator.allowsBundle(tree.at("/Applications"), why));
    EXPECT_TRUE(user.allowsExecutable(tree.at("~/Applications/Tool.app/Contents/MacOS/Tool"), why));
    EXPECT_FALSE(user.allowsExecutable(tree.at("/Applications/Tool.app/Contents/MacOS/Tool"), why));
    EXPECT_FALSE(administrator.allowsExecutable(tree.at("/usr/local/bin/tool"), why));
    EXPECT_TRUE(user.inHome(tree.at("~/Library/LaunchAgents/x.plist")));
    EXPECT_FALSE(user.inHome(tree.at("/Library/LaunchAgents/x.plist")));
}

// A client's home is its password entry's, and only a folder of its own that is no system folder.
TEST(ClientHomeTest, OnlyTheAccountsOwnFolderOutsideTheSystem)
{
    auto& authority = fixtures::TestAuthority::shared();
    if (!authority.isUp())
        GTEST_SKIP() << authority.why();
    fixtures::MacTree tree("tester");
    tree.activate();
    ::chmod(tree.root().c_str(), 0755);
    const auto own = [&](const std::string& folder, uid_t uid) {
        platform::fs::makeDirectories(folder);
        ::chown(folder.c_str(), uid, uid);
        return folder;
    };
    struct Case {
        const char* name;
        std::function<std::string(uid_t)> home;
        bool served;
    };
    const std::vector<Case> cases = {
        {"ostrova-own", [&](uid_t uid) { return own(tree.at("/Users/own"), uid); }, true},
        {"ostrova-roots", [&](uid_t) { return own(tree.at("/private/var/root"), 0); }, false},
        {"ostrova-slash", [&](uid_t) { return std::string("/"); }, false},
        {"ostrova-library", [&](uid_t uid) { return own(tree.at("/Library/Application Support/Home"), uid); }, false},
        {"ostrova-over-users", [&](uid_t uid) { return own(tree.at("/Users"), uid); }, false},
        {"ostrova-shared", [&](uid_t uid) { return own(tree.at("/Users/Shared"), uid); }, false},
        {"ostrova-someone-elses", [&](uid_t) { return own(tree.at("/Users/else"), fixtures::unprivilegedUid()); }, false},
        {"ostrova-missing", [&](uid_t) { return tree.at("/Users/missing"); }, false},
    };
    for (const auto& c : cases) {
        const uid_t uid = authority.addUser(c.name, "/nonexistent", false);
        ASSERT_NE(uid, static_cast<uid_t>(-1));
        const std::string home = c.home(uid);
        ASSERT_TRUE(authority.setHome(uid, home));
        std::string why;
        EXPECT_EQ(ClientPlaces::accountHome(uid, why).has_value(), c.served) << c.name << " at " << home << ": " << why;
    }
}

// A bundle whose Ostrova executable is a copy of sleep, run by the unprivileged user.
class ClientCheckTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (::geteuid() != 0)
            GTEST_SKIP() << "running programs as another user needs root";
        ::chmod(tree.root().c_str(), 0755);
        bundle = tree.at("/Applications/Ostrova.app");
        genuine = fixtures::copyExecutable(bundle + "/Contents/MacOS/Ostrova");
    }
    // The peer as the daemon would see it, for a program run as `uid` with an extra variable.
    std::unique_ptr<fixtures::BackgroundProcess> run(const std::string& program, uid_t uid, const std::string& variable = "")
    {
        auto process = std::make_unique<fixtures::BackgroundProcess>(std::vector<std::string>{program, "60"}, [uid, variable] {
            if (!variable.empty())
                ::putenv(const_cast<char*>(variable.c_str()));
            return uid == 0 || (::setgid(fixtures::unprivilegedGid()) == 0 && ::setuid(uid) == 0);
        });
        if (!process->waitUntilRunning(program))
            return nullptr;
        // The program counts as started once it sleeps: the loader has mapped all it will (a
        // preloaded library included) before the program's own code runs.
        const std::string stat = "/proc/" + std::to_string(process->pid()) + "/stat";
        const bool asleep = fixtures::eventually([&] {
            const std::string line = platform::fs::readFile(stat).value_or("");
            const auto close = line.rfind(')');
            return close != std::string::npos && close + 2 < line.size() && line[close + 2] == 'S';
        });
        return asleep ? std::move(process) : nullptr;
    }
    bool accepted(const fixtures::BackgroundProcess& process, uid_t uid, std::string& why)
    {
        xpcsocket::Peer peer;
        peer.pid = process.pid();
        peer.uid = uid;
        peer.handle = platform::process::openHandle(process.pid());
        const bool result = ClientCheck(bundle).accepts(peer, why);
        platform::process::closeHandle(peer.handle);
        return result;
    }
    fixtures::MacTree tree;
    std::string bundle, genuine;
};

TEST_F(ClientCheckTest, OnlyTheBundlesOwnProgramRunningItsOwnCode)
{
    const uid_t nobody = fixtures::unprivilegedUid();
    std::string why;
    const auto own = run(genuine, nobody);
    ASSERT_TRUE(own);
    EXPECT_TRUE(accepted(*own, nobody, why)) << why;
    // Not while users other than root could change it.
    const std::string macos = bundle + "/Contents/MacOS";
    for (const mode_t loose : {0777, 0775}) {
        ::chmod(macos.c_str(), loose);
        EXPECT_FALSE(accepted(*own, nobody, why)) << std::oct << loose;
        ::chmod(macos.c_str(), 0755);
    }
    ::chown(genuine.c_str(), nobody, 0);
    EXPECT_FALSE(accepted(*own, nobody, why));
    ::chown(genuine.c_str(), 0, 0);
    ::chmod(genuine.c_str(), 0755);
    EXPECT_TRUE(accepted(*own, nobody, why)) << why;

    struct Case {
        std::string program, variable;
        uid_t uid;
        bool accepted;
    };
    const std::string library = fixtures::copyExecutable(tree.at("/usr/local/lib/probe.so"), OSTROVA_PRELOAD_PROBE);
    const Case cases[] = {
        // The same program under the same name elsewhere: in another bundle, outside any, or at
        // another place of this very bundle.
        {fixtures::copyExecutable(tree.at("/usr/local/bin/Ostrova")), "", nobody, false},
        {fixtures::copyExecutable(tree.at("/Applications/Other.app/Contents/MacOS/Ostrova")), "", nobody, false},
        {fixtures::copyExecutable(bundle + "/Contents/Resources/Ostrova"), "", nobody, false},
        // The genuine program with a library preloaded from outside the system's folders, or from a
        // folder whose name merely begins like the bundle's.
        {genuine, "LD_PRELOAD=" + library, nobody, false},
        {genuine, "LD_PRELOAD=" + fixtures::copyExecutable(bundle + "-extra/probe.so", OSTROVA_PRELOAD_PROBE), nobody, false},
        // Root is served whatever it runs.
        {fixtures::copyExecutable(tree.at("/usr/local/bin/stranger")), "", 0, true},
    };
    for (const auto& c : cases) {
        const auto process = run(c.program, c.uid, c.variable);
        ASSERT_TRUE(process) << c.program;
        EXPECT_EQ(accepted(*process, c.uid, why), c.accepted) << c.program << " " << c.variable;
        if (c.variable.find(library) != std::string::npos) {
            EXPECT_NE(why.find("probe.so"), std::string::npos) << why;
        }
    }
}

class ProcessPolicyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (::geteuid() != 0)
            GTEST_SKIP() << "processes of another user need root";
        ::chmod(tree.root().c_str(), 0755);
    }
    static RkProcessInfo info(pid_t pid)
    {
        RkProcessInfo process;
        process.pid = pid;
        return process;
    }
    fixtures::MacTree tree;
};

TEST_F(ProcessPolicyTest, NeitherTheDaemonNorItsBundleNorAnotherUsersProcesses)
{
    const std::string ownBundle = tree.at("/Applications/Ostrova.app");
    const std::string helper = fixtures::copyExecutable(ownBundle + "/Contents/MacOS/helper");
    const std::string other = fixtures::copyExecutable(tree.at("/Applications/Other.app/Contents/MacOS/Other"));
    const ProcessPolicy policy(ownBundle);
    std::string why;
    const uid_t nobody = fixtures::unprivilegedUid();
    const auto granted = [](std::string&) { return true; };
    const auto refused = [](std::string& reason) {
        reason = "refused";
        return false;
    };

    // This process stands for the daemon, its parent for the supervisor.
    EXPECT_FALSE(policy.mayEnd(info(::getpid()), 0, granted, why));
    EXPECT_FALSE(policy.mayEnd(info(::getppid()), 0, granted, why));
    EXPECT_FALSE(policy.mayEnd(info(1), 0, granted, why));

    fixtures::BackgroundProcess inside({helper, "60"});
    ASSERT_TRUE(inside.waitUntilRunning(helper));
    EXPECT_FALSE(policy.mayEnd(info(inside.pid()), 0, granted, why));

    fixtures::BackgroundProcess rootOwned({other, "60"});
    ASSERT_TRUE(rootOwned.waitUntilRunning(other));
    EXPECT_FALSE(policy.mayEnd(info(rootOwned.pid()), nobody, refused, why));
    EXPECT_TRUE(policy.mayEnd(info(rootOwned.pid()), nobody, granted, why)) << why;
    EXPECT_TRUE(policy.mayEnd(info(rootOwned.pid()), 0, refused, why)) << why;

    // A bundle whose name merely begins like the daemon's is not the daemon's.
    const std::string alike = fixtures::copyExecutable(ownBundle + "-extra/Contents/MacOS/alike");
    fixtures::BackgroundProcess alikeRunning({alike, "60"});
    ASSERT_TRUE(alikeRunning.waitUntilRunning(alike));
    EXPECT_TRUE(policy.mayEnd(info(alikeRunning.pid()), 0, refused, why)) << why;

    EXPECT_TRUE(policy.isOwnBundle(ownBundle));
    EXPECT_TRUE(policy.isOwnBundle(ownBundle + "/"));
    EXPECT_FALSE(policy.isOwnBundle(tree.at("/Applications/Other.app")));
}

}  // namespace
