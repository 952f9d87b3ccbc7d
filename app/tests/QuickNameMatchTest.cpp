#include "app/scanner/HolderFolderSearch.h"
#include "app/scanner/NamePattern.h"
#include "app/scanner/QuickNameMatch.h"
#include "app/scanner/WholeIdentifier.h"
#include "app/locations/SearchFilePath.h"
#include "app/scanner/UninstallScaner.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

namespace {

// The shortcut must agree with the pattern engine on every key it decides.
TEST(QuickNameMatch, AgreesWithThePatternEngine)
{
    const std::string crash = SearchFilePath::suffixForCategory(RkUninstallCategoryType::crashReporter);
    const std::vector<std::string> pieces = {"foo", "bar", "foobar", ".", "_", "-", "2024", "-01", "1a2b3", "x", "+",
                                             "\n", "é", "\xE2\x80\xA8", "plist", "com", "_2024-1-2", "", "A", "9", "\t", "(", ")"};
    const std::vector<std::vector<std::string>> tokenSets = {
        {"foobar", "foo", "foo.bar"}, {"", "foo", ""}, {"com.foo", ""}, {"notes+", "notes", "x(y"}, {"é", "foo_", "_"}};
    std::mt19937 random(99);
    std::map<std::string, std::size_t> decided;  // by suffix: each shortcut must decide most keys
    for (const auto& tokens : tokenSets) {
        std::vector<const std::string*> alternatives;
        for (const auto& token : tokens)
            alternatives.push_back(&token);
        for (const std::string& suffix : {std::string(), crash, HolderFolderSearch::accountSuffix()}) {
            std::string pattern = "\\b(";
            for (std::size_t i = 0; i < tokens.size(); ++i)
                pattern += (i ? "|(" : "(") + UninstallScaner::escapeForPattern(tokens[i]) + ")";
            pattern += ")" + suffix + "(\\..*){0,}";
            ASSERT_EQ(tokens.size() != 3 || suffix != "" ? pattern : NamePattern::namePattern(
                          UninstallScaner::escapeForPattern(tokens[0]), UninstallScaner::escapeForPattern(tokens[1]),
                          UninstallScaner::escapeForPattern(tokens[2]), suffix), pattern);
            NamePattern engine(pattern);
            for (int n = 0; n < 3000; ++n) {
                std::string key;
                if (random() % 2)
                    key = tokens[random() % tokens.size()];
                const int parts = static_cast<int>(random() % 5);
                for (int p = 0; p < parts; ++p)
                    key += pieces[random() % pieces.size()];
                const auto quick = QuickNameMatch::matches(key, alternatives, suffix, crash);
                if (!quick)
                    continue;
                ++decided[suffix];
                ASSERT_EQ(*quick, engine.matches(key)) << "key [" << key << "] pattern " << pattern;
            }
        }
    }
    ASSERT_EQ(decided.size(), 3u);
    for (const auto& [suffix, count] : decided)
        EXPECT_GT(count, 5000u) << suffix;
}

TEST(QuickNameMatch, LeavesUnusualCasesToTheEngine)
{
    const std::string crash = SearchFilePath::suffixForCategory(RkUninstallCategoryType::crashReporter);
    const std::string token = "foo";
    EXPECT_FALSE(QuickNameMatch::matches("éfoo", {&token}, "", crash).has_value());
    EXPECT_EQ(QuickNameMatch::matches("fooé", {&token}, "", crash), false);
    EXPECT_FALSE(QuickNameMatch::matches("foo.plist", {&token}, ".{1,}\\.plist", crash).has_value());
    EXPECT_EQ(QuickNameMatch::matches("foo.plist", {&token}, "", crash), true);
    // A name may end in any character: "Notes+" is found by its own name, "foo." by its dotted tail.
    EXPECT_EQ(QuickNameMatch::matches("foo.", {&token}, "", crash), true);
    const std::string plus = "notes+";
    EXPECT_EQ(QuickNameMatch::matches("notes+", {&plus}, "", crash), true);
    EXPECT_EQ(QuickNameMatch::matches("notes+.plist", {&plus}, "", crash), true);
    EXPECT_EQ(QuickNameMatch::matches("notes+x", {&plus}, "", crash), false);
    EXPECT_EQ(QuickNameMatch::matches("foo_abcde", {&token}, crash, crash), true);
    EXPECT_EQ(QuickNameMatch::matches("foo_abcd", {&token}, crash, crash), false);
}

}  // namespace

namespace {

TEST(WholeIdentifier, OnlyWholeDottedPartsCount)
{
    const std::string id = "com.vendor.foo";
    for (const char* carried : {"com.vendor.foo", "com.vendor.foo.plist", "group.com.vendor.foo", "ABCDE12345.com.vendor.foo.x",
                                "com.vendor.foo-helper", "com.vendor.foo_2024-01-02.crash", "xcom.vendor.foo.com.vendor.foo"})
        EXPECT_TRUE(WholeIdentifier::isCarriedBy(carried, id)) << carried;
    for (const char* notCarried : {"com.vendor.foobar", "xcom.vendor.foo", "com.vendor.fo", "com-vendor.foo", "com.vendor.foo+",
                                   "Com.Vendor.Foo", "", "cache-com.vendor.foo"})
        EXPECT_FALSE(WholeIdentifier::isCarriedBy(notCarried, id)) << notCarried;
    // No identifier is carried by anything, not even by names that begin or end on a dot.
    for (const char* name : {"", "foo.", ".foo", "-", "com.vendor.foo"})
        EXPECT_FALSE(WholeIdentifier::isCarriedBy(name, "")) << name;
}

}  // namespace
