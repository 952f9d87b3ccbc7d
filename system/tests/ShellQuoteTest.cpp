#include "fixtures/ChildProcess.h"
#include "system/ShellQuote.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>

namespace {

TEST(ShellQuote, EveryByteSurvivesTheShell)
{
    std::vector<std::string> names = {"plain", "it's", "'", "''", "a\"b", "back\\slash", "$(touch CANARY)", "`id`",
                                      "new\nline", "tab\tstop", "*", "-n", "semi;colon", "amp&er", " lead", "trail ",
                                      std::string("\xff\xfe broken")};
    for (int c = 1; c < 256; ++c)
        if (c != '/')
            names.push_back(std::string("x") + static_cast<char>(c) + "y");
    std::mt19937 random(5);
    for (int n = 0; n < 200; ++n) {
        std::string name;
        for (int i = 0; i < 12; ++i) {
            char c = static_cast<char>(1 + random() % 255);
            name += c == '/' ? 'q' : c;
        }
        names.push_back(name);
    }
    // One shell run for all: each quoted name is printed, NUL-terminated.
    std::string script;
    for (const auto& name : names)
        script += "printf '%s\\0' " + shellquote::single(name) + "\n";
    const auto result = fixtures::runProcess({"/bin/sh", "-c", script});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    std::istringstream out(result.out);
    std::vector<std::string> printed;
    for (std::string name; std::getline(out, name, '\0');)
        printed.push_back(name);
    EXPECT_EQ(printed, names);
}

TEST(ShellQuote, AppleScriptEscapesBackslashThenQuote)
{
    EXPECT_EQ(shellquote::forAppleScript("a\\b\"c"), "a\\\\b\\\"c");
    EXPECT_EQ(shellquote::forAppleScript(shellquote::single("it's")), "'it'\\\\''s'");
}

}  // namespace
