#include "app/bundles/BundleReader.h"
#include "app/records/UninstallApp.h"

#include <gtest/gtest.h>

namespace {

std::shared_ptr<UnFileGroup> groupWith(std::initializer_list<bool> ticks)
{
    auto group = std::make_shared<UnFileGroup>();
    for (const bool tick : ticks) {
        auto item = std::make_shared<UnFileItem>();
        item->isSelected = tick;
        item->group = group;
        group->fileItem.push_back(item);
    }
    return group;
}

std::shared_ptr<UninstallApp> appWith(std::initializer_list<std::shared_ptr<UnFileGroup>> groups)
{
    auto app = BundleReader::record("/nonexistent/For Selection.app");
    for (const auto& group : groups) {
        group->app = app;
        app->fileGroups.push_back(group);
    }
    return app;
}

TEST(SelectionState, Groups)
{
    EXPECT_EQ(groupWith({})->selectionState(), kSelectionOff);
    EXPECT_EQ(groupWith({true, true})->selectionState(), kSelectionOn);
    EXPECT_EQ(groupWith({false, false})->selectionState(), kSelectionOff);
    EXPECT_EQ(groupWith({true, false})->selectionState(), kSelectionMixed);
    EXPECT_EQ(groupWith({false, true, true})->selectionState(), kSelectionMixed);
}

TEST(SelectionState, ApplicationReadsFromItsGroups)
{
    EXPECT_EQ(appWith({})->selectionState(), kSelectionOff);
    EXPECT_EQ(appWith({groupWith({true}), groupWith({true, true})})->selectionState(), kSelectionOn);
    EXPECT_EQ(appWith({groupWith({false}), groupWith({false})})->selectionState(), kSelectionOff);
    EXPECT_EQ(appWith({groupWith({true}), groupWith({false})})->selectionState(), kSelectionMixed);
    EXPECT_EQ(appWith({groupWith({true, false}), groupWith({true})})->selectionState(), kSelectionMixed);
    // An empty first group counts as off, so a ticked second group makes the whole mixed.
    EXPECT_EQ(appWith({groupWith({}), groupWith({true, true})})->selectionState(), kSelectionMixed);
    EXPECT_EQ(appWith({groupWith({}), groupWith({false})})->selectionState(), kSelectionOff);
}

TEST(SelectionState, WritingOnTicksEverythingAndAnythingElseClears)
{
    auto app = appWith({groupWith({false, true}), groupWith({}), groupWith({false})});
    app->setSelectionState(kSelectionOn);
    for (const auto& group : app->fileGroups)
        for (const auto& item : group->fileItem)
            EXPECT_TRUE(item->isSelected);
    EXPECT_EQ(app->fileGroups[1]->fileItem.size(), 0u);

    app->setSelectionState(kSelectionMixed);
    for (const auto& group : app->fileGroups)
        for (const auto& item : group->fileItem)
            EXPECT_FALSE(item->isSelected);

    app->fileGroups[0]->setSelectionState(kSelectionOn);
    EXPECT_EQ(app->fileGroups[0]->selectionState(), kSelectionOn);
    EXPECT_EQ(app->selectionState(), kSelectionMixed);

    auto empty = appWith({});
    empty->setSelectionState(kSelectionOn);
    EXPECT_EQ(empty->selectionState(), kSelectionOff);
}

}  // namespace
