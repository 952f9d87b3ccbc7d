// The real agent, run as an unprivileged user on a private X server over a generated Mac with the
// real daemon on its socket: an application dragged from /Applications to the Trash brings up the
// remains panel, whose keys remove exactly the remains (root's through the daemon) or nothing.
// The panel is found by its window title, and driven with the keyboard through the X server.
#include "fixtures/BackgroundProcess.h"
#include "fixtures/ChildProcess.h"
#include "fixtures/MacTree.h"
#include "fixtures/PathsBelow.h"
#include "fixtures/PrivateDisplay.h"
#include "fixtures/RunningDaemon.h"
#include "fixtures/ScopedEnvironment.h"
#include "fixtures/Unprivileged.h"
#include "Auxiliary/ByteCountFormatter.h"
#include "platform/FileSystem.h"

#include <gtest/gtest.h>

#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// How long the panel may take after the drag. Sanitizers slow every step of the agent several
// times over, so their builds get a wider bound.
#if defined(__SANITIZE_ADDRESS__)
constexpr auto kPanelDeadline = 6s;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr auto kPanelDeadline = 6s;
#else
constexpr auto kPanelDeadline = 2s;
#endif
#else
constexpr auto kPanelDeadline = 2s;
#endif

// Polls until `done` holds; false when it still does not after `timeout`.
bool waitFor(const std::function<bool()>& done, Clock::duration timeout)
{
    for (const auto deadline = Clock::now() + timeout; !done(); std::this_thread::sleep_for(10ms))
        if (Clock::now() >= deadline)
            return false;
    return true;
}

class AgentProcessTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (::geteuid() != 0)
            GTEST_SKIP() << "the daemon runs as root";
        ASSERT_EQ(::access("/usr/bin/xdotool", X_OK), 0) << "xdotool drives the panel (scripts/bootstrap installs it)";
        tree.activate();
        tree.makeDirectories(tree.at("~/.Trash"));
        giveToUser(tree.home());

        daemon = std::make_unique<fixtures::RunningDaemon>(tree, OSTROVA_DAEMON_PATH, OSTROVA_LAUNCHCTL_PATH);
        ASSERT_TRUE(daemon->isUp());
        // The login item inside the bundle, with the framework it loads, where the user can run it.
        const std::string loginItem = daemon->bundlePath() + "/Contents/Library/LoginItems/agent.app";
        std::filesystem::create_directories(loginItem + "/Contents/MacOS");
        std::filesystem::copy_file(std::string(OSTROVA_AGENT_BUNDLE) + "/Contents/Info.plist", loginItem + "/Contents/Info.plist");
        agent = fixtures::copyExecutable(loginItem + "/Contents/MacOS/agent", std::string(OSTROVA_AGENT_BUNDLE) + "/Contents/MacOS/agent");
        std::filesystem::create_directories(daemon->bundlePath() + "/Contents/Frameworks");
        std::filesystem::copy_file(OSTROVA_AUXILIARY_PATH, daemon->bundlePath() + "/Contents/Frameworks/libAuxiliary.so");

        server = std::make_unique<fixtures::PrivateDisplay>();
        ASSERT_TRUE(server->isUp()) << "Xvfb did not start";
        display = server->name();
    }

    void TearDown() override
    {
        agentProcess.reset();
        server.reset();
        daemon.reset();
    }

    static void giveToUser(const std::string& folder)
    {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
            ::lchown(entry.path().c_str(), fixtures::unprivilegedUid(), fixtures::unprivilegedGid());
        ::chown(folder.c_str(), fixtures::unprivilegedUid(), fixtures::unprivilegedGid());
    }

    void startAgent()
    {
        const std::string settings = tree.at("~/.config");
        tree.makeDirectories(settings);
        giveToUser(settings);
        fixtures::ScopedEnvironment environment;
        environment.set("DISPLAY", display);
        environment.set("QT_QPA_PLATFORM", "xcb");
        environment.set("XDG_CONFIG_HOME", settings);
        environment.set("OSTROVA_APPEARANCE", "light");
        agentProcess = std::make_unique<fixtures::BackgroundProcess>(std::vector<std::string>{
            "/usr/bin/setpriv", "--reuid=" + std::to_string(fixtures::unprivilegedUid()),
            "--regid=" + std::to_string(fixtures::unprivilegedGid()), "--clear-groups", agent});
        // The weekly reminder of a first launch shows once the watch has begun.
        ASSERT_FALSE(windowNamed("App cleanup reminder", 20s).empty()) << "the agent did not come up";
    }

    fixtures::ProcessResult xdotool(std::vector<std::string> words) const
    {
        words.insert(words.begin(), "/usr/bin/xdotool");
        return fixtures::runProcess(words, {{"DISPLAY", display}}, "", 10s);
    }

    // The visible window whose title matches `pattern` (a regular expression), or "" when none
    // showed within `timeout`.
    std::string windowNamed(const std::string& pattern, std::chrono::milliseconds timeout) const
    {
        fixtures::ProcessResult found;
        const auto shown = [&] {
            found = xdotool({"search", "--onlyvisible", "--name", pattern});
            return found.exitCode == 0 && !found.out.empty();
        };
        return waitFor(shown, timeout) ? found.out.substr(0, found.out.find('\n')) : "";
    }

    std::string title(const std::string& window) const
    {
        std::string name = xdotool({"getwindowname", window}).out;
        if (!name.empty() && name.back() == '\n')
            name.pop_back();
        return name;
    }

    void press(const std::string& window, const std::string& key) const
    {
        ASSERT_EQ(xdotool({"windowfocus", "--sync", window}).exitCode, 0);
        ASSERT_EQ(xdotool({"key", key}).exitCode, 0);
    }

    void installWithRemains(const std::string& name, const std::string& identifier)
    {
        fixtures::AppBlueprint app;
        app.name = name;
        app.identifier = identifier;
        tree.addApp("/Applications", app);
        tree.writeFile(tree.at("~/Library/Application Support/" + identifier + "/state.db"), std::string(6000, 's'));
        tree.writeFile(tree.at("~/Library/Caches/" + identifier + "/cache.bin"), std::string(2000, 'c'));
        giveToUser(tree.home());
        // Root's, in the system Library: only the daemon may take it.
        tree.writeFile(tree.at("/Library/Application Support/" + identifier + "/helper.db"), std::string(4000, 'h'));
    }

    void dragToTrash(const std::string& name)
    {
        ASSERT_EQ(::rename(tree.at("/Applications/" + name + ".app").c_str(), tree.at("~/.Trash/" + name + ".app").c_str()), 0);
    }

    // Every path below the root but the Trash, Ostrova's own support folder (the removal records),
    // the daemon's run folder and the desktop's caches and settings in the home.
    std::set<std::string> everythingElse() const
    {
        auto paths = fixtures::pathsBelow(tree.root());
        std::erase_if(paths, [&](const std::string& path) {
            for (const char* skipped : {"~/.Trash/", "~/.cache", "~/.config", "~/.local", "~/Library/Application Support/Ostrova",
                                        "/private/var/run", "/private/var/db", "/daemon.log"})
                if (path.starts_with(tree.at(skipped)))
                    return true;
            return false;
        });
        return paths;
    }

    fixtures::MacTree tree{"tester"};
    std::unique_ptr<fixtures::RunningDaemon> daemon;
    std::unique_ptr<fixtures::PrivateDisplay> server;
    std::unique_ptr<fixtures::BackgroundProcess> agentProcess;
    std::string display;
    std::string agent;
};

TEST_F(AgentProcessTest, RemoveRemainsTakesExactlyTheRemainsAndNotNowNothing)
{
    installWithRemains("Kite", "com.example.kite");
    installWithRemains("Heron", "com.example.heron");
    startAgent();
    // What goes: the bundle by the drag, the rest by the panel.
    const std::set<std::string> kiteRemains = {tree.at("~/Library/Application Support/com.example.kite"),
                                               tree.at("~/Library/Caches/com.example.kite"),
                                               tree.at("/Library/Application Support/com.example.kite"),
                                               tree.at("/Applications/Kite.app")};
    auto before = everythingElse();

    const auto dragged = Clock::now();
    dragToTrash("Kite");
    const std::string panel = windowNamed("left .* behind", 20s);
    const auto shownAfter = Clock::now() - dragged;
    ASSERT_FALSE(panel.empty()) << "no panel";
    RecordProperty("panel_ms", static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(shownAfter).count()));
    EXPECT_LE(shownAfter, kPanelDeadline) << std::chrono::duration_cast<std::chrono::milliseconds>(shownAfter).count() << " ms";
    EXPECT_EQ(title(panel), "Kite left " + format2ByteCountString(6000 + 2000 + 4000) + " behind");
    const auto bundle = fixtures::pathsBelow(tree.at("~/.Trash/Kite.app"));

    press(panel, "Return");
    waitFor([&] { return title(panel) == "Removed what Kite left"; }, 30s);
    ASSERT_EQ(title(panel), "Removed what Kite left");

    // Exactly the remains went; the bundle waits in the Trash as it was; root's folder went into
    // the user's Trash through the daemon and is still root's there.
    auto after = everythingElse();
    std::set<std::string> expected;
    for (const auto& path : before)
        if (!std::any_of(kiteRemains.begin(), kiteRemains.end(), [&](const std::string& remain) { return path == remain || path.starts_with(remain + "/"); }))
            expected.insert(path);
    EXPECT_EQ(after, expected);
    EXPECT_EQ(fixtures::pathsBelow(tree.at("~/.Trash/Kite.app")), bundle);
    bool rootsInTrash = false;
    for (const auto& entry : std::filesystem::directory_iterator(tree.at("~/.Trash"))) {
        struct stat st {};
        if (::lstat((entry.path().string() + "/helper.db").c_str(), &st) == 0)
            rootsInTrash = st.st_uid == 0;
    }
    EXPECT_TRUE(rootsInTrash) << "root's remain is not in the user's Trash";

    // "Not now": the next application's panel goes and nothing changes.
    press(panel, "Return");
    before = everythingElse();
    dragToTrash("Heron");
    const std::string second = windowNamed("Heron left .* behind", 20s);
    ASSERT_FALSE(second.empty());
    press(second, "Escape");
    EXPECT_TRUE(waitFor([&] { return windowNamed("Heron left .* behind", 0ms).empty(); }, 10s)) << "the panel stayed";
    std::this_thread::sleep_for(500ms);
    std::erase_if(before, [&](const std::string& path) { return path.starts_with(tree.at("/Applications/Heron.app")); });
    EXPECT_EQ(everythingElse(), before);
    EXPECT_TRUE(platform::fs::exists(tree.at("/Library/Application Support/com.example.heron/helper.db")));
}

}  // namespace
