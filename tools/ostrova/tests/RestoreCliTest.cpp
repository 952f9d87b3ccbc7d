// Removals to the Trash and `ostrova restore` as scripts and terminals use them: a round trip that
// gives back the very files, names a full Trash numbers, places taken since, volumes where no Trash
// can be had, and a removal killed between two applications.
#include "CliRunner.h"
#include "app/removal/RemovalRecord.h"
#include "fixtures/BackgroundProcess.h"
#include "fixtures/MacTree.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"

#include <gtest/gtest.h>

#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <map>
#include <tuple>

namespace {

// What a listing compares for each path: mode, owner, group, size, modification time and the
// content of files.
using Entry = std::tuple<mode_t, uid_t, gid_t, off_t, long, std::string>;

class RestoreCli : public ::testing::Test {
protected:
    void SetUp() override
    {
        tree.activate();
        // A standard folder of every Mac (the tool keeps a folder of its own there).
        tree.makeDirectories(tree.at("~/Library/Application Scripts"));
    }

    std::string addApp(const std::string& name, const std::string& identifier)
    {
        fixtures::AppBlueprint app;
        app.name = name;
        app.identifier = identifier;
        app.executable = name;
        app.executable.erase(std::remove(app.executable.begin(), app.executable.end(), ' '), app.executable.end());
        app.files = {{"Contents/Resources/data.bin", 40000}};
        const std::string bundle = tree.addApp("/Applications", app);
        tree.writeFile(tree.at("~/Library/Preferences/" + identifier + ".plist"), "<plist>" + name + "</plist>");
        tree.writeFile(tree.at("~/Library/Caches/" + identifier + "/cache.db"), std::string(3000, 'c'));
        tree.writeFile(tree.at("~/Library/Application Support/" + name + "/store.db"), "store of " + name);
        ::chmod(tree.at("~/Library/Application Support/" + name + "/store.db").c_str(), 0600);
        return bundle;
    }

    // Every path below the root but the Trash and Ostrova's own files (its records, the daemon it
    // installs), with what it is.
    std::map<std::string, Entry> listing() const
    {
        std::map<std::string, Entry> found;
        walk(tree.root(), found);
        return found;
    }

    // The paths whose entries differ in `after` from `before`, for a readable failure; not minding
    // the times of the folders that stayed in place while items left them and came back (`during`:
    // a listing taken in between).
    static std::string restoredDifferences(std::map<std::string, Entry> before, std::map<std::string, Entry> after,
                                           const std::map<std::string, Entry>& during)
    {
        for (auto* listing : {&before, &after})
            for (auto& [path, entry] : *listing)
                if (S_ISDIR(std::get<0>(entry)) && during.count(path))
                    std::get<4>(entry) = 0;
        std::string text;
        for (const auto& [path, entry] : before)
            if (!after.count(path) || after.at(path) != entry)
                text += (after.count(path) ? "changed: " : "missing: ") + path + "\n";
        for (const auto& [path, entry] : after)
            if (!before.count(path))
                text += "new: " + path + "\n";
        return text;
    }

    fixtures::MacTree tree;

private:
    void walk(const std::string& folder, std::map<std::string, Entry>& found) const
    {
        for (const auto& name : platform::fs::listDirectory(folder).value_or(std::vector<std::string>{})) {
            const std::string path = folder + "/" + name;
            if (path == tree.at("~/.Trash") || path == tree.at("~/Library/Application Support/Ostrova") ||
                name.find("com.halvane.ostrova") != std::string::npos || name.find("com.qzt.ostrova") != std::string::npos)
                continue;
            struct stat st {};
            if (::lstat(path.c_str(), &st) != 0)
                continue;
            const std::string content = S_ISREG(st.st_mode) ? platform::fs::readFile(path).value_or("?") : "";
            found[path] = Entry{st.st_mode, st.st_uid, st.st_gid, S_ISDIR(st.st_mode) ? 0 : st.st_size, st.st_mtim.tv_sec, content};
            if (S_ISDIR(st.st_mode))
                walk(path, found);
        }
    }
};

TEST_F(RestoreCli, AnUninstallGoesToTheTrashAndRestoreGivesBackTheVeryFiles)
{
    addApp("Harbor Post", "com.harbor.post");
    addApp("Aster Diagram", "com.aster.diagram");
    const auto before = listing();

    const auto removed = runOstrova(tree, {"uninstall", "--yes", "Harbor Post", "Aster Diagram"});
    ASSERT_EQ(removed.exitCode, 0) << removed.out << removed.err;
    EXPECT_NE(removed.out.find("to the Trash; emptying the Trash frees the space"), std::string::npos) << removed.out;
    EXPECT_FALSE(platform::fs::linkStatus(tree.at("/Applications/Harbor Post.app")));
    EXPECT_TRUE(platform::fs::linkStatus(tree.at("~/.Trash/Harbor Post.app/Contents/Info.plist")));
    EXPECT_TRUE(platform::fs::linkStatus(tree.at("~/.Trash/com.aster.diagram.plist")));

    const auto during = listing();
    const auto records = RemovalRecord::all();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records.front().countInTrash(), 8u);
    const auto shown = runOstrova(tree, {"restore", "--list"});
    EXPECT_EQ(shown.exitCode, 0);
    EXPECT_NE(shown.out.find(records.front().identifier), std::string::npos);
    EXPECT_NE(shown.out.find("8 of 8 items in the Trash"), std::string::npos) << shown.out;

    const auto dry = runOstrova(tree, {"restore", "--dry-run", "--last"});
    EXPECT_EQ(dry.exitCode, 0) << dry.err;
    EXPECT_FALSE(platform::fs::linkStatus(tree.at("/Applications/Harbor Post.app")));

    const auto restored = runOstrova(tree, {"restore", "--yes", records.front().identifier});
    ASSERT_EQ(restored.exitCode, 0) << restored.out << restored.err;
    EXPECT_EQ(restoredDifferences(before, listing(), during), "");
    EXPECT_TRUE(platform::fs::listDirectory(tree.at("~/.Trash")).value_or(std::vector<std::string>{"?"}).empty());

    // Once back, the applications are listed again.
    const auto list = runOstrova(tree, {"list"});
    EXPECT_NE(list.out.find("Harbor Post"), std::string::npos);
    EXPECT_NE(list.out.find("Aster Diagram"), std::string::npos);
}

TEST_F(RestoreCli, TakenNamesInTheTrashAreNumberedAndTakenPlacesAreNeverOverwritten)
{
    addApp("Harbor Post", "com.harbor.post");
    tree.writeFile(tree.at("~/.Trash/com.harbor.post.plist"), "an older one");
    tree.writeFile(tree.at("~/.Trash/Harbor Post.app"), "a file of that name");
    const auto removed = runOstrova(tree, {"uninstall", "--yes", "Harbor Post"});
    ASSERT_EQ(removed.exitCode, 0) << removed.out << removed.err;
    EXPECT_EQ(platform::fs::readFile(tree.at("~/.Trash/com.harbor.post.plist")), "an older one");
    EXPECT_EQ(platform::fs::readFile(tree.at("~/.Trash/com.harbor.post 2.plist")), "<plist>Harbor Post</plist>");
    EXPECT_TRUE(platform::fs::isDirectoryNoFollow(tree.at("~/.Trash/Harbor Post 2.app")));

    // Written again since: stays as it is now, and the rest comes back.
    const std::string preferences = tree.at("~/Library/Preferences/com.harbor.post.plist");
    tree.writeFile(preferences, "new settings");
    const auto dry = runOstrova(tree, {"restore", "--dry-run", "--last"});
    EXPECT_EQ(dry.exitCode, 1);
    EXPECT_NE(dry.out.find("Not put back, their places are taken now (1):\n  " + preferences), std::string::npos) << dry.out;
    EXPECT_EQ(dry.out.find("  " + preferences + "\nNot put back"), std::string::npos) << dry.out;
    const auto restored = runOstrova(tree, {"restore", "--yes", "--last"});
    EXPECT_EQ(restored.exitCode, 1);
    EXPECT_NE(restored.out.find("Not put back, their places are taken now (1):\n  " + preferences), std::string::npos) << restored.out;
    EXPECT_EQ(platform::fs::readFile(preferences), "new settings");
    EXPECT_EQ(platform::fs::readFile(tree.at("~/.Trash/com.harbor.post 2.plist")), "<plist>Harbor Post</plist>");
    EXPECT_TRUE(platform::fs::linkStatus(tree.at("/Applications/Harbor Post.app/Contents/Info.plist")));
    EXPECT_EQ(platform::fs::readFile(tree.at("~/Library/Application Support/Harbor Post/store.db")), "store of Harbor Post");

    // An item emptied from the Trash is reported as gone.
    addApp("Aster Diagram", "com.aster.diagram");
    ASSERT_EQ(runOstrova(tree, {"uninstall", "--yes", "Aster Diagram"}).exitCode, 0);
    ASSERT_EQ(::unlink(tree.at("~/.Trash/com.aster.diagram.plist").c_str()), 0);
    const auto partly = runOstrova(tree, {"restore", "--yes", "--last"});
    EXPECT_EQ(partly.exitCode, 1);
    EXPECT_NE(partly.out.find("Emptied from the Trash (1)"), std::string::npos) << partly.out;
    EXPECT_TRUE(platform::fs::linkStatus(tree.at("/Applications/Aster Diagram.app")));
}

TEST_F(RestoreCli, WhereNoTrashCanBeHadItemsAreLeftUnlessDeleteAgrees)
{
    addApp("Harbor Post", "com.harbor.post");
    // A file where the home's Trash should be: nothing on this volume can go to a Trash.
    tree.writeFile(tree.at("~/.Trash"), "not a folder");
    const auto kept = runOstrova(tree, {"uninstall", "--yes", "Harbor Post"});
    EXPECT_EQ(kept.exitCode, 1) << kept.out << kept.err;
    EXPECT_NE(kept.out.find("Left over"), std::string::npos) << kept.out;
    EXPECT_TRUE(platform::fs::linkStatus(tree.at("/Applications/Harbor Post.app")));
    EXPECT_TRUE(platform::fs::linkStatus(tree.at("~/Library/Preferences/com.harbor.post.plist")));

    const auto deleted = runOstrova(tree, {"uninstall", "--yes", "--delete", "Harbor Post"});
    EXPECT_EQ(deleted.exitCode, 0) << deleted.out << deleted.err;
    EXPECT_FALSE(platform::fs::linkStatus(tree.at("/Applications/Harbor Post.app")));
    EXPECT_FALSE(platform::fs::linkStatus(tree.at("~/Library/Preferences/com.harbor.post.plist")));
    EXPECT_EQ(deleted.out.find("to the Trash;"), std::string::npos);
    const auto records = RemovalRecord::all();
    ASSERT_FALSE(records.empty());
    for (const auto& item : records.front().items)
        EXPECT_EQ(item.state, RemovalRecord::State::deleted) << item.originalPath;
}

// The tool on a terminal, ended with SIGKILL once the first application has gone and it asks
// about the second, which runs.
TEST_F(RestoreCli, ARemovalKilledHalfWayCanBeRestoredFromItsRecord)
{
    addApp("Aster Diagram", "com.aster.diagram");
    const std::string harbor = addApp("Harbor Post", "com.harbor.post");
    const std::string executable = fixtures::copyExecutable(harbor + "/Contents/MacOS/HarborPost");
    fixtures::BackgroundProcess running({executable, "120"});
    ASSERT_TRUE(running.waitUntilRunning(executable));
    const auto before = listing();

    int terminal = -1;
    const pid_t child = ::forkpty(&terminal, nullptr, nullptr, nullptr);
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::setenv("OSTROVA_LAUNCHCTL", "/bin/false", 1);
        ::execl(OSTROVA_CLI, OSTROVA_CLI, "uninstall", "Aster Diagram", "Harbor Post", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    std::string said;
    auto waitFor = [&](const std::string& text) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (said.find(text) == std::string::npos && std::chrono::steady_clock::now() < deadline) {
            pollfd ready{terminal, POLLIN, 0};
            if (::poll(&ready, 1, 200) <= 0)
                continue;
            char buffer[4096];
            const ssize_t n = ::read(terminal, buffer, sizeof buffer);
            if (n <= 0)
                break;
            said.append(buffer, static_cast<std::size_t>(n));
        }
        return said.find(text) != std::string::npos;
    };
    ASSERT_TRUE(waitFor("Remove them? [y/N]")) << said;
    ASSERT_EQ(::write(terminal, "y\n", 2), 2);
    ASSERT_TRUE(waitFor("Harbor Post is running. Quit it and remove it?")) << said;
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ::close(terminal);
    ASSERT_TRUE(WIFSIGNALED(status));

    // The first application went to the Trash, the second was not touched; the record says so.
    EXPECT_FALSE(platform::fs::linkStatus(tree.at("/Applications/Aster Diagram.app")));
    EXPECT_TRUE(platform::fs::linkStatus(harbor));
    const auto records = RemovalRecord::all();
    ASSERT_EQ(records.size(), 1u);
    std::size_t moved = 0;
    for (const auto& item : records.front().items) {
        const bool aster = item.originalPath.find("Aster Diagram") != std::string::npos ||
                           item.originalPath.find("com.aster.diagram") != std::string::npos;
        if (records.front().isInTrash(item)) {
            ++moved;
            EXPECT_TRUE(aster) << item.originalPath;
            EXPECT_TRUE(platform::fs::linkStatus(item.trashPath)) << item.trashPath;
        } else {
            EXPECT_FALSE(aster) << item.originalPath << " moved without a record of where";
            EXPECT_TRUE(platform::fs::linkStatus(item.originalPath)) << item.originalPath;
        }
    }
    EXPECT_EQ(moved, 4u);

    const auto during = listing();
    const auto restored = runOstrova(tree, {"restore", "--yes", "--last"});
    ASSERT_EQ(restored.exitCode, 0) << restored.out << restored.err;
    EXPECT_EQ(restoredDifferences(before, listing(), during), "");
}

// Root given another user's HOME (as sudo -E passes it) neither reads the records found there (that
// user could have forged them) nor writes its own through that user's folders or a link.
TEST_F(RestoreCli, RecordsAreReadAndWrittenOnlyInTheUsersOwnFolders)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "a home of another user needs root";
    addApp("Harbor Post", "com.harbor.post");
    ASSERT_EQ(runOstrova(tree, {"uninstall", "--yes", "Harbor Post"}).exitCode, 0);
    ASSERT_EQ(RemovalRecord::all().size(), 1u);
    const std::string identifier = RemovalRecord::all().front().identifier;

    ASSERT_EQ(::chown(tree.home().c_str(), 65534, 65534), 0);
    EXPECT_TRUE(RemovalRecord::all().empty());
    EXPECT_EQ(runOstrova(tree, {"restore", "--list"}).out.find(identifier), std::string::npos);
    EXPECT_NE(runOstrova(tree, {"restore", "--yes", identifier}).exitCode, 0);
    EXPECT_FALSE(platform::fs::linkStatus(tree.at("/Applications/Harbor Post.app")));

    // The user's own home again, but its records folder leads into the system's job folder.
    ASSERT_EQ(::chown(tree.home().c_str(), 0, 0), 0);
    const std::string removals = RemovalRecord::folder();
    ASSERT_EQ(::rename(removals.c_str(), (removals + ".old").c_str()), 0);
    ASSERT_EQ(::symlink(tree.at("/Library/LaunchDaemons").c_str(), removals.c_str()), 0);
    tree.makeDirectories(tree.at("/Library/LaunchDaemons"));
    const auto jobsBefore = platform::fs::listDirectory(tree.at("/Library/LaunchDaemons")).value_or(std::vector<std::string>{});
    addApp("Aster Diagram", "com.aster.diagram");
    const auto removed = runOstrova(tree, {"uninstall", "--yes", "Aster Diagram"});
    EXPECT_NE(removed.out.find("The record of this removal could not be written"), std::string::npos) << removed.out;
    EXPECT_EQ(platform::fs::listDirectory(tree.at("/Library/LaunchDaemons")).value_or(std::vector<std::string>{}), jobsBefore);
}

// What `restore` says and returns after a history of removals. Steps: "trash NAME" and "delete
// NAME" (an uninstall to the Trash or deleted at once), "restore" (restore --yes --last), "empty
// WORD" (the Trash entries whose names hold WORD, any case, emptied by hand). "{newest}" stands
// for the newest record's identifier.
struct Outcome {
    const char* name;
    std::vector<std::string> steps;
    std::vector<std::string> command;
    int exitCode;
    std::vector<std::string> said;
    const char* backAfterwards;  // a path that the command put back, or null
    std::vector<std::string> unsaid = {};  // texts that must not be in the output
};

void PrintTo(const Outcome& outcome, std::ostream* out)
{
    *out << outcome.name;
}

class RestoreOutcome : public RestoreCli, public ::testing::WithParamInterface<Outcome> {};

TEST_P(RestoreOutcome, SaysWhatHappenedAndWhyAndExitsAccordingly)
{
    addApp("Harbor Post", "com.harbor.post");
    addApp("Aster Diagram", "com.aster.diagram");
    for (const auto& step : GetParam().steps) {
        const std::string verb = step.substr(0, step.find(' '));
        const std::string rest = step.size() > verb.size() ? step.substr(verb.size() + 1) : "";
        if (verb == "trash" || verb == "delete") {
            const auto run = runOstrova(tree, {"uninstall", "--yes", verb == "trash" ? "--" : "--delete", rest});
            ASSERT_EQ(run.exitCode, 0) << step << "\n" << run.out << run.err;
        } else if (verb == "restore") {
            ASSERT_EQ(runOstrova(tree, {"restore", "--yes", "--last"}).exitCode, 0) << step;
        } else {
            for (const auto& entry : platform::fs::listDirectory(tree.at("~/.Trash")).value_or(std::vector<std::string>{})) {
                std::string lower = entry;
                std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
                if (lower.find(rest) != std::string::npos)
                    fixtures::MacTree::removeTree(tree.at("~/.Trash/" + entry));
            }
        }
    }
    const auto records = RemovalRecord::all();
    const auto substituted = [&](std::string text) {
        if (const auto at = text.find("{newest}"); at != std::string::npos && !records.empty())
            text.replace(at, 8, records.front().identifier);
        return text;
    };
    std::vector<std::string> command;
    for (const auto& word : GetParam().command)
        command.push_back(substituted(word));
    const auto result = runOstrova(tree, command);
    EXPECT_EQ(result.exitCode, GetParam().exitCode) << result.out << result.err;
    for (const auto& text : GetParam().said)
        EXPECT_NE((result.out + result.err).find(substituted(text)), std::string::npos) << substituted(text) << "\nnot in:\n"
                                                                                        << result.out << result.err;
    for (const auto& text : GetParam().unsaid)
        EXPECT_EQ((result.out + result.err).find(substituted(text)), std::string::npos) << substituted(text) << "\nin:\n"
                                                                                        << result.out << result.err;
    if (GetParam().backAfterwards) {
        EXPECT_TRUE(platform::fs::linkStatus(tree.at(GetParam().backAfterwards))) << GetParam().backAfterwards;
    }
}

const Outcome kOutcomes[] = {
    {"NothingRecorded", {}, {"restore", "--yes", "--last"}, 1, {"No removal is recorded yet."}, nullptr},
    {"NothingRecordedListed", {}, {"restore", "--list"}, 0, {"No removal is recorded yet."}, nullptr},
    {"Deleted", {"delete Harbor Post"}, {"restore", "--yes", "{newest}"}, 1,
     {"Nothing of {newest} (Harbor Post) can be put back.", "Deleted, not in the Trash (4):"}, nullptr},
    {"DeletedIsNoLastRemoval", {"delete Harbor Post"}, {"restore", "--yes", "--last"}, 1,
     {"Skipped {newest} (Harbor Post), nothing of it is in the Trash: 4 deleted, not in the Trash\n",
      "No recorded removal can be put back."}, nullptr},
    {"AlreadyPutBack", {"trash Harbor Post", "restore"}, {"restore", "--yes", "{newest}"}, 1, {"Already put back (4):"}, nullptr},
    {"Emptied", {"trash Harbor Post", "empty "}, {"restore", "--dry-run", "{newest}"}, 1, {"Emptied from the Trash (4):"}, nullptr},
    {"EmptiedIsNotListedAsInTheTrash", {"trash Harbor Post", "empty "}, {"restore", "--list"}, 0,
     {"0 of 4 items in the Trash", "(4 emptied from the Trash)"}, nullptr},
    {"PartlyEmptiedListsWhatIsLeft", {"trash Harbor Post", "empty .plist"}, {"restore", "--list"}, 0,
     {"3 of 4 items in the Trash", "(1 emptied from the Trash)"}, nullptr},
    {"LastSkipsADeletedRemoval", {"trash Aster Diagram", "delete Harbor Post"}, {"restore", "--yes", "--last"}, 0,
     {"Skipped {newest} (Harbor Post), nothing of it is in the Trash: 4 deleted, not in the Trash\n", "Put back (4):"},
     "/Applications/Aster Diagram.app"},
    {"LastSkipsOnePutBack", {"trash Aster Diagram", "trash Harbor Post", "restore"}, {"restore", "--yes", "--last"}, 0,
     {"Skipped {newest} (Harbor Post), nothing of it is in the Trash: 4 already put back\n", "Put back (4):"},
     "/Applications/Aster Diagram.app"},
    {"PutBackLeavesTheList", {"trash Aster Diagram", "trash Harbor Post", "restore"}, {"restore", "--list"}, 0,
     {"Aster Diagram  4 of 4 items in the Trash", "1 removal put back whole is not listed."}, nullptr, {"Harbor Post"}},
    {"AllPutBackListed", {"trash Harbor Post", "restore"}, {"restore", "--list"}, 0,
     {"Every recorded removal has been put back."}, nullptr, {"Harbor Post", "items in the Trash"}},
    {"LastSkipsAnEmptiedOne", {"trash Aster Diagram", "trash Harbor Post", "empty harbor"},
     {"restore", "--yes", "--last"}, 0,
     {"Skipped {newest} (Harbor Post), nothing of it is in the Trash: 4 emptied from the Trash\n", "Put back (4):"},
     "/Applications/Aster Diagram.app"},
};

INSTANTIATE_TEST_SUITE_P(Every, RestoreOutcome, ::testing::ValuesIn(kOutcomes),
                         [](const ::testing::TestParamInfo<Outcome>& row) { return std::string(row.param.name); });

}  // namespace

namespace {

// A reset takes every related item but the bundle, quitting the running application first; the
// bundle stays byte for byte, restore gives back the rest, and --delete deletes it at once.
TEST_F(RestoreCli, AResetKeepsTheBundleAndRestoreGivesBackTheRest)
{
    const std::string harbor = addApp("Harbor Post", "com.harbor.post");
    addApp("Aster Diagram", "com.aster.diagram");
    const auto bundleOnly = [&](const std::map<std::string, Entry>& all) {
        std::map<std::string, Entry> kept;
        for (const auto& [path, entry] : all)
            if (path == harbor || path.rfind(harbor + "/", 0) == 0)
                kept.emplace(path, entry);
        return kept;
    };
    // Running (the copy puts a real program in the bundle), it is quit first.
    const std::string executable = fixtures::copyExecutable(harbor + "/Contents/MacOS/HarborPost");
    fixtures::BackgroundProcess running({executable, "120"});
    ASSERT_TRUE(running.waitUntilRunning(executable));
    const auto before = listing();

    const auto dry = runOstrova(tree, {"reset", "--dry-run", "Harbor Post"});
    ASSERT_EQ(dry.exitCode, 0) << dry.err;
    EXPECT_EQ(dry.out.rfind("Harbor Post would be reset: its 3 items (", 0), 0u) << dry.out;
    EXPECT_NE(dry.out.find("go to the Trash; the application stays:\n"), std::string::npos) << dry.out;
    EXPECT_EQ(dryRunPaths(dry.out), (std::multiset<std::string>{tree.at("~/Library/Preferences/com.harbor.post.plist"),
                                                                tree.at("~/Library/Caches/com.harbor.post"),
                                                                tree.at("~/Library/Application Support/Harbor Post")}));
    EXPECT_EQ(listing(), before);

    const auto reset = runOstrova(tree, {"reset", "--yes", "Harbor Post"});
    ASSERT_EQ(reset.exitCode, 0) << reset.out << reset.err;
    EXPECT_TRUE(running.ended(10000));
    EXPECT_NE(reset.out.find("Reset Harbor Post; the application stays.\n"), std::string::npos) << reset.out;
    const auto during = listing();
    EXPECT_EQ(restoredDifferences(bundleOnly(before), bundleOnly(during), {}), "");
    EXPECT_FALSE(platform::fs::linkStatus(tree.at("~/Library/Application Support/Harbor Post")));
    EXPECT_TRUE(platform::fs::linkStatus(tree.at("~/.Trash/com.harbor.post.plist")));
    EXPECT_TRUE(platform::fs::linkStatus(tree.at("~/Library/Caches/com.aster.diagram/cache.db")));

    const auto restored = runOstrova(tree, {"restore", "--yes", "--last"});
    ASSERT_EQ(restored.exitCode, 0) << restored.out << restored.err;
    EXPECT_EQ(restoredDifferences(before, listing(), during), "");

    const auto deleted = runOstrova(tree, {"reset", "--yes", "--delete", "com.harbor.post"});
    ASSERT_EQ(deleted.exitCode, 0) << deleted.out << deleted.err;
    EXPECT_EQ(restoredDifferences(bundleOnly(before), bundleOnly(listing()), {}), "");
    EXPECT_FALSE(platform::fs::linkStatus(tree.at("~/Library/Caches/com.harbor.post")));
    EXPECT_FALSE(platform::fs::linkStatus(tree.at("~/.Trash/com.harbor.post.plist")));

    // Protected, it is refused before anything happens.
    ASSERT_EQ(runOstrova(tree, {"exclude", "protect", "Harbor Post"}).exitCode, 0);
    tree.writeFile(tree.at("~/Library/Caches/com.harbor.post/cache.db"), "again");
    const auto refused = runOstrova(tree, {"reset", "--yes", "Harbor Post"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.err, "ostrova: Harbor Post is protected; run `ostrova exclude unprotect Harbor Post` first\n");
    EXPECT_TRUE(platform::fs::linkStatus(tree.at("~/Library/Caches/com.harbor.post/cache.db")));
}

}  // namespace
