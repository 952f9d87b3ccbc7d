#include "app/locations/FolderAccess.h"
#include "fixtures/MacTree.h"
#include "platform/Bookmark.h"
#include "platform/Sandbox.h"
#include "platform/UserDefaults.h"

#include <gtest/gtest.h>

namespace {

class FolderAccessTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        tree.activate();
        platform::UserDefaults::setStandardDomain("com.qzt.ostrova");
        platform::Sandbox::resetGrants();
        setOpenPanelRunner([this](const OpenPanelRequest& request) {
            ++panels;
            lastRequest = request;
            return nextAnswer;
        });
    }
    void TearDown() override
    {
        setOpenPanelRunner(nullptr);
        platform::Sandbox::resetGrants();
    }
    void sandbox() { tree.environment().set("APP_SANDBOX_CONTAINER_ID", "com.qzt.ostrova"); }

    // Runs the gate and tells what the work was given (nullopt when it did not run).
    std::optional<bool> access(const std::string& folder, bool useBookmark, bool silent)
    {
        std::optional<bool> given;
        int runs = 0;
        withFolderAccess(folder, useBookmark, silent, nullptr, [&](bool granted) {
            given = granted;
            ++runs;
        });
        EXPECT_LE(runs, 1);
        return given;
    }

    fixtures::MacTree tree;
    int panels = 0;
    OpenPanelRequest lastRequest;
    OpenPanelResponse nextAnswer;
};

TEST_F(FolderAccessTest, OutsideTheSandboxWorkRunsAtOnce)
{
    EXPECT_EQ(access(tree.at("/Library"), true, true), true);
    EXPECT_EQ(access(tree.at("/Does/Not/Exist"), true, false), true);
    EXPECT_EQ(panels, 0);
}

TEST_F(FolderAccessTest, SandboxedAndSilentWithoutAGrantIsRefusedQuietly)
{
    sandbox();
    EXPECT_EQ(access(tree.at("/Library"), true, true), false);
    EXPECT_EQ(panels, 0);
    // The container itself needs no grant.
    EXPECT_EQ(access(tree.home() + "/Library", true, true), true);
}

TEST_F(FolderAccessTest, PanelGrantIsStoredAndUsedLater)
{
    sandbox();
    const std::string folder = tree.at("/Library");
    nextAnswer = {1, {folder}};
    EXPECT_EQ(access(folder, true, false), true);
    EXPECT_EQ(panels, 1);
    EXPECT_EQ(lastRequest.directory, folder);
    EXPECT_EQ(lastRequest.prompt, "Allow access to this path");
    EXPECT_FALSE(lastRequest.canChooseFiles);
    EXPECT_TRUE(lastRequest.treatsFilePackagesAsDirectories);

    const auto stored = platform::UserDefaults::standard().objectForKey(folderGrantKey(folder));
    ASSERT_TRUE(stored && stored->is<plist::Data>());
    EXPECT_EQ(folderGrantKey(folder), "bc_" + *platform::Bookmark::fileReferenceURL(folder));

    // A fresh process: the panel grant is gone, the stored grant opens the folder silently.
    platform::Sandbox::resetGrants();
    EXPECT_EQ(access(folder, true, true), true);
    EXPECT_EQ(panels, 1);
    // Access started for the work ends with it.
    EXPECT_FALSE(platform::Sandbox::isReadableAndWritable(folder));
    // Without useBookmark the stored grant is not consulted.
    EXPECT_EQ(access(folder, false, true), false);
}

TEST_F(FolderAccessTest, CancelledPanelAndMissingRunnerRefuse)
{
    sandbox();
    nextAnswer = {0, {}};
    EXPECT_EQ(access(tree.at("/Library"), true, false), false);
    nextAnswer = {1, {}};
    EXPECT_EQ(access(tree.at("/Library"), true, false), false);
    setOpenPanelRunner(nullptr);
    EXPECT_EQ(access(tree.at("/Library"), true, false), false);
}

TEST_F(FolderAccessTest, PanelWithoutBookmarkRemovesTheStoredGrant)
{
    sandbox();
    const std::string folder = tree.at("/Library");
    nextAnswer = {1, {folder}};
    ASSERT_EQ(access(folder, true, false), true);
    ASSERT_TRUE(platform::UserDefaults::standard().objectForKey(folderGrantKey(folder)));
    platform::Sandbox::resetGrants();
    EXPECT_EQ(access(folder, false, false), true);
    EXPECT_FALSE(platform::UserDefaults::standard().objectForKey(folderGrantKey(folder)));
}

TEST_F(FolderAccessTest, ARecreatedFolderDoesNotFindItsOldGrant)
{
    sandbox();
    const std::string folder = tree.at("/Volumes/Data");
    tree.makeDirectories(folder);
    nextAnswer = {1, {folder}};
    ASSERT_EQ(access(folder, true, false), true);
    platform::Sandbox::resetGrants();
    ASSERT_EQ(access(folder, true, true), true);

    fixtures::MacTree::removeTree(folder);
    tree.makeDirectories(folder);
    platform::Sandbox::resetGrants();
    EXPECT_EQ(access(folder, true, true), false);
}

TEST_F(FolderAccessTest, APresenterShowsThePanelItsWay)
{
    sandbox();
    const std::string folder = tree.at("/Library");
    OpenPanelCallback pending;
    std::optional<bool> given;
    withFolderAccess(folder, StoredGrant::use, Asking::mayAskUser,
                     [&](const OpenPanelRequest& request, OpenPanelCallback done) {
                         EXPECT_EQ(request.directory, folder);
                         pending = std::move(done);
                     },
                     [&](bool granted) { given = granted; });
    EXPECT_FALSE(given.has_value());
    ASSERT_TRUE(pending);
    pending({1, {folder}});
    EXPECT_EQ(given, true);
    EXPECT_EQ(panels, 0);
}

}  // namespace
