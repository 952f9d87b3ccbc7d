#pragma once

#include "platform/PeerCredentials.h"

#include <optional>
#include <string>

// What the daemon may learn about a process it only knows by pid, read under the pid and then
// confirmed against the process's handle: a pid handed to another process meanwhile never passes.
namespace platform::process {

// A handle that pins the running process `pid`; -1 when there is none to be had. Close it with
// closeHandle.
int openHandle(pid_t pid);
void closeHandle(int handle);
// Whether the process the credentials name still runs (its pid has not been handed on).
bool stillRunning(const PeerCredentials& peer);
// Its executable right now; nullopt when unreadable or no longer the same process.
std::optional<std::string> executableOf(const PeerCredentials& peer);
// The value of a variable in its environment; nullopt when unreadable or no longer the same process.
std::optional<std::string> environmentOf(const PeerCredentials& peer, const std::string& name);

}  // namespace platform::process
