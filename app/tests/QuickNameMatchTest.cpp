#include "app/scanner/NamePattern.h"
#include "app/scanner/QuickNameMatch.h"
#include "app/locations/SearchFilePath.h"
#include "app/scanner/UninstallScaner.h"

#include <gtest/gtest.h>

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
    std::size_t decided = 0;
    for (const auto& tokens : tokenSets) {
        std::vector<const std::string*> alternatives;
        for (const auto& token : tokens)
            alternatives.push_back(&token);
        for (const std::string& suffix : {std::string(), crash}) {
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
                ++decided;
                ASSERT_EQ(*quick, engine.matches(key)) << "key [" << key << "] pattern " << pattern;
            }
        }
    }
    EXPECT_GT(decided, 15000u);
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
