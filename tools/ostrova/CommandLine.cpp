#include "tools/ostrova/CommandLine.h"

std::vector<std::string> CommandLine::optionValues(const std::string& name) const
{
    std::vector<std::string> values;
    for (const auto& [option, value] : options) {
        if (option == name)
            values.push_back(value);
    }
    return values;
}

const std::map<std::string, CommandLine::Words>& CommandLine::commands()
{
    static const std::map<std::string, Words> words = {
        {"list", {{"--json"}, {}}},
        {"scan", {{"--json", "--all"}, {}}},
        {"uninstall", {{"--yes", "--dry-run", "--delete", "--force-quit"}, {"--only", "--keep"}}},
        {"leftovers", {{"--json", "--yes", "--dry-run", "--delete", "--remove", "--all"}, {}}},
        {"restore", {{"--list", "--last", "--yes", "--dry-run"}, {}}},
        {"reset", {{"--yes", "--dry-run", "--delete"}, {}}},
        {"exclude", {{"--json"}, {"--app"}}},
        {"help", {{}, {}}},
    };
    return words;
}

const CommandLine::Words& CommandLine::everywhere()
{
    static const Words words = {{"--help", "-h", "--version", "-V"}, {}};
    return words;
}

namespace {

bool anyTakes(const std::string& name, std::set<std::string> CommandLine::Words::*kind)
{
    if ((CommandLine::everywhere().*kind).count(name))
        return true;
    for (const auto& [command, words] : CommandLine::commands()) {
        if ((words.*kind).count(name))
            return true;
    }
    return false;
}

}  // namespace

CommandLine CommandLine::parse(int argc, char** argv)
{
    CommandLine line;
    std::vector<std::string> named;  // every flag and option, in the order given
    const auto fail = [&line](const std::string& message) {
        if (line.error.empty())
            line.error = message;
    };
    bool operandsOnly = false;
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        if (!operandsOnly && word == "--") {
            operandsOnly = true;
        } else if (!operandsOnly && word.size() > 1 && word[0] == '-') {
            std::string name = word;
            std::optional<std::string> inlineValue;
            if (const auto eq = word.find('='); eq != std::string::npos && word.rfind("--", 0) == 0) {
                name = word.substr(0, eq);
                inlineValue = word.substr(eq + 1);
            }
            if (anyTakes(name, &Words::options)) {
                if (inlineValue)
                    line.options.emplace_back(name, *inlineValue);
                else if (i + 1 < argc)
                    line.options.emplace_back(name, argv[++i]);
                else
                    fail(name + " needs a value");
                named.push_back(name);
            } else if (anyTakes(name, &Words::flags)) {
                if (inlineValue)
                    fail(name + " takes no value");
                line.flags.insert(name);
                named.push_back(name);
            } else {
                fail("unknown option " + word);
            }
        } else if (line.command.empty()) {
            line.command = word;
        } else {
            line.operands.push_back(word);
        }
    }
    const auto command = commands().find(line.command);
    if (command == commands().end())
        return line;
    for (const auto& name : named) {
        const auto& own = command->second;
        if (!everywhere().flags.count(name) && !own.flags.count(name) && !own.options.count(name))
            fail(line.command + " does not take " + name);
    }
    return line;
}
