#pragma once

#include <optional>
#include <string>
#include <vector>

namespace platform {

// NSUserAppleScriptTask for the one statement the product writes:
//   do shell script "<AppleScript string>"[ with administrator privileges]
// The string is unescaped and run with /bin/sh; with administrator privileges and not root, through
// pkexec. Blocks until the shell ends. nullopt on success, else the error text (a non-zero exit,
// a cancelled or impossible elevation, a script that is not that statement).
class AppleScriptTask {
public:
    static std::optional<std::string> run(const std::string& scriptPath);
    // The shell text of the statement and whether it asks for administrator rights; nullopt when
    // the script is not one `do shell script` statement.
    struct Statement {
        std::string shell;
        bool administrator = false;
    };
    static std::optional<Statement> parse(const std::string& script);

private:
    // The backend's part: the program (and its arguments) that runs a command after it as an
    // administrator once the user agrees, empty when nobody can be asked here; and whether that
    // program's exit status says the user declined or could not be asked.
    static std::vector<std::string> administratorLauncher();
    static bool administratorDeclined(int exitCode);
};

}  // namespace platform
