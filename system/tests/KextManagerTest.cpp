#include "fixtures/MacTree.h"
#include "platform/FileSystem.h"
#include "platform/KernelExtensionTable.h"
#include "platform/linux/LinuxModuleTable.h"
#include "system/KextManager.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace {

class TestTable : public platform::KernelExtensionTable {
public:
    Loaded loaded;
    int unloadAnswer = 0;
    std::vector<std::string> unloads;
    bool readable = true;

    std::optional<Loaded> loadedExtensions() const override { return readable ? std::optional<Loaded>(loaded) : std::nullopt; }
    int unload(const std::string& identifier) override
    {
        unloads.push_back(identifier);
        if (unloadAnswer == 0)
            loaded.erase(identifier);
        return unloadAnswer;
    }
};

class KextManagerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        table = std::make_shared<TestTable>();
        platform::KernelExtensionTable::install(table);
        makeKext();
    }
    void makeKext()
    {
        tree.writeFile(kext + "/Contents/Info.plist", "x");
        tree.writeFile(kext + "/Contents/MacOS/Driver", "x");
    }
    void TearDown() override { platform::KernelExtensionTable::install(nullptr); }

    fixtures::MacTree tree;
    std::shared_ptr<TestTable> table;
    std::string kext = tree.at("/Library/Extensions/Driver.kext");
};

TEST_F(KextManagerTest, NotLoaded)
{
    EXPECT_EQ(KextManager::GetKextBundeIdByPath(kext), "");
    EXPECT_EQ(KextManager::GetKextPathByBundleId(std::string("com.vendor.driver")), "");
    EXPECT_FALSE(KextManager::KextIsRunningByBundleId("com.vendor.driver"));
    EXPECT_FALSE(KextManager::UninstallKextWithPath(kext));
    EXPECT_FALSE(KextManager::UninstallKextWithBundleId(std::string("com.vendor.driver")));
    EXPECT_TRUE(platform::fs::exists(kext));

    EXPECT_FALSE(KextManager::GetKextPathByBundleId(std::string("")).has_value());
    EXPECT_FALSE(KextManager::GetKextPathByBundleId(std::nullopt).has_value());
    EXPECT_FALSE(KextManager::GetKextBundeIdByPath(std::nullopt).has_value());
    EXPECT_FALSE(KextManager::GetKextBundeIdByPath(tree.at("/Nothing.kext")).has_value());
    table->readable = false;
    EXPECT_FALSE(KextManager::GetKextBundeIdByPath(kext).has_value());
}

// Loaded but not started, it is removed without an unload; started, an unload refused leaves it.
TEST_F(KextManagerTest, LoadedIsRemovedAndStartedOnlyOnceUnloaded)
{
    table->loaded["com.vendor.driver"] = {kext, false};
    EXPECT_EQ(KextManager::GetKextBundeIdByPath(kext), "com.vendor.driver");
    EXPECT_EQ(KextManager::GetKextPathByBundleId(std::string("com.vendor.driver")), kext);
    EXPECT_TRUE(KextManager::UninstallKextWithPath(kext));
    EXPECT_TRUE(table->unloads.empty());
    EXPECT_FALSE(platform::fs::linkStatus(kext));

    makeKext();
    table->loaded["com.vendor.driver"] = {kext, true};
    table->unloadAnswer = EPERM;
    EXPECT_TRUE(KextManager::KextIsRunningByBundleId("com.vendor.driver"));
    EXPECT_FALSE(KextManager::UninstallKextWithBundleId(std::string("com.vendor.driver")));
    EXPECT_EQ(table->unloads, std::vector<std::string>{"com.vendor.driver"});
    EXPECT_TRUE(platform::fs::exists(kext + "/Contents/MacOS/Driver"));

    table->unloadAnswer = 0;
    EXPECT_TRUE(KextManager::UninstallKextWithBundleId(std::string("com.vendor.driver")));
    EXPECT_FALSE(platform::fs::linkStatus(kext));
}

TEST(LinuxModuleTable, ReadsTheLoadedModules)
{
    platform::LinuxModuleTable modules;
    const auto loaded = modules.loadedExtensions();
    ASSERT_TRUE(loaded.has_value());  // /proc/modules exists, even when it lists nothing
    for (const auto& [name, extension] : *loaded) {
        EXPECT_FALSE(name.empty());
        if (extension.bundlePath) {
            EXPECT_EQ(extension.bundlePath->front(), '/');
        }
    }
    EXPECT_NE(modules.unload("ostrova_no_such_module"), 0);
}

}  // namespace
