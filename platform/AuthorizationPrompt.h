#pragma once

#include <sys/types.h>

#include <memory>

namespace platform {

// Lets the system ask this process's user for an administrator's password when the daemon asks the
// system's authority on its behalf. A Mac's Authorization Services shows its own dialog, so there
// it does nothing; here a desktop session's polkit agent does the same for the windowed programs,
// and a program on a terminal registers polkit's text agent for itself while the object lives.
class AuthorizationPrompt {
public:
    // nullptr when there is nothing to start (not on a terminal, root, no agent to be had).
    static std::unique_ptr<AuthorizationPrompt> forTerminal();
    ~AuthorizationPrompt();
    AuthorizationPrompt(const AuthorizationPrompt&) = delete;
    AuthorizationPrompt& operator=(const AuthorizationPrompt&) = delete;

private:
    explicit AuthorizationPrompt(pid_t agent) : agent_(agent) {}
    pid_t agent_;
};

}  // namespace platform
