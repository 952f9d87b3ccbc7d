#include "platform/AppleScriptTask.h"

#include "platform/FileSystem.h"
#include "platform/Subprocess.h"

#include <unistd.h>

#include <vector>

namespace platform {

std::optional<AppleScriptTask::Statement> AppleScriptTask::parse(const std::string& script)
{
    static const std::string opening = "do shell script \"";
    std::size_t at = script.find_first_not_of(" \t\r\n");
    if (at == std::string::npos || script.compare(at, opening.size(), opening) != 0)
        return std::nullopt;
    at += opening.size();
    Statement statement;
    bool closed = false;
    for (; at < script.size(); ++at) {
        const char c = script[at];
        if (c == '"') {
            closed = true;
            ++at;
            break;
        }
        if (c != '\\') {
            statement.shell += c;
            continue;
        }
        if (++at >= script.size())
            return std::nullopt;
        switch (script[at]) {
        case 'n': statement.shell += '\n'; break;
        case 'r': statement.shell += '\r'; break;
        case 't': statement.shell += '\t'; break;
        case '\\': statement.shell += '\\'; break;
        case '"': statement.shell += '"'; break;
        default: return std::nullopt;
        }
    }
    if (!closed)
        return std::nullopt;
    std::string rest = script.substr(at);
    const auto last = rest.find_last_not_of(" \t\r\n");
    rest = last == std::string::npos ? "" : rest.substr(0, last + 1);
    if (rest == " with administrator privileges")
        statement.administrator = true;
    else if (!rest.empty())
        return std::nullopt;
    return statement;
}

std::optional<std::string> AppleScriptTask::run(const std::string& scriptPath)
{
    const auto text = fs::readFile(scriptPath, 4u << 20);
    if (!text)
        return "The script file could not be read.";
    const auto statement = parse(*text);
    if (!statement)
        return "The script is not a do shell script statement.";

    const bool elevate = statement->administrator && ::geteuid() != 0;
    std::vector<std::string> argv;
    if (elevate) {
        argv = administratorLauncher();
        if (argv.empty())
            return "User canceled. (administrator rights cannot be asked for here)";
    }
    argv.insert(argv.end(), {"/bin/sh", "-c", statement->shell});
    Subprocess::Options errorsOnly;
    errorsOnly.capture = 2;
    auto shell = Subprocess::run(argv, errorsOnly);
    if (!shell.started)
        return "The shell could not be started.";
    if (shell.exited && shell.exitCode == 0)
        return std::nullopt;
    if (elevate && shell.exited && administratorDeclined(shell.exitCode))
        return "User canceled.";
    std::string& errorText = shell.output;
    while (!errorText.empty() && errorText.back() == '\n')
        errorText.pop_back();
    return errorText.empty() ? "The command exited with a non-zero status." : errorText;
}

}  // namespace platform
