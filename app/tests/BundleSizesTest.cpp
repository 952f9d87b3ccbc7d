// Bundles measured ahead of the scan: each bundle gets its own size, whoever walks it, and a stopped
// run measures nothing.
#include "Auxiliary/FileSize.h"
#include "app/catalogue/UninstallAppManager.h"
#include "app/records/UninstallApp.h"
#include "app/scanner/BundleSizes.h"
#include "app/scanner/StopToken.h"
#include "fixtures/MacTree.h"

#include <gtest/gtest.h>

namespace {

struct Bundles {
    fixtures::MacTree tree;
    std::vector<std::string> paths;
    std::vector<std::int64_t> sizes;

    explicit Bundles(int count)
    {
        tree.activate();
        for (int i = 0; i < count; ++i) {
            fixtures::AppBlueprint app;
            app.name = "Pane" + std::to_string(i);
            app.identifier = "com.example.pane" + std::to_string(i);
            app.executableBytes = 1000 * (i + 1);
            paths.push_back(tree.addApp("/Applications", app));
            tree.writeFileOfSize(paths.back() + "/Contents/Resources/deep/er/data", 70000 * (i + 1));
            sizes.push_back(fileSize(paths.back()));
        }
    }
};

TEST(BundleSizes, EachBundleGetsItsOwnSizeWhoeverWalksIt)
{
    Bundles bundles(5);
    for (std::size_t i = 1; i < bundles.sizes.size(); ++i)
        ASSERT_NE(bundles.sizes[i], bundles.sizes[i - 1]);
    auto withDuplicates = bundles.paths;
    withDuplicates.push_back(bundles.paths[0]);
    withDuplicates.push_back("");
    const auto stop = std::make_shared<StopToken>();
    for (const int threads : {0, 1, 3, 8}) {
        SCOPED_TRACE(threads);
        BundleSizes ahead(withDuplicates, stop, threads);
        // The threads walk every listed bundle without being asked.
        ahead.waitForWalks();
        EXPECT_EQ(ahead.walkedAhead(), threads > 0 ? 5 : 0);
        for (std::size_t i = bundles.paths.size(); i-- > 0;)
            EXPECT_EQ(ahead.sizeOf(bundles.paths[i]), bundles.sizes[i]) << bundles.paths[i];
        // A second question gets the same answer; a path not listed is measured on the spot.
        EXPECT_EQ(ahead.sizeOf(bundles.paths[2]), bundles.sizes[2]);
        const std::string other = bundles.tree.at("/Library/Caches/loose");
        bundles.tree.writeFileOfSize(other, 1234);
        EXPECT_EQ(ahead.sizeOf(other), 1234);
    }
}

TEST(BundleSizes, AStoppedOrAbandonedRunMeasuresNothing)
{
    Bundles bundles(3);
    {
        const auto stop = std::make_shared<StopToken>();
        stop->stop();
        BundleSizes ahead(bundles.paths, stop, 2);
        ahead.waitForWalks();
        EXPECT_EQ(ahead.walkedAhead(), 0);
        EXPECT_EQ(ahead.sizeOf(bundles.paths[1]), 0);
    }
    std::weak_ptr<StopToken> gone;
    {
        const auto stop = std::make_shared<StopToken>();
        gone = stop;
    }
    BundleSizes ahead(bundles.paths, gone, 2);
    EXPECT_EQ(ahead.sizeOf(bundles.paths[0]), 0);
}

TEST(BundleSizes, TheScanGivesEveryApplicationItsOwnBundleSize)
{
    Bundles bundles(6);
    const auto manager = UninstallAppManager::make();
    manager->setFindsRemains(false);
    manager->discoverApps();
    manager->runScanLoop();
    std::size_t checked = 0;
    for (const auto& app : manager->allApps()) {
        for (std::size_t i = 0; i < bundles.paths.size(); ++i) {
            if (app->bundlePath != bundles.paths[i])
                continue;
            EXPECT_EQ(app->bundleSize, bundles.sizes[i]) << bundles.paths[i];
            ++checked;
        }
    }
    EXPECT_EQ(checked, bundles.paths.size());
}

}  // namespace
