// `ostrova leftovers` as a script runs it, on a Mac where applications were dragged away; and,
// with `ostrova scan`, over a Mac whose searched places and bundles hold named pipes and 2 GiB
// sparse files: both end (a child still running at the deadline is killed and fails the test).
#include "CliRunner.h"
#include "app/catalogue/UninstallAppManager.h"
#include "app/scanner/BundleWalk.h"
#include "fixtures/PathsBelow.h"
#include "fixtures/RemainsTree.h"
#include "fixtures/SearchedFolders.h"
#include "fixtures/StallingFiles.h"
#include "platform/FileSystem.h"
#include "tools/ostrova/AppReport.h"
#include "tools/ostrova/LeftoversCommand.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <chrono>
#include <map>
#include <set>

namespace {

using namespace std::chrono_literals;

class LeftoversCli : public ::testing::Test {
protected:
    fixtures::ProcessResult ostrova(std::vector<std::string> words) { return runOstrova(tree, std::move(words)); }
    // The remains the tool lists, by identifier, from its JSON.
    std::map<std::string, std::set<std::string>> listed(const std::string& json)
    {
        std::map<std::string, std::set<std::string>> found;
        QJsonParseError error;
        const auto document = QJsonDocument::fromJson(QByteArray::fromStdString(json), &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError) << json;
        EXPECT_TRUE(document.isArray());
        for (const auto& app : document.array()) {
            const auto object = app.toObject();
            const std::string identifier = object["bundleIdentifier"].toString().toStdString();
            names[identifier] = object["displayName"].toString().toStdString();
            std::int64_t total = 0;
            for (const auto& group : object["groups"].toArray()) {
                EXPECT_FALSE(group.toObject()["type"].toString().isEmpty());
                EXPECT_FALSE(group.toObject()["title"].toString().isEmpty());
                for (const auto& item : group.toObject()["items"].toArray()) {
                    const auto entry = item.toObject();
                    const std::string path = entry["filePath"].toString().toStdString();
                    found[identifier].insert(path);
                    EXPECT_EQ(entry["isDir"].toBool(), platform::fs::isDirectoryNoFollow(path)) << path;
                    EXPECT_EQ(entry["fileName"].toString().toStdString(), path.substr(path.rfind('/') + 1));
                    total += entry["size"].toInteger();
                }
            }
            EXPECT_EQ(object["totalSize"].toInteger(), total) << identifier;
            EXPECT_TRUE(object["certain"].toBool(false)) << identifier;
        }
        return found;
    }

    fixtures::MacTree tree;
    fixtures::RemainsTree remains{tree};
    std::map<std::string, std::string> names;
};

TEST_F(LeftoversCli, ListsEveryGoneApplicationsRemainsAsJson)
{
    const auto result = ostrova({"leftovers", "--json"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    auto expected = remains.truth;
    // The running application is not running here.
    expected[remains.runnerIdentifier] = {remains.runnerCache};
    EXPECT_EQ(listed(result.out), expected);
    for (const auto& [identifier, name] : remains.displayNames)
        EXPECT_EQ(names[identifier], name);

    const auto text = ostrova({"leftovers"});
    ASSERT_EQ(text.exitCode, 0) << text.err;
    EXPECT_NE(text.out.find("Tally  (com.driftwood.tally)"), std::string::npos) << text.out;
    for (const auto& trap : remains.traps)
        EXPECT_EQ(text.out.find("    " + trap + "  "), std::string::npos) << trap;
}

TEST_F(LeftoversCli, RemovesExactlyTheChosenApplicationsRemains)
{
    const auto dry = ostrova({"leftovers", "--remove", "com.keelworks.keelpro", "--dry-run"});
    ASSERT_EQ(dry.exitCode, 0) << dry.err;
    for (const auto& path : remains.truth.at("com.keelworks.keelpro"))
        EXPECT_NE(dry.out.find("  " + path + "\n"), std::string::npos) << path << "\n" << dry.out;
    EXPECT_NE(dry.out.find("Would remove 2 items"), std::string::npos) << dry.out;

    // No one to ask and no --yes: nothing happens.
    const auto before = fixtures::pathsBelow(tree.root());
    EXPECT_EQ(ostrova({"leftovers", "--remove", "com.keelworks.keelpro"}).exitCode, 2);
    EXPECT_EQ(ostrova({"leftovers", "--remove", "com.nowhere.app", "--yes"}).exitCode, 1);
    EXPECT_EQ(ostrova({"leftovers", "--all", "--remove", "com.keelworks.keelpro", "--yes"}).exitCode, 2);
    EXPECT_EQ(ostrova({"leftovers", "com.keelworks.keelpro"}).exitCode, 2);
    EXPECT_EQ(fixtures::pathsBelow(tree.root()), before);

    const auto removal = ostrova({"leftovers", "--remove", "com.keelworks.keelpro", "--yes"});
    EXPECT_EQ(removal.exitCode, 0) << removal.out << removal.err;
    const auto after = fixtures::pathsBelow(tree.root());
    for (const auto& path : before) {
        bool chosen = false;
        for (const auto& remain : remains.truth.at("com.keelworks.keelpro"))
            chosen = chosen || path == remain || path.rfind(remain + "/", 0) == 0;
        EXPECT_EQ(after.count(path) == 0, chosen) << path;
    }
    const auto listing = ostrova({"leftovers", "--json"});
    ASSERT_EQ(listing.exitCode, 0);
    EXPECT_FALSE(listed(listing.out).count("com.keelworks.keelpro"));
}

TEST_F(LeftoversCli, RemainsOfASearchThatRanOutOfTimeAreMarkedAndTakenOnlyByName)
{
    tree.activate();
    const auto manager = UninstallAppManager::make();
    manager->setFindsRemains(false);
    manager->discoverApps();
    manager->runScanLoop();
    // The walk for installed copies had no time left at all.
    manager->findGoneApps(nullptr, BundleWalk::bundlesUnder(BundleWalk::defaultRoots(), std::chrono::steady_clock::now() - 1s, nullptr));
    const auto& gone = manager->goneApps();
    ASSERT_GT(gone.size(), 1u);
    const auto document = QJsonDocument::fromJson(QByteArray::fromStdString(AppReport::leftoversJson(gone)));
    ASSERT_EQ(document.array().size(), static_cast<qsizetype>(gone.size()));
    for (const auto& app : document.array())
        EXPECT_FALSE(app.toObject()["certain"].toBool(true)) << app.toObject()["bundleIdentifier"].toString().toStdString();
    const std::string text = AppReport::scanText(gone);
    const std::string mark = " (not sure: the search for installed copies ran out of time)\n";
    std::size_t marked = 0;
    for (auto at = text.find(mark); at != std::string::npos; at = text.find(mark, at + 1))
        ++marked;
    EXPECT_EQ(marked, gone.size()) << text;

    // --all takes only the certain ones; a name takes its record whatever.
    gone.front()->remainsCertain = true;
    CommandLine all;
    all.flags = {"--all"};
    bool unknown = false;
    EXPECT_EQ(LeftoversCommand::choose(gone, all, unknown), std::vector<std::shared_ptr<UninstallApp>>{gone.front()});
    CommandLine named;
    named.flags = {"--remove"};
    named.operands = {gone.back()->bundleIdentifier()};
    EXPECT_EQ(LeftoversCommand::choose(gone, named, unknown), std::vector<std::shared_ptr<UninstallApp>>{gone.back()});
    EXPECT_FALSE(unknown);
}

TEST(StallingFilesCli, ScanAndLeftoversEndWithoutWaitingOnAnyFile)
{
    fixtures::MacTree tree;
    tree.activate();  // for the searched folders of this tree
    const fixtures::StallingFiles files(tree, fixtures::searchedFolders());
    struct Run {
        std::vector<std::string> words;
        const char* found;  // what the command must have got to
    };
    for (const auto& run : {Run{{"scan", "--all", "--json"}, "com.vendor.harbor.pipe.plist"},
                            Run{{"leftovers", "--json"}, fixtures::StallingFiles::kGonePipeIdentifier}}) {
        // Two runs stay well inside the test's own time limit, so the child is always ours to kill.
        const auto result = runOstrova(tree, run.words, "", std::chrono::seconds(45));
        EXPECT_FALSE(result.timedOut) << run.words[0] << " waited on a named pipe";
        EXPECT_EQ(result.exitCode, 0) << run.words[0] << ": " << result.err;
        EXPECT_NE(result.out.find(run.found), std::string::npos) << run.words[0] << ": " << result.out.substr(0, 400);
    }
}

}  // namespace
