#include "xpc/XPCListener.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {
// A client that connects and then says nothing is not waited for long.
constexpr int kRequestTimeoutMs = 10000;
}  // namespace

namespace {
thread_local const XPCServerConnection* servedConnection = nullptr;
}  // namespace

XPCServerConnection::XPCServerConnection(int fd, xpcsocket::Peer peer) : fd_(fd), peer_(peer) {}

const XPCServerConnection* XPCServerConnection::current()
{
    return servedConnection;
}

XPCServerConnection::~XPCServerConnection()
{
    if (fd_ >= 0)
        ::close(fd_);
    if (peer_.pidfd >= 0)
        ::close(peer_.pidfd);
}

void XPCServerConnection::serve()
{
    std::string why;
    const auto payload = xpcwire::readFrame(fd_, kRequestTimeoutMs, why);
    std::optional<xpcwire::Request> request;
    if (payload)
        request = xpcwire::decodeRequest(*payload, why);
    if (!request) {
        if (errorHandler)
            errorHandler("Server: rejected a malformed request: " + why);
    } else if (exportedHandler) {
        const int fd = fd_;
        bool replied = false;
        servedConnection = this;
        const bool handled = exportedHandler(*request, [fd, &replied](bool value) {
            if (replied)
                return;
            replied = true;
            xpcwire::writeAll(fd, xpcwire::encodeReply(value));
        });
        servedConnection = nullptr;
        if (!handled && errorHandler)
            errorHandler("Server: dropped a request for " + request->operation);
    }
    ::shutdown(fd_, SHUT_RDWR);
    if (invalidationHandler)
        invalidationHandler();
}

XPCListener::XPCListener(std::string serviceName, Delegate shouldAccept, std::function<void(const std::string&)> errorHandler)
    : serviceName_(std::move(serviceName)),
      socketPath_(xpcsocket::pathForService(serviceName_)),
      shouldAccept_(std::move(shouldAccept)),
      errorHandler_(std::move(errorHandler))
{
}

XPCListener::~XPCListener()
{
    invalidate();
}

bool XPCListener::resume()
{
    if (fd_ >= 0)
        return true;
    fd_ = xpcsocket::listenAt(socketPath_);
    if (fd_ < 0 || ::pipe2(wake_, O_CLOEXEC) != 0) {
        if (errorHandler_)
            errorHandler_("Server: cannot listen on " + socketPath_ + ": " + std::strerror(errno));
        return false;
    }
    thread_ = std::thread([this] { acceptLoop(); });
    return true;
}

void XPCListener::invalidate()
{
    if (stopping_.exchange(true))
        return;
    if (wake_[1] >= 0)
        (void)!::write(wake_[1], "x", 1);
    if (thread_.joinable())
        thread_.join();
    for (int& fd : {std::ref(fd_), std::ref(wake_[0]), std::ref(wake_[1])}) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

void XPCListener::acceptLoop()
{
    while (!stopping_) {
        pollfd fds[2] = {{fd_, POLLIN, 0}, {wake_[0], POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        if (fds[1].revents)
            return;
        const int client = ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0)
            continue;
        const auto peer = xpcsocket::peerOf(client);
        if (!peer) {
            ::close(client);
            continue;
        }
        if (onAccept) {
            if (peer->pidfd >= 0)
                ::close(peer->pidfd);
            onAccept(client, *peer);
            continue;
        }
        auto connection = std::make_shared<XPCServerConnection>(client, *peer);
        if (!shouldAccept_ || !shouldAccept_(*connection))
            continue;  // closing the socket tells the client
        std::thread([connection] { connection->serve(); }).detach();
    }
}
