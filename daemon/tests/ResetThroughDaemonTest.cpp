// A reset on the demo Mac through the real daemon: the catalogue, run from Ostrova's bundle as an
// unprivileged user, quits the running application and takes every related item but the bundle to
// the Trash (root's through the daemon); Put Back returns the Mac exactly as it was.
#include "daemon/tests/DaemonFixture.h"
#include "app/removal/RemovalRecord.h"
#include "demo/DemoTree.h"
#include "fixtures/PathsBelow.h"
#include "platform/FileSystem.h"
#include "platform/SystemLinks.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <sstream>

namespace {

// Below each folder (but the skipped ones): mode, owner, group, and for files the size and the
// bytes' digest.
std::map<std::string, std::string> listing(const std::vector<std::string>& folders, const std::set<std::string>& skipped = {})
{
    std::map<std::string, std::string> found;
    for (const auto& folder : folders)
        for (const auto& path : fixtures::pathsBelow(folder)) {
            if (std::any_of(skipped.begin(), skipped.end(), [&](const std::string& s) { return path == s || path.starts_with(s + "/"); }))
                continue;
            struct stat st {};
            if (::lstat(path.c_str(), &st) != 0)
                continue;
            std::ostringstream entry;
            entry << std::oct << st.st_mode << std::dec << " " << st.st_uid << ":" << st.st_gid;
            if (S_ISREG(st.st_mode))
                entry << " " << st.st_size << " " << std::hash<std::string>()(platform::fs::readFile(path).value_or("?"));
            else if (S_ISLNK(st.st_mode))
                entry << " -> " << std::filesystem::read_symlink(path).string();
            found[path] = entry.str();
        }
    return found;
}

class ResetThroughDaemonTest : public ToolThroughDaemonFixture {
protected:
    void SetUp() override
    {
        if (::geteuid() != 0)
            GTEST_SKIP() << "the daemon runs as root";
        demo::buildDemoTree(tree);
        tree.activate();
        for (const auto& entry : std::filesystem::recursive_directory_iterator(tree.at("~/.Trash")))
            ::lchown(entry.path().c_str(), fixtures::unprivilegedUid(), fixtures::unprivilegedGid());
        giveFoldersToUser();
        startDaemon();
    }
    std::map<std::string, std::string> mac() const
    {
        return listing({tree.home(), tree.at("/Library")},
                       {tree.at("~/.Trash"), tree.at("~/Library/Application Support/Ostrova"), tree.at("/Library/LaunchDaemons/com.halvane.ostrova.plist")});
    }
};

TEST_F(ResetThroughDaemonTest, TheApplicationQuitsItsBundleStaysAndPutBackRestoresTheMac)
{
    const std::string bundle = tree.at("/Applications/Orbit Planner.app");
    const std::string executable = fixtures::copyExecutable(bundle + "/Contents/MacOS/Orbit Planner");
    const std::string rootsFolder = tree.at("/Library/Application Support/Orbit Planner");
    struct stat st {};
    ASSERT_EQ(::lstat((rootsFolder + "/License/site.license").c_str(), &st), 0);
    ASSERT_EQ(st.st_uid, 0u) << "an item the user's rights cannot move";
    const auto bundleBefore = listing({bundle});
    const auto before = mac();
    fixtures::BackgroundProcess running({executable, "600"});
    ASSERT_TRUE(running.waitUntilRunning(executable));

    const std::string runner = fixtures::copyExecutable(daemon->bundlePath() + "/Contents/MacOS/Ostrova", OSTROVA_RESET_RUNNER_PATH);
    const auto reset = fixtures::runProcess({"/usr/bin/setpriv", "--reuid=" + std::to_string(fixtures::unprivilegedUid()),
                                             "--regid=" + std::to_string(fixtures::unprivilegedGid()), "--clear-groups", runner,
                                             "com.meridiansoft.orbitplanner"},
                                            {{"HOME", tree.home()}, {"TMPDIR", tree.temporaryDirectory()}}, "", std::chrono::seconds(120));
    ASSERT_EQ(reset.exitCode, 0) << reset.out << reset.err;
    EXPECT_TRUE(running.ended(5000)) << "the application was not quit";
    EXPECT_EQ(listing({bundle}), bundleBefore);

    std::set<std::string> ticked;
    std::istringstream lines(reset.out);
    for (std::string line, why; std::getline(lines, line);) {
        if (!line.empty() && line != bundle && !line.starts_with(bundle + "/"))
            ticked.insert(platform::SystemLinks::resolveParents(line, why).value_or(line));
    }
    for (const auto& expected : {rootsFolder, tree.at("~/Library/Application Support/Orbit Planner"),
                                 tree.at("~/Library/Caches/com.meridiansoft.orbitplanner")})
        EXPECT_TRUE(ticked.count(expected)) << expected << "\n" << reset.out;
    // The records are the user's: read as the user, one line an item.
    int pipe[2];
    ASSERT_EQ(::pipe(pipe), 0);
    const int status = fixtures::runUnprivileged([&] {
        ::close(pipe[0]);
        std::string found;
        for (const auto& record : RemovalRecord::all())
            for (const auto& item : record.items)
                found += item.originalPath + "\t" + RemovalRecord::stateName(item.state) + "\t" + item.trashPath + "\n";
        return ::write(pipe[1], found.data(), found.size()) == static_cast<ssize_t>(found.size()) ? 0 : 1;
    });
    ::close(pipe[1]);
    std::string text;
    char chunk[4096];
    for (ssize_t got; (got = ::read(pipe[0], chunk, sizeof chunk)) > 0;)
        text.append(chunk, got);
    ::close(pipe[0]);
    ASSERT_EQ(status, 0);
    std::set<std::string> recorded;
    std::istringstream items(text);
    for (std::string line; std::getline(items, line);) {
        const auto tab = line.find('\t'), nextTab = line.find('\t', tab + 1);
        const std::string original = line.substr(0, tab), state = line.substr(tab + 1, nextTab - tab - 1), trashed = line.substr(nextTab + 1);
        recorded.insert(original);
        EXPECT_EQ(state, "moved") << original;
        EXPECT_TRUE(trashed.starts_with(tree.at("~/.Trash/"))) << trashed;
        EXPECT_TRUE(platform::fs::linkStatus(trashed)) << trashed;
        EXPECT_FALSE(platform::fs::linkStatus(original)) << original;
    }
    EXPECT_EQ(recorded, ticked);

    const auto back = asUser({"restore", "--last", "--yes"});
    EXPECT_EQ(back.exitCode, 0) << back.out << back.err;
    EXPECT_EQ(mac(), before);
}

}  // namespace
