// The folder watcher over real inotify: entries that appear, go or are renamed in and out, the
// folder's own end, what it does not see (deeper folders, folders it was not asked about) and
// folders it cannot watch.
#include "fixtures/MacTree.h"
#include "fixtures/SystemCallFault.h"
#include "platform/FolderWatcher.h"

#include <gtest/gtest.h>

#include <poll.h>
#include <stdio.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>

namespace {

using platform::FolderWatcher;

class FolderWatcherTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        tree.activate();
        applications = tree.at("/Applications");
        trash = tree.at("~/.Trash");
        other = tree.at("/Other");
        for (const auto& folder : {applications, trash, other})
            tree.makeDirectories(folder);
    }

    // The changes that come within a generous bound, gathered until `until` holds of them.
    std::vector<FolderWatcher::Change> changesUntil(FolderWatcher& watcher, const std::function<bool(const std::vector<FolderWatcher::Change>&)>& until)
    {
        std::vector<FolderWatcher::Change> all;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!until(all) && std::chrono::steady_clock::now() < deadline) {
            pollfd ready{watcher.descriptor(), POLLIN, 0};
            if (::poll(&ready, 1, 200) > 0)
                for (auto& change : watcher.readChanges())
                    all.push_back(std::move(change));
        }
        return all;
    }

    static bool names(const std::vector<FolderWatcher::Change>& changes, const std::string& folder)
    {
        return std::any_of(changes.begin(), changes.end(), [&](const auto& change) { return change.folder == folder; });
    }

    fixtures::MacTree tree;
    std::string applications;
    std::string trash;
    std::string other;
};

// A move between watched folders names both; a deeper folder and one not asked about are not seen.
TEST_F(FolderWatcherTest, AMoveBetweenWatchedFoldersNamesBothAndNothingElseIsSeen)
{
    tree.makeDirectories(applications + "/Utilities");
    FolderWatcher watcher;
    ASSERT_GE(watcher.descriptor(), 0);
    EXPECT_TRUE(watcher.watch({applications, trash}).empty());
    EXPECT_TRUE(watcher.isWatching(applications));
    const std::string bundle = applications + "/Kite.app";
    tree.writeFile(bundle + "/Contents/Info.plist", "x");
    const auto created = changesUntil(watcher, [&](const auto& all) { return names(all, applications); });
    ASSERT_EQ(created.size(), 1u);
    tree.writeFile(applications + "/Utilities/deep.txt", "x");
    tree.writeFile(other + "/elsewhere.txt", "x");
    ASSERT_EQ(::rename(bundle.c_str(), (trash + "/Kite.app").c_str()), 0);

    const auto changes = changesUntil(watcher, [&](const auto& all) { return names(all, applications) && names(all, trash); });
    EXPECT_EQ(changes.size(), 2u);
    EXPECT_FALSE(names(changes, other));
    for (const auto& change : changes)
        EXPECT_FALSE(change.folderGone) << change.folder;
    EXPECT_TRUE(watcher.readChanges().empty());
}

TEST_F(FolderWatcherTest, AFolderThatGoesIsReportedGoneAndCanBeWatchedAgain)
{
    FolderWatcher watcher;
    ASSERT_TRUE(watcher.watch({trash, other}).empty());
    fixtures::MacTree::removeTree(trash);
    ASSERT_EQ(::rename(other.c_str(), (other + "-moved").c_str()), 0);

    const auto changes = changesUntil(watcher, [&](const auto& all) {
        return std::count_if(all.begin(), all.end(), [](const auto& change) { return change.folderGone; }) == 2;
    });
    for (const auto& folder : {trash, other}) {
        const auto it = std::find_if(changes.begin(), changes.end(), [&](const auto& change) { return change.folder == folder && change.folderGone; });
        EXPECT_NE(it, changes.end()) << folder;
        EXPECT_FALSE(watcher.isWatching(folder)) << folder;
    }
    // The moved folder is no longer watched where it went.
    tree.writeFile(other + "-moved/after.txt", "x");
    // Not there: handed back. There again: watched again.
    EXPECT_EQ(watcher.watch({trash}), std::vector<std::string>{trash});
    tree.makeDirectories(trash);
    EXPECT_TRUE(watcher.watch({trash}).empty());
    tree.writeFile(trash + "/Kite.app", "x");
    const auto after = changesUntil(watcher, [&](const auto& all) { return names(all, trash); });
    ASSERT_EQ(after.size(), 1u);
    EXPECT_EQ(after[0].folder, trash);
    EXPECT_FALSE(after[0].folderGone);
}

TEST_F(FolderWatcherTest, FoldersTheSystemWillNotWatchAreHandedBack)
{
    FolderWatcher watcher;
    {
        // The system's limit on watches, reached at the second folder.
        fixtures::ScopedSystemCallFault limit(fixtures::SystemCall::watchFolder, ENOSPC, 2, 1);
        EXPECT_EQ(watcher.watch({applications, trash, other}), std::vector<std::string>{trash});
        EXPECT_EQ(limit.failed(), 1u);
    }
    EXPECT_TRUE(watcher.isWatching(applications));
    EXPECT_FALSE(watcher.isWatching(trash));
    EXPECT_TRUE(watcher.isWatching(other));
    tree.writeFile(trash + "/unseen.txt", "x");
    tree.writeFile(other + "/seen.txt", "x");
    const auto changes = changesUntil(watcher, [&](const auto& all) { return names(all, other); });
    EXPECT_FALSE(names(changes, trash));
    // Once the system has room again the folder is taken.
    EXPECT_TRUE(watcher.watch({trash}).empty());
    EXPECT_TRUE(watcher.isWatching(trash));
}

}  // namespace
