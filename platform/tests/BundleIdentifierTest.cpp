#include "platform/BundleIdentifier.h"

#include <gtest/gtest.h>

#include <set>
#include <unordered_set>

namespace {

struct Relation {
    const char* identifier;
    const char* other;
    bool same;
    bool extends;  // identifier extends other by whole parts
};

const Relation kRelations[] = {
    {"com.vendor.app", "com.vendor.app", true, true},
    {"com.Vendor.App", "com.vendor.app", true, true},
    {"COM.VENDOR.APP", "com.vendor.app", true, true},
    {"com.vendor.app.helper", "com.vendor.app", false, true},
    {"COM.Vendor.App.Helper", "com.vendor.app", false, true},
    {"com.vendor.app-beta", "com.vendor.app", false, true},
    {"com.vendor.app_x", "com.vendor.app", false, true},
    {"com.vendor.apple", "com.vendor.app", false, false},
    {"com.vendor.apps", "com.vendor.app", false, false},
    {"com.vendor", "com.vendor.app", false, false},
    {"com.vendor.app", "", false, false},
    {"", "", true, false},
    // Only ASCII letters fold, as the file system's names do here.
    {"com.vendör.app", "com.VENDÖR.app", false, false},
};

}  // namespace

TEST(BundleIdentifierTest, LetterCaseDoesNotCountAndOnlyWholePartsExtend)
{
    for (const auto& row : kRelations) {
        const BundleIdentifier identifier(row.identifier);
        const BundleIdentifier other(row.other);
        SCOPED_TRACE(std::string(row.identifier) + " / " + row.other);
        EXPECT_EQ(BundleIdentifier::same(row.identifier, row.other), row.same);
        EXPECT_EQ(identifier == other, row.same);
        EXPECT_EQ(identifier.extends(other), row.extends);
        EXPECT_EQ(identifier.spelled(), row.identifier) << "the spelling is kept";
    }
}

TEST(BundleIdentifierTest, SetsHoldOneEntryPerIdentifierAndWholeStartsAreCutAtEveryPartBreak)
{
    const std::set<BundleIdentifier> ordered{BundleIdentifier("com.Vendor.App"), BundleIdentifier("com.vendor.app"),
                                             BundleIdentifier("com.vendor.app.helper")};
    EXPECT_EQ(ordered.size(), 2u);
    const std::unordered_set<BundleIdentifier> hashed(ordered.begin(), ordered.end());
    EXPECT_EQ(hashed.count(BundleIdentifier("COM.VENDOR.APP")), 1u);
    EXPECT_EQ(hashed.count(BundleIdentifier("com.vendor.ap")), 0u);

    EXPECT_EQ(BundleIdentifier("com.Vendor.app-x").wholeStarts(),
              (std::vector<std::string>{"com", "com.vendor", "com.vendor.app", "com.vendor.app-x"}));
    EXPECT_EQ(BundleIdentifier("single").wholeStarts(), (std::vector<std::string>{"single"}));
}

