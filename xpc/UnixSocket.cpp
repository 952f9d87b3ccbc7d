#include "xpc/UnixSocket.h"

#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "platform/SystemRoot.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>

#ifndef SO_PEERPIDFD
#define SO_PEERPIDFD 77
#endif

namespace xpcsocket {
namespace {

bool fillAddress(const std::string& path, sockaddr_un& address)
{
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof address.sun_path) {
        errno = ENAMETOOLONG;
        return false;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

}  // namespace

bool stillRunning(const Peer& peer)
{
    return peer.pidfd >= 0 && ::syscall(SYS_pidfd_send_signal, peer.pidfd, 0, nullptr, 0) == 0;
}

std::string pathForService(const std::string& service)
{
    return platform::fixedPath("/var/run") + "/" + service + ".sock";
}

int connectTo(const std::string& socketPath)
{
    sockaddr_un address{};
    if (!fillAddress(socketPath, address))
        return -1;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        const int saved = errno;
        ::close(fd);
        errno = saved;
        return -1;
    }
    return fd;
}

int listenAt(const std::string& socketPath)
{
    sockaddr_un address{};
    if (!fillAddress(socketPath, address))
        return -1;
    platform::fs::makeDirectories(platform::path::deletingLastComponent(socketPath));
    // Only a socket is replaced, never another kind of file.
    if (const auto st = platform::fs::linkStatus(socketPath); st && S_ISSOCK(st->st_mode))
        ::unlink(socketPath.c_str());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    // Every accepted socket inherits SO_PASSCRED, so the kernel names the sender of each message,
    // from the first byte on (also of bytes sent before the accept).
    const int on = 1;
    if (::setsockopt(fd, SOL_SOCKET, SO_PASSCRED, &on, sizeof on) != 0 ||
        ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::chmod(socketPath.c_str(), 0666) != 0 ||
        ::listen(fd, 64) != 0) {
        const int saved = errno;
        ::close(fd);
        errno = saved;
        return -1;
    }
    return fd;
}

std::optional<Peer> peerOf(int fd)
{
    ucred credentials{};
    socklen_t length = sizeof credentials;
    if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &length) != 0 || credentials.pid <= 0)
        return std::nullopt;
    Peer peer;
    peer.pid = credentials.pid;
    peer.uid = credentials.uid;
    peer.gid = credentials.gid;
    int pidfd = -1;
    length = sizeof pidfd;
    if (::getsockopt(fd, SOL_SOCKET, SO_PEERPIDFD, &pidfd, &length) == 0 && pidfd >= 0)
        peer.pidfd = pidfd;
    else
        peer.pidfd = static_cast<int>(::syscall(SYS_pidfd_open, peer.pid, 0));
    return peer;
}

std::optional<std::string> executableOf(const Peer& peer)
{
    if (peer.pid <= 0 || peer.pidfd < 0)
        return std::nullopt;
    const auto exe = platform::fs::readLink("/proc/" + std::to_string(peer.pid) + "/exe");
    // Read first, then make sure the pid still names the process that connected.
    if (!exe || !stillRunning(peer))
        return std::nullopt;
    return exe;
}

std::optional<std::string> environmentOf(const Peer& peer, const std::string& name)
{
    if (peer.pid <= 0 || peer.pidfd < 0)
        return std::nullopt;
    const auto environ = platform::fs::readFile("/proc/" + std::to_string(peer.pid) + "/environ", 1u << 20);
    if (!environ || !stillRunning(peer))
        return std::nullopt;
    const std::string wanted = name + "=";
    std::size_t start = 0;
    while (start < environ->size()) {
        const auto end = environ->find('\0', start);
        const std::string entry = environ->substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (entry.compare(0, wanted.size(), wanted) == 0)
            return entry.substr(wanted.size());
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return std::nullopt;
}

}  // namespace xpcsocket
