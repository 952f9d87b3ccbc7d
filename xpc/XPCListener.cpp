#include "xpc/XPCListener.h"

#include "platform/ProcessIdentity.h"
#include "platform/SystemCalls.h"

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>

namespace {
// A client that connects and then says nothing is not waited for long.
constexpr int kRequestTimeoutMs = 10000;
// How long the listener rests when the system has no descriptor or memory for a connection.
constexpr int kShortageRestMs = 100;

using platform::sys::calls;
}  // namespace

namespace {
thread_local const XPCServerConnection* servedConnection = nullptr;

// A detached thread running `work`; false, with nothing started, when the system has no thread to
// give (no exception, unlike std::thread).
bool startDetached(std::function<void()> work)
{
    auto* owned = new std::function<void()>(std::move(work));
    pthread_t thread;
    const int failed = ::pthread_create(
        &thread, nullptr,
        [](void* argument) -> void* {
            std::unique_ptr<std::function<void()>> run(static_cast<std::function<void()>*>(argument));
            (*run)();
            return nullptr;
        },
        owned);
    if (failed != 0) {
        delete owned;
        return false;
    }
    ::pthread_detach(thread);
    return true;
}
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
    platform::process::closeHandle(peer_.handle);
}

void XPCServerConnection::cutOff()
{
    ::shutdown(fd_, SHUT_RDWR);
}

void XPCServerConnection::serve()
{
    std::string why;
    const xpcwire::Sender connector{peer_.pid, peer_.uid};
    const auto payload = xpcwire::readFrame(fd_, kRequestTimeoutMs, why, &connector);
    waiting_ = false;
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
    if (fd_ < 0 || calls().pipe(wake_) != 0) {
        report("Server: cannot listen on " + socketPath_ + ": " + std::strerror(errno));
        return false;
    }
    spare_ = calls().open("/dev/null", O_RDONLY | O_CLOEXEC, 0);
    limiter_ = std::make_unique<ConnectionLimiter>(limits);
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
    for (int& fd : {std::ref(fd_), std::ref(spare_), std::ref(wake_[0]), std::ref(wake_[1])}) {
        if (fd >= 0)
            calls().close(fd);
        fd = -1;
    }
}

void XPCListener::report(const std::string& message) const
{
    if (errorHandler_)
        errorHandler_(message);
}

bool XPCListener::rest()
{
    pollfd wake{wake_[0], POLLIN, 0};
    return calls().poll(&wake, 1, kShortageRestMs) == 0 && !stopping_;
}

int XPCListener::acceptOne()
{
    const int client = calls().accept(fd_);
    if (client >= 0 || (errno != EMFILE && errno != ENFILE))
        return client;
    const int shortage = errno;
    report("Server: out of descriptors; a connection was turned away");
    if (spare_ >= 0) {
        calls().close(spare_);
        spare_ = -1;
        const int turnedAway = calls().accept(fd_);
        if (turnedAway >= 0)
            calls().close(turnedAway);
        spare_ = calls().open("/dev/null", O_RDONLY | O_CLOEXEC, 0);
        if (turnedAway >= 0)
            return -1;
    }
    // The client is still queued (no spare, or even the spare was not enough): poll would wake at
    // once again, so rest first instead of spinning on it.
    rest();
    if (spare_ < 0)
        spare_ = calls().open("/dev/null", O_RDONLY | O_CLOEXEC, 0);
    errno = shortage;
    return -1;
}

void XPCListener::acceptLoop()
{
    while (!stopping_) {
        pollfd fds[2] = {{fd_, POLLIN, 0}, {wake_[0], POLLIN, 0}};
        if (calls().poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        if (fds[1].revents)
            return;
        const int client = acceptOne();
        if (client < 0) {
            if (errno == ENOBUFS || errno == ENOMEM)
                rest();
            continue;
        }
        const auto peer = xpcsocket::peerOf(client);
        if (!peer) {
            calls().close(client);
            continue;
        }
        if (onAccept) {
            platform::process::closeHandle(peer->handle);
            onAccept(client, *peer);
            continue;
        }
        auto connection = std::make_shared<XPCServerConnection>(client, *peer);
        if (!shouldAccept_ || !shouldAccept_(*connection))
            continue;  // closing the socket tells the client
        if (!limiter_->admit(connection)) {
            report("Server: too many connections; one of uid " + std::to_string(peer->uid) + " was turned away");
            continue;
        }
        if (!startDetached([connection] { connection->serve(); }))
            report("Server: no thread for a connection; it was closed");
    }
}
