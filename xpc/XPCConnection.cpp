#include "xpc/XPCConnection.h"

#include "xpc/UnixSocket.h"

#include <unistd.h>

#include <thread>

namespace {
// A daemon that removes a large tree may take long; one that never answers is given up on.
constexpr int kReplyTimeoutMs = 10 * 60 * 1000;
}  // namespace

XPCConnection::XPCConnection(std::string serviceName) : serviceName_(std::move(serviceName)) {}

void XPCConnection::send(xpcwire::Request request, Reply reply)
{
    auto self = shared_from_this();
    if (!resumed_) {
        // A connection that was never resumed sends nothing.
        if (noReplyHandler)
            noReplyHandler();
        return;
    }
    std::thread([self, request = std::move(request), reply = std::move(reply)] { self->run(request, reply); }).detach();
}

void XPCConnection::run(const xpcwire::Request& request, const Reply& reply)
{
    const int fd = xpcsocket::connectTo(xpcsocket::pathForService(serviceName_));
    if (fd < 0) {
        if (remoteObjectErrorHandler)
            remoteObjectErrorHandler("Couldn’t communicate with a helper application.");
        if (invalidationHandler)
            invalidationHandler();
        if (noReplyHandler)
            noReplyHandler();
        return;
    }
    std::string why;
    std::optional<std::string> answer;
    if (xpcwire::writeAll(fd, xpcwire::encodeRequest(request)))
        answer = xpcwire::readFrame(fd, kReplyTimeoutMs, why);
    ::close(fd);
    const auto value = answer ? xpcwire::decodeReply(*answer, why) : std::nullopt;
    if (!value) {
        // The service went away (or refused us) before it answered.
        if (interruptionHandler)
            interruptionHandler();
        if (invalidationHandler)
            invalidationHandler();
        if (noReplyHandler)
            noReplyHandler();
        return;
    }
    if (reply)
        reply(*value);
}
