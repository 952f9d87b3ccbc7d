#include "platform/AppleScriptTask.h"

#include "platform/FileSystem.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

extern char** environ;

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
        const char* pkexec = ::access("/usr/bin/pkexec", X_OK) == 0 ? "/usr/bin/pkexec" : nullptr;
        if (!pkexec)
            return "User canceled. (administrator rights cannot be asked for here)";
        argv = {pkexec, "/bin/sh", "-c", statement->shell};
    } else {
        argv = {"/bin/sh", "-c", statement->shell};
    }
    int errors[2];
    if (::pipe2(errors, O_CLOEXEC) != 0)
        return "The shell could not be started.";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, errors[1], 2);
    std::vector<char*> args;
    for (auto& arg : argv)
        args.push_back(arg.data());
    args.push_back(nullptr);
    pid_t pid = -1;
    const int spawned = ::posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(errors[1]);
    std::string errorText;
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(errors[0], buffer, sizeof buffer)) > 0)
        errorText.append(buffer, static_cast<std::size_t>(n));
    ::close(errors[0]);
    if (spawned != 0)
        return "The shell could not be started.";
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {}
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0)
        return std::nullopt;
    // pkexec: 126 when the user dismissed the dialog, 127 when no one could be asked.
    if (elevate && WIFEXITED(status) && (WEXITSTATUS(status) == 126 || WEXITSTATUS(status) == 127))
        return "User canceled.";
    while (!errorText.empty() && errorText.back() == '\n')
        errorText.pop_back();
    return errorText.empty() ? "The command exited with a non-zero status." : errorText;
}

}  // namespace platform
