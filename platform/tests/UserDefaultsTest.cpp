#include "fixtures/MacTree.h"
#include "platform/Bookmark.h"
#include "platform/Sandbox.h"
#include "platform/UserDefaults.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

using platform::Bookmark;
using platform::UserDefaults;

class UserDefaultsTest : public ::testing::Test {
protected:
    void SetUp() override { tree.activate(); }
    fixtures::MacTree tree;
};

TEST_F(UserDefaultsTest, ValuesPersistInOneXmlFilePerDomain)
{
    UserDefaults defaults("com.test.domain");
    EXPECT_FALSE(defaults.objectForKey("missing"));
    ASSERT_TRUE(defaults.setObject("name", plist::Value("value")));
    ASSERT_TRUE(defaults.setObject("blob", plist::Value(plist::Data{"\x01\x02"})));
    EXPECT_EQ(defaults.filePath(), tree.home() + "/.config/com.test.domain.plist");

    const auto onDisk = plist::readDictionary(defaults.filePath());
    ASSERT_TRUE(onDisk);
    EXPECT_EQ(plist::stringValue(*onDisk, "name"), "value");
    EXPECT_EQ(UserDefaults("com.test.domain").objectForKey("blob"), plist::Value(plist::Data{"\x01\x02"}));
    EXPECT_FALSE(UserDefaults("com.other").objectForKey("name"));

    ASSERT_TRUE(defaults.removeObject("name"));
    EXPECT_FALSE(defaults.objectForKey("name"));
    EXPECT_TRUE(defaults.objectForKey("blob"));

    tree.environment().set("XDG_CONFIG_HOME", tree.at("/xdg"));
    EXPECT_EQ(defaults.filePath(), tree.at("/xdg/com.test.domain.plist"));
    // Domains that could escape the folder are refused.
    EXPECT_FALSE(UserDefaults("../evil").setObject("a", plist::Value("b")));
    EXPECT_FALSE(UserDefaults("").setObject("a", plist::Value("b")));
}

TEST_F(UserDefaultsTest, ConcurrentWritersLoseNothing)
{
    UserDefaults defaults("com.test.concurrent");
    std::vector<std::thread> writers;
    for (int t = 0; t < 4; ++t) {
        writers.emplace_back([t] {
            UserDefaults mine("com.test.concurrent");
            for (int i = 0; i < 10; ++i)
                mine.setObject("k" + std::to_string(t) + "_" + std::to_string(i), plist::Value(std::int64_t{i}));
        });
    }
    for (auto& w : writers)
        w.join();
    const auto all = plist::readDictionary(defaults.filePath());
    ASSERT_TRUE(all);
    EXPECT_EQ(all->size(), 40u);
}

TEST_F(UserDefaultsTest, BookmarkResolvesUntilTheFolderIsReplaced)
{
    const std::string folder = tree.at("/Granted");
    tree.makeDirectories(folder);
    const auto reference = Bookmark::fileReferenceURL(folder);
    ASSERT_TRUE(reference);
    EXPECT_EQ(reference->rfind("file:///.file/id=", 0), 0u);

    const auto data = Bookmark::create(folder, true);
    ASSERT_TRUE(data);
    const auto resolved = Bookmark::resolve(*data, true);
    ASSERT_TRUE(resolved);
    EXPECT_EQ(resolved->path, folder);
    EXPECT_FALSE(resolved->isStale);
    EXPECT_TRUE(resolved->securityScoped);
    EXPECT_FALSE(Bookmark::resolve(*Bookmark::create(folder, false), true)->securityScoped);

    // A new folder under the old name is another file, even where the file system gives it the
    // freed inode number: the bookmark is stale.
    fixtures::MacTree::removeTree(folder);
    ASSERT_FALSE(Bookmark::resolve(*data, true));
    tree.makeDirectories(folder);
    const auto again = Bookmark::resolve(*data, true);
    ASSERT_TRUE(again);
    EXPECT_TRUE(again->isStale);

    EXPECT_FALSE(Bookmark::resolve(plist::Data{"garbage"}, true));
    EXPECT_FALSE(Bookmark::create(tree.at("/Nowhere"), true));
}

TEST_F(UserDefaultsTest, SandboxAllowsTheContainerAndGrantsOnly)
{
    const std::string outside = tree.at("/Library");
    EXPECT_TRUE(platform::Sandbox::isReadableAndWritable(outside));
    tree.environment().set("APP_SANDBOX_CONTAINER_ID", "com.qzt.ostrova");
    platform::Sandbox::resetGrants();
    EXPECT_FALSE(platform::Sandbox::isReadableAndWritable(outside));
    EXPECT_TRUE(platform::Sandbox::isReadableAndWritable(tree.home() + "/Library"));
    EXPECT_TRUE(platform::Sandbox::isReadableAndWritable(tree.temporaryDirectory()));

    ASSERT_TRUE(platform::Sandbox::startAccessingSecurityScopedResource(outside));
    EXPECT_TRUE(platform::Sandbox::isReadableAndWritable(outside + "/Caches"));
    platform::Sandbox::stopAccessingSecurityScopedResource(outside);
    EXPECT_FALSE(platform::Sandbox::isReadableAndWritable(outside + "/Caches"));

    platform::Sandbox::grantForProcess(tree.root());
    EXPECT_TRUE(platform::Sandbox::isReadableAndWritable(outside));
    platform::Sandbox::resetGrants();
    EXPECT_FALSE(platform::Sandbox::isReadableAndWritable(tree.root() + "/nonexistent"));
}

}  // namespace
