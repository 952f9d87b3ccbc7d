#include "app/locations/ReviewManager.h"
#include "app/locations/SearchFilePath.h"
#include "fixtures/MacTree.h"

#include <gtest/gtest.h>

namespace {

class SearchFilePathTest : public ::testing::Test {
protected:
    void SetUp() override { tree.activate(); }
    void TearDown() override { ReviewManager::shared().setClock(nullptr); }
    fixtures::MacTree tree;
};

TEST_F(SearchFilePathTest, ListsOutsideTheSandbox)
{
    const std::string& r = tree.root();
    const std::string& h = tree.home();
    EXPECT_EQ(SearchFilePath::applicationFolders(),
              (std::vector<std::string>{r + "/Applications", h + "/Applications",
                                        h + "/Library/Containers/io.playcover.PlayCover/Applications",
                                        h + "/Downloads", h + "/Desktop"}));
    EXPECT_EQ(SearchFilePath::cacheFolders(),
              (std::vector<std::string>{r + "/Library/Caches", h + "/Library/Caches",
                                        r + "/var/folders/ab/x1y2z3/C",
                                        r + "/var/folders/ab/x1y2z3/T/"}));
    EXPECT_EQ(SearchFilePath::crashReportFolders(),
              (std::vector<std::string>{r + "/Library/Application Support/CrashReporter",
                                        h + "/Library/Application Support/CrashReporter",
                                        r + "/Library/Logs/DiagnosticReports", h + "/Library/Logs/DiagnosticReports"}));
    EXPECT_EQ(SearchFilePath::launchFolders(),
              (std::vector<std::string>{r + "/Library/LaunchAgents", h + "/Library/LaunchAgents",
                                        r + "/Library/LaunchDaemons", h + "/Library/LaunchDaemons",
                                        r + "/Library/StartupItems"}));
    EXPECT_EQ(SearchFilePath::libraryFolders(),
              (std::vector<std::string>{r + "/Library", h + "/Library", r + "/Users/Shared", h + "/Library/WebKit"}));
    EXPECT_EQ(SearchFilePath::realHomeDirectory(), h);
    EXPECT_EQ(SearchFilePath::resolveHomePath("~/Library/Logs"), h + "/Library/Logs");
}

TEST_F(SearchFilePathTest, PerUserCacheRootFallsBackWhenTheTemporaryFolderIsNoUrl)
{
    tree.environment().set("TMPDIR", tree.root() + "/with space/T/");
    EXPECT_EQ(SearchFilePath::cacheFolders()[2], tree.root() + "/C");
    EXPECT_EQ(SearchFilePath::cacheFolders()[3], tree.root() + "/with space/T/");
}

TEST_F(SearchFilePathTest, SandboxedHomeResolvesToTheRealUser)
{
    tree.environment().set("APP_SANDBOX_CONTAINER_ID", "com.qzt.ostrova");
    tree.environment().set("HOME", tree.root() + "/Users/anna/Library/Containers/x/Data");
    EXPECT_EQ(SearchFilePath::realHomeDirectory(), tree.root() + "/Users/anna");
    EXPECT_EQ(SearchFilePath::resolveHomePath("~/Library/Logs"), tree.root() + "/Users/anna/Library/Logs");
    EXPECT_EQ(SearchFilePath::applicationFolders()[2],
              tree.root() + "/Users/anna/Library/Containers/io.playcover.PlayCover/Applications");

    // Fewer than three pieces: no real home, so "~/Library/Caches" is the system's.
    tree.environment().set("HOME", tree.root() + "/Users");
    EXPECT_EQ(SearchFilePath::realHomeDirectory(), "");
    EXPECT_EQ(SearchFilePath::resolveHomePath("~/Library/Caches"), tree.root() + "/Library/Caches");
}

TEST_F(SearchFilePathTest, ReviewPeriodNarrowsTheAccessRoots)
{
    const auto before = std::chrono::system_clock::from_time_t(1704067200);  // 2024-01-01
    ReviewManager::shared().setClock([&] { return before; });
    EXPECT_FALSE(ReviewManager::shared().reviewPeriodActive());  // not sandboxed
    EXPECT_EQ(SearchFilePath::accessRootForApplicationFolder(tree.home() + "/Desktop"), tree.root());
    EXPECT_EQ(SearchFilePath::accessRootForCategory(RkUninstallCategoryType::Sandbox), tree.root());

    tree.environment().set("APP_SANDBOX_CONTAINER_ID", "com.qzt.ostrova");
    tree.environment().set("HOME", tree.root() + "/Users/anna/Library/Containers/x/Data");
    EXPECT_TRUE(ReviewManager::shared().reviewPeriodActive());
    const std::string anna = tree.root() + "/Users/anna";
    EXPECT_EQ(SearchFilePath::accessRootForApplicationFolder(anna + "/Library/Containers/io.playcover.PlayCover/Applications"),
              anna + "/Library/Containers");
    EXPECT_EQ(SearchFilePath::accessRootForApplicationFolder(anna + "/Library/Other"), anna + "/Library");
    EXPECT_EQ(SearchFilePath::accessRootForApplicationFolder(anna + "/Desktop"), tree.root());
    // Scans and removals ask for the Library, and for containers, the Containers folder.
    EXPECT_EQ(SearchFilePath::accessRootForCategory(RkUninstallCategoryType::Sandbox), anna + "/Library/Containers");
    EXPECT_EQ(SearchFilePath::accessRootForCategory(RkUninstallCategoryType::cache), anna + "/Library");
    EXPECT_EQ(SearchFilePath::accessRootForCategory(RkUninstallCategoryType::bundle), anna + "/Library");

    ReviewManager::shared().setClock(nullptr);
    EXPECT_FALSE(ReviewManager::shared().reviewPeriodActive());
}

}  // namespace
