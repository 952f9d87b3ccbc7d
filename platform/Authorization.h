#pragma once

#include "platform/PeerCredentials.h"

#include <string>

// Whether a process may use one of the product's rights, as the system's own authority decides it:
// on a Mac, Authorization Services with a right per kind of action whose rule asks for an
// administrator's password and keeps it a few minutes; here polkit, with an action of ours per kind
// (auth_admin_keep), asked for the process's pid, start time and uid. Only the process's own
// credentials count (never a group it belongs to); asking may show the system's password prompt to
// the process's user and waits for the answer. Any thread may call.
namespace platform::authorization {

enum class Answer {
    granted,
    refused,    // the authority says no
    noPrompt,   // a password is needed and nothing could ask for it (no authentication agent)
    dismissed,  // the user closed the prompt
    failed,     // the authority could not be asked, or the process ended meanwhile
};

// `mayAsk`: whether the password prompt may be shown; without it only a right already held counts.
Answer check(const PeerCredentials& process, const std::string& right, bool mayAsk);

// What the answer means to a user, in a few words ("an administrator's password was not given").
const char* describe(Answer answer);

}  // namespace platform::authorization
