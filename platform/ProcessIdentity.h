#pragma once

#include "platform/PeerCredentials.h"

#include <optional>
#include <string>
#include <utility>

// What the daemon may learn about a process it only knows by pid, read under the pid and then
// confirmed against the process's handle: a pid handed to another process meanwhile never passes.
namespace platform::process {

// A handle that pins the running process `pid`; -1 when there is none to be had. Close it with
// closeHandle.
int openHandle(pid_t pid);
void closeHandle(int handle);
// Whether the process the credentials name still runs (its pid has not been handed on).
bool stillRunning(const PeerCredentials& peer);
// Sends `signal` to the process a handle pins; false when it has been reaped or may not be
// signalled. Never reaches another process, whatever became of its pid.
bool sendSignal(int handle, int signal);
// Waits up to `timeoutMs` for the process a handle pins to end; true once it has (ended and not
// yet reaped counts).
bool waitForEnd(int handle, int timeoutMs);
// Its executable right now; nullopt when unreadable or no longer the same process.
std::optional<std::string> executableOf(const PeerCredentials& peer);
// The value of a variable in its environment; nullopt when unreadable or no longer the same process.
std::optional<std::string> environmentOf(const PeerCredentials& peer, const std::string& name);

// A handle from openHandle, closed when the object goes. Checks made on the pid after the handle
// was opened and before stillRunning() confirmed it are checks of the pinned process.
class ProcessHandle {
public:
    ProcessHandle() = default;
    explicit ProcessHandle(pid_t pid) : pid_(pid), handle_(openHandle(pid)) {}
    ~ProcessHandle() { closeHandle(handle_); }
    ProcessHandle(ProcessHandle&& other) noexcept : pid_(other.pid_), handle_(std::exchange(other.handle_, -1)) {}
    ProcessHandle& operator=(ProcessHandle&& other) noexcept
    {
        if (this != &other) {
            closeHandle(handle_);
            pid_ = other.pid_;
            handle_ = std::exchange(other.handle_, -1);
        }
        return *this;
    }
    ProcessHandle(const ProcessHandle&) = delete;
    ProcessHandle& operator=(const ProcessHandle&) = delete;

    bool valid() const { return handle_ >= 0; }
    pid_t pid() const { return pid_; }
    bool stillRunning() const
    {
        PeerCredentials pinned;
        pinned.pid = pid_;
        pinned.handle = handle_;
        return process::stillRunning(pinned);
    }
    bool signal(int number) const { return sendSignal(handle_, number); }
    bool waitForEnd(int timeoutMs) const { return process::waitForEnd(handle_, timeoutMs); }

private:
    pid_t pid_ = -1;
    int handle_ = -1;
};

}  // namespace platform::process
