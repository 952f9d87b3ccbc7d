#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

// The words of one `ostrova` call: the command, its flags and its operands.
struct CommandLine {
    // What a command takes: flags stand alone, options take a value.
    struct Words {
        std::set<std::string> flags;
        std::set<std::string> options;
    };

    std::string command;
    std::set<std::string> flags;
    std::vector<std::pair<std::string, std::string>> options;  // --only X, --keep Y, in order
    std::vector<std::string> operands;
    std::string error;  // the first thing wrong, in one line; empty when the words make sense

    bool has(const std::string& flag) const { return flags.count(flag) != 0; }
    std::vector<std::string> optionValues(const std::string& name) const;

    // The words of each command of the tool, and those every command takes.
    static const std::map<std::string, Words>& commands();
    static const Words& everywhere();

    // An option or flag that no command takes, one that this command does not take, an option
    // without its value or a flag given one is an error. An unknown command is left to the caller.
    static CommandLine parse(int argc, char** argv);
};
