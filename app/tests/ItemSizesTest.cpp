// Sizes as the list adds them up: what lies inside another item counts once, and after a real scan
// an application's total is the sum of its groups.
#include "ScannerTestSupport.h"
#include "app/records/ItemSizes.h"

#include <gtest/gtest.h>

namespace {

std::shared_ptr<UnFileItem> item(const std::string& path, std::int64_t size, bool ticked = true)
{
    auto made = std::make_shared<UnFileItem>();
    made->filePath = path;
    made->size = size;
    made->isSelected = ticked;
    return made;
}

TEST(ItemSizes, WhatLiesInsideAnotherItemCountsOnce)
{
    const auto bundle = item("/Applications/Kite.app", 1000);
    const auto inner = item("/Applications/Kite.app/Contents/MacOS/Helper.app", 300);
    // Beside the bundle, though its name starts the same: counted.
    const auto sibling = item("/Applications/Kite.app Extras", 40);
    const auto spaced = item("/Applications/Kite.app Extras/Kite.app", 5);
    EXPECT_EQ(ItemSizes::sum({inner.get(), sibling.get(), bundle.get()}), 1040);
    EXPECT_EQ(ItemSizes::sum({spaced.get(), inner.get(), sibling.get(), bundle.get()}), 1040);
    EXPECT_EQ(ItemSizes::sum({inner.get()}), 300);
    EXPECT_EQ(ItemSizes::sum({}), 0);
    // The same path twice is one item.
    EXPECT_EQ(ItemSizes::sum({bundle.get(), item("/Applications/Kite.app", 1000).get()}), 1000);
}

TEST(ItemSizes, TickedItemsOfEachApplication)
{
    auto app = BundleReader::record("/nonexistent/Kite.app");
    auto group = std::make_shared<UnFileGroup>();
    group->fileItem = {item("/a/Kite.app", 1000), item("/a/Kite.app/Contents/Library/Login.app", 200),
                       item("/b/com.kite", 70, false), item("/c/com.kite.plist", 3)};
    app->fileGroups.push_back(group);
    EXPECT_EQ(ItemSizes::ticked({app}), 1003);
    EXPECT_EQ(ItemSizes::ofGroup(*group), 1073);
    group->fileItem[0]->isSelected = false;
    // The inner application ticked alone counts for itself.
    EXPECT_EQ(ItemSizes::ticked({app}), 203);
    EXPECT_EQ(ItemSizes::ticked({app, app}), 406);
}

TEST(ItemSizes, AfterAScanTheTotalIsTheSumOfTheGroups)
{
    fixtures::MacTree tree;
    tree.activate();
    auto kite = blueprintOf("Kite", "com.example.kite");
    kite.executableBytes = 20000;
    const std::string bundle = tree.addApp("/Applications", kite);
    auto helper = blueprintOf("Kite Helper", "com.example.kite.helper");
    helper.executableBytes = 7000;
    tree.addApp(bundle + "/Contents/MacOS", helper);
    tree.writeFile(tree.at("~/Library/Caches/com.example.kite/cache.bin"), std::string(3000, 'c'));
    tree.writeFile(tree.at("~/Library/Preferences/com.example.kite.plist"), std::string(500, 'p'));

    const auto scanned = withIdentifier(scannedCatalogue(false)->allApps(), "com.example.kite");
    ASSERT_TRUE(scanned);
    std::int64_t groups = 0;
    std::size_t items = 0;
    for (const auto& group : scanned->fileGroups) {
        groups += ItemSizes::ofGroup(*group);
        items += group->fileItem.size();
    }
    // The bundle (the helper inside it among its bytes), the cache and the preferences.
    EXPECT_GE(items, 3u);
    EXPECT_GE(scanned->bundleSize, 27000);
    EXPECT_EQ(groups, scanned->totalSize);
    EXPECT_EQ(scanned->totalSize, scanned->bundleSize + 3000 + 500);
}

}  // namespace
