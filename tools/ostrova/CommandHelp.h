#pragma once

#include <optional>
#include <string>

// What `ostrova --help`, `ostrova help [COMMAND]` and `ostrova COMMAND --help` print.
class CommandHelp {
public:
    // Every command in brief, with the words they share.
    static std::string usage();
    // One command in full: its forms, what it does and its flags; nullopt for an unknown command.
    static std::optional<std::string> forCommand(const std::string& command);
    // The line that follows an error: where that command's help is, or the tool's for no known command.
    static std::string seeAlso(const std::string& command);
};
