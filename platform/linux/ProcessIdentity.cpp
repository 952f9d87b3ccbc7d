#include "platform/ProcessIdentity.h"

#include "platform/FileSystem.h"

#include <poll.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>

namespace platform::process {

int openHandle(pid_t pid)
{
    if (pid <= 0)
        return -1;
    return static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
}

void closeHandle(int handle)
{
    if (handle >= 0)
        ::close(handle);
}

bool stillRunning(const PeerCredentials& peer)
{
    return peer.handle >= 0 && ::syscall(SYS_pidfd_send_signal, peer.handle, 0, nullptr, 0) == 0;
}

bool sendSignal(int handle, int signal)
{
    return handle >= 0 && ::syscall(SYS_pidfd_send_signal, handle, signal, nullptr, 0) == 0;
}

bool waitForEnd(int handle, int timeoutMs)
{
    if (handle < 0)
        return false;
    // A pidfd turns readable once its process has ended.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        pollfd entry{handle, POLLIN, 0};
        const int ready = ::poll(&entry, 1, static_cast<int>(std::max<std::chrono::milliseconds::rep>(left.count(), 0)));
        if (ready > 0)
            return (entry.revents & (POLLIN | POLLHUP)) != 0;
        if (ready == 0 || errno != EINTR)
            return false;
    }
}

std::optional<std::string> executableOf(const PeerCredentials& peer)
{
    if (peer.pid <= 0 || peer.handle < 0)
        return std::nullopt;
    const auto exe = fs::readLink("/proc/" + std::to_string(peer.pid) + "/exe");
    // Read first, then make sure the pid still names the process that connected.
    if (!exe || !stillRunning(peer))
        return std::nullopt;
    return exe;
}

std::optional<std::string> environmentOf(const PeerCredentials& peer, const std::string& name)
{
    if (peer.pid <= 0 || peer.handle < 0)
        return std::nullopt;
    const auto variables = fs::readFile("/proc/" + std::to_string(peer.pid) + "/environ", 1u << 20);
    if (!variables || !stillRunning(peer))
        return std::nullopt;
    const std::string wanted = name + "=";
    std::size_t start = 0;
    while (start < variables->size()) {
        const auto end = variables->find('\0', start);
        const std::string entry = variables->substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (entry.compare(0, wanted.size(), wanted) == 0)
            return entry.substr(wanted.size());
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return std::nullopt;
}

}  // namespace platform::process
