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

CommandLine CommandLine::parse(int argc, char** argv, const std::set<std::string>& knownFlags,
                               const std::set<std::string>& knownOptions)
{
    CommandLine line;
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
            if (knownOptions.count(name)) {
                if (inlineValue) {
                    line.options.emplace_back(name, *inlineValue);
                } else if (i + 1 < argc) {
                    line.options.emplace_back(name, argv[++i]);
                } else {
                    line.error = "option " + name + " needs a value";
                    return line;
                }
            } else if (knownFlags.count(name) && !inlineValue) {
                line.flags.insert(name);
            } else {
                line.error = "unknown option " + word;
                return line;
            }
        } else if (line.command.empty()) {
            line.command = word;
        } else {
            line.operands.push_back(word);
        }
    }
    return line;
}
