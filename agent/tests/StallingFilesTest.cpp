// Nothing the scan, the remains finder or the agent reads makes them wait: named pipes and 2 GiB
// sparse files lie in every searched place and inside bundles, named like what is read there.
#include "Auxiliary/AppIconCache.h"
#include "agent/FolderApplications.h"
#include "agent/RemainsJudge.h"
#include "app/catalogue/UninstallAppManager.h"
#include "fixtures/MacTree.h"
#include "fixtures/PipeWatchdog.h"
#include "fixtures/SearchedFolders.h"
#include "fixtures/StallingFiles.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>

namespace {

using fixtures::StallingFiles;

// The items of the record with that identifier; none when there is no such record.
std::set<std::string> itemsOf(const std::vector<std::shared_ptr<UninstallApp>>& apps, const std::string& identifier)
{
    std::set<std::string> items;
    for (const auto& app : apps)
        if (app->bundleIdentifier() == identifier)
            for (const auto& group : app->fileGroups)
                for (const auto& item : group->fileItem)
                    items.insert(item->filePath);
    return items;
}

struct Reader {
    const char* name;
    // Reads the tree as the program does, and checks that it got through it.
    void (*read)(const fixtures::MacTree& tree, const StallingFiles& files);
};

const Reader kReaders[] = {
    {"Scan", [](const fixtures::MacTree& tree, const StallingFiles&) {
         const auto manager = UninstallAppManager::make();
         manager->discoverApps();
         manager->runScanLoop();
         const auto items = itemsOf(manager->allApps(), StallingFiles::kInstalledIdentifier);
         for (const char* kind : {"pipe", "large"})
             EXPECT_TRUE(items.count(tree.at(std::string("~/Library/Preferences/com.vendor.harbor.") + kind + ".plist"))) << kind;
     }},
    {"Remains", [](const fixtures::MacTree& tree, const StallingFiles&) {
         const auto manager = UninstallAppManager::make();
         manager->discoverApps();
         manager->findGoneApps();
         for (const std::string gone : {StallingFiles::kGonePipeIdentifier, StallingFiles::kGoneLargeIdentifier})
             EXPECT_TRUE(itemsOf(manager->goneApps(), gone).count(tree.at("~/Library/Preferences/" + gone + ".plist"))) << gone;
     }},
    // The watch lists the application folder and the Trash, the judge scans, the panel shows the icon.
    {"Agent", [](const fixtures::MacTree& tree, const StallingFiles& files) {
         EXPECT_EQ(FolderApplications::list(tree.at("/Applications")).applications.count(files.installedApp), 1u);
         const auto trashed = FolderApplications::list(tree.at("~/.Trash")).applications;
         ASSERT_EQ(trashed.count(files.trashedApp), 1u);
         const ShelvedApplication& shelved = trashed.at(files.trashedApp);
         EXPECT_EQ(shelved.iconPath, files.trashedIcon);
         RemovedApplication candidate{shelved.identifier, shelved.displayName, shelved.iconPath, shelved.bundlePath, {}, 0, nullptr};
         const auto judged = RemainsJudge::judge({candidate});
         ASSERT_EQ(judged.size(), 1u);
         const std::set<std::string> remains(judged[0].remains.begin(), judged[0].remains.end());
         EXPECT_TRUE(remains.count(tree.at("~/Library/Preferences/com.gonevendor.pipe.plist")));
         AppIconCache::iconFor(platform::FileIcon{judged[0].iconPath, "application-x-executable"}, true);
     }},
};

void PrintTo(const Reader& reader, std::ostream* out)
{
    *out << reader.name;
}

class StallingFilesTest : public ::testing::TestWithParam<Reader> {
protected:
    void SetUp() override
    {
        tree.activate();
        files = std::make_unique<StallingFiles>(tree, fixtures::searchedFolders());
    }
    fixtures::MacTree tree;
    std::unique_ptr<StallingFiles> files;
};

TEST_P(StallingFilesTest, EndsWithoutWaitingOnAnyFile)
{
    EXPECT_TRUE(fixtures::finishesBeforeDeadline([&] { GetParam().read(tree, *files); }, files->pipes))
        << GetParam().name << " waited on a named pipe";
}

INSTANTIATE_TEST_SUITE_P(Readers, StallingFilesTest, ::testing::ValuesIn(kReaders),
                         [](const ::testing::TestParamInfo<Reader>& run) { return std::string(run.param.name); });

}  // namespace
