#include "platform/LocalSocket.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace platform::localsocket {
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

int failClosing(int fd)
{
    const int saved = errno;
    ::close(fd);
    errno = saved;
    return -1;
}

}  // namespace

int connectTo(const std::string& path)
{
    sockaddr_un address{};
    if (!fillAddress(path, address))
        return -1;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
        return failClosing(fd);
    return fd;
}

int listenAt(const std::string& path, int backlog)
{
    sockaddr_un address{};
    if (!fillAddress(path, address))
        return -1;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    // Every accepted socket inherits SO_PASSCRED, so the kernel names the sender of each message,
    // from the first byte on (also of bytes sent before the accept).
    const int on = 1;
    if (::setsockopt(fd, SOL_SOCKET, SO_PASSCRED, &on, sizeof on) != 0 ||
        ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::chmod(path.c_str(), 0666) != 0 ||
        ::listen(fd, backlog) != 0)
        return failClosing(fd);
    return fd;
}

ssize_t send(int fd, const void* bytes, std::size_t count)
{
    return ::send(fd, bytes, count, MSG_NOSIGNAL);
}

ssize_t receiveFrom(int fd, char* into, std::size_t count, Sender& sender)
{
    sender = Sender{};
    iovec part{into, count};
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(ucred))];
    msghdr message{};
    message.msg_iov = &part;
    message.msg_iovlen = 1;
    message.msg_control = control;
    message.msg_controllen = sizeof control;
    const ssize_t n = ::recvmsg(fd, &message, MSG_CMSG_CLOEXEC);
    if (n <= 0)
        return n;
    for (cmsghdr* header = CMSG_FIRSTHDR(&message); header; header = CMSG_NXTHDR(&message, header)) {
        if (header->cmsg_level == SOL_SOCKET && header->cmsg_type == SCM_CREDENTIALS &&
            header->cmsg_len >= CMSG_LEN(sizeof(ucred))) {
            ucred credentials;
            std::memcpy(&credentials, CMSG_DATA(header), sizeof credentials);
            sender.pid = credentials.pid;
            sender.uid = credentials.uid;
        }
    }
    return n;
}

}  // namespace platform::localsocket
