#include "platform/AuthorizationPrompt.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

extern char** environ;

namespace platform {

namespace {

constexpr const char* kTextAgent = "/usr/bin/pkttyagent";

}  // namespace

std::unique_ptr<AuthorizationPrompt> AuthorizationPrompt::forTerminal()
{
    if (::geteuid() == 0 || ::isatty(STDIN_FILENO) != 1 || ::access(kTextAgent, X_OK) != 0)
        return nullptr;
    int ready[2];
    if (::pipe2(ready, O_CLOEXEC) != 0)
        return nullptr;
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    // The agent tells on this descriptor (by closing it) that it has registered.
    ::posix_spawn_file_actions_adddup2(&actions, ready[1], 3);
    const std::string self = std::to_string(::getpid());
    // For this process alone (not its session, whose own agent stays as it is).
    const char* argv[] = {kTextAgent, "--process", self.c_str(), "--notify-fd", "3", nullptr};
    pid_t agent = -1;
    const int spawned = ::posix_spawn(&agent, kTextAgent, &actions, nullptr, const_cast<char**>(argv), environ);
    ::posix_spawn_file_actions_destroy(&actions);
    ::close(ready[1]);
    if (spawned != 0) {
        ::close(ready[0]);
        return nullptr;
    }
    pollfd wait{ready[0], POLLIN, 0};
    ::poll(&wait, 1, 3000);
    ::close(ready[0]);
    return std::unique_ptr<AuthorizationPrompt>(new AuthorizationPrompt(agent));
}

AuthorizationPrompt::~AuthorizationPrompt()
{
    // Our own child, not reaped before: its pid cannot name another process yet.
    ::kill(agent_, SIGTERM);
    ::waitpid(agent_, nullptr, 0);
}

}  // namespace platform
