#include "tools/ostrova/CommandHelp.h"
#include "tools/ostrova/CommandLine.h"
#include "tools/ostrova/JsonWriter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

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
        {{"scan", "--json=", "--all"}, "--json takes no value"},
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

TEST(JsonWriter, EscapesAndReplacesBrokenUtf8)
{
    EXPECT_EQ(JsonWriter::quoted("a\"b\\c\nd\te\x01"), "\"a\\\"b\\\\c\\nd\\te\\u0001\"");
    EXPECT_EQ(JsonWriter::quoted("Straße"), "\"Straße\"");
    EXPECT_EQ(JsonWriter::quoted(std::string("x\xff" "y\xC3")), "\"x\\ufffdy\\ufffd\"");
    EXPECT_EQ(JsonWriter::quoted("\xED\xA0\x80"), "\"\\ufffd\\ufffd\\ufffd\"");  // a lone surrogate

    JsonWriter json;
    json.beginArray();
    json.beginObject();
    json.key("name");
    json.value(std::string("bad\xfe name"));
    json.key("size");
    json.value(std::int64_t{-5});
    json.key("flag");
    json.value(true);
    json.key("list");
    json.beginArray();
    json.endArray();
    json.endObject();
    json.value("tail");
    json.endArray();
    QJsonParseError error;
    const auto doc = QJsonDocument::fromJson(QByteArray::fromStdString(json.text()), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << json.text();
    const auto object = doc.array().at(0).toObject();
    EXPECT_EQ(object.value("size").toInt(), -5);
    EXPECT_TRUE(object.value("flag").toBool());
    EXPECT_EQ(doc.array().at(1).toString(), "tail");
}

}  // namespace
