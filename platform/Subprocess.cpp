#include "platform/Subprocess.h"

#include "platform/SystemCalls.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

extern char** environ;

namespace platform {

using sys::calls;
using sys::restarting;

Subprocess::Result Subprocess::run(const std::vector<std::string>& argv, const Options& options)
{
    Result result;
    const int captured = options.capture == 2 ? 2 : 1;
    int out[2];
    if (argv.empty() || calls().pipe(out) != 0)
        return result;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], captured);
    if (options.silenceOtherOutput)
        posix_spawn_file_actions_addopen(&actions, captured == 1 ? 2 : 1, "/dev/null", O_WRONLY, 0);
    std::vector<std::string> arguments = argv;
    std::vector<char*> args;
    for (auto& argument : arguments)
        args.push_back(argument.data());
    args.push_back(nullptr);
    pid_t pid = -1;
    const int spawned = ::posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    calls().close(out[1]);
    if (spawned != 0) {
        calls().close(out[0]);
        return result;
    }
    result.started = true;

    const auto deadline = options.timeout ? std::chrono::steady_clock::now() + *options.timeout
                                          : std::chrono::steady_clock::time_point::max();
    char buffer[65536];
    for (;;) {
        int wait = -1;
        if (options.timeout) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0) {
                result.timedOut = true;
                break;
            }
            wait = static_cast<int>(left.count());
        }
        pollfd readable{out[0], POLLIN, 0};
        const int ready = calls().poll(&readable, 1, wait);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready < 0)
            break;
        if (ready == 0)
            continue;  // the deadline is checked above
        const ssize_t n = restarting([&] { return calls().read(out[0], buffer, sizeof buffer); });
        if (n <= 0)
            break;
        result.output.append(buffer, static_cast<std::size_t>(n));
    }
    calls().close(out[0]);
    // Not reaped yet, so the pid is still this child's (a zombie at worst): the one moment a
    // signal cannot reach anyone else.
    if (result.timedOut)
        calls().kill(pid, SIGKILL);
    int status = 0;
    if (restarting([&] { return calls().waitpid(pid, &status, 0); }) != pid)
        return result;
    if (WIFEXITED(status)) {
        result.exited = true;
        result.exitCode = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        result.signal = WTERMSIG(status);
    }
    return result;
}

}  // namespace platform
