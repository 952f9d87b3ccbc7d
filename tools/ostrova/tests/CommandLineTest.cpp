#include "tools/ostrova/CommandHelp.h"
#include "tools/ostrova/CommandLine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

CommandLine parsed(std::vector<std::string> words)
{
    words.insert(words.begin(), "ostrova");
    std::vector<char*> argv;
    for (auto& word : words)
        argv.push_back(word.data());
    return CommandLine::parse(static_cast<int>(argv.size()), argv.data());
}

TEST(CommandLine, WordsThatMakeNoSenseAreTheErrorThatSaysSo)
{
    const struct {
        std::vector<std::string> words;
        std::string error;
    } cases[] = {
        {{"leftovers", "--only", "cache"}, "leftovers does not take --only"},
        {{"list", "--delete"}, "list does not take --delete"},
        {{"restore", "--last", "--force-quit"}, "restore does not take --force-quit"},
        {{"--all", "list"}, "list does not take --all"},
        {{"uninstall", "Lumen Notes", "--only"}, "--only needs a value"},
        {{"uninstall", "--yes=no", "Lumen Notes"}, "--yes takes no value"},
        {{"scan", "--json=", "--all"}, "--json takes no value"},
        {{"scan", "--bogus"}, "unknown option --bogus"},
        {{"help", "--json"}, "help does not take --json"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parsed(c.words).error, c.error) << c.words.front();
}

TEST(CommandLine, WordsThatMakeSenseAreTakenApart)
{
    const auto line = parsed({"uninstall", "--only", "cache", "--keep=log", "--yes", "--", "--dry-run", "A"});
    EXPECT_EQ(line.error, "");
    EXPECT_EQ(line.command, "uninstall");
    EXPECT_TRUE(line.has("--yes"));
    EXPECT_FALSE(line.has("--dry-run"));
    EXPECT_EQ(line.options, (std::vector<std::pair<std::string, std::string>>{{"--only", "cache"}, {"--keep", "log"}}));
    EXPECT_EQ(line.operands, (std::vector<std::string>{"--dry-run", "A"}));

    // Help and the version go with any command; an unknown command is the caller's to name.
    for (const auto& words : std::vector<std::vector<std::string>>{{"scan", "--help"}, {"restore", "-V"}, {"frobnicate", "--json"}})
        EXPECT_EQ(parsed(words).error, "") << words.front();
}

// Each command's own help names every flag and option it takes, so what the parser takes cannot
// drift from what the help promises.
TEST(CommandLine, EachCommandsHelpNamesWhatItTakes)
{
    for (const auto& [command, words] : CommandLine::commands()) {
        const auto help = CommandHelp::forCommand(command);
        ASSERT_TRUE(help) << command;
        for (const auto* kind : {&words.flags, &words.options}) {
            for (const auto& name : *kind)
                EXPECT_NE(help->find(name), std::string::npos) << command << " " << name;
        }
    }
}

}  // namespace
