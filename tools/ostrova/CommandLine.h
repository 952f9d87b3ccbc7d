#pragma once

#include <optional>
#include <set>
#include <string>
#include <vector>

// The words of one `ostrova` call: the command, its flags and its operands.
struct CommandLine {
    std::string command;
    std::set<std::string> flags;
    std::vector<std::pair<std::string, std::string>> options;  // --only X, --keep Y, in order
    std::vector<std::string> operands;
    std::string error;

    bool has(const std::string& flag) const { return flags.count(flag) != 0; }
    std::vector<std::string> optionValues(const std::string& name) const;

    // Flags each command accepts; options take a value.
    static CommandLine parse(int argc, char** argv, const std::set<std::string>& knownFlags,
                             const std::set<std::string>& knownOptions);
};
