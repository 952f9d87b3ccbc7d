#include "xpc/XPCDuplexConnection.h"

#include <sys/socket.h>
#include <unistd.h>

XPCDuplexConnection::XPCDuplexConnection(std::string serviceName, int fd) : XPCConnection(std::move(serviceName)), fd_(fd) {}

XPCDuplexConnection::~XPCDuplexConnection()
{
    invalidate();
    if (reader_.joinable()) {
        if (reader_.get_id() == std::this_thread::get_id())
            reader_.detach();
        else
            reader_.join();
    }
    ::close(fd_);
}

void XPCDuplexConnection::start()
{
    reader_ = std::thread([this] { readLoop(); });
}

void XPCDuplexConnection::invalidate()
{
    std::lock_guard lock(mutex_);
    if (closed_)
        return;
    closed_ = true;
    ::shutdown(fd_, SHUT_RDWR);
}

void XPCDuplexConnection::send(xpcwire::Request request, Reply reply)
{
    std::lock_guard lock(mutex_);
    if (closed_ || !resumed() || !xpcwire::writeAll(fd_, xpcwire::encodeRequest(request))) {
        if (remoteObjectErrorHandler)
            remoteObjectErrorHandler("Couldn’t communicate with a helper application.");
        return;
    }
    waiting_.push_back(std::move(reply));
}

void XPCDuplexConnection::readLoop()
{
    for (;;) {
        std::string why;
        const auto payload = xpcwire::readFrame(fd_, -1, why);
        if (!payload)
            break;
        std::string ignored;
        if (const auto answer = xpcwire::decodeReply(*payload, ignored)) {
            Reply reply;
            {
                std::lock_guard lock(mutex_);
                if (!waiting_.empty()) {
                    reply = std::move(waiting_.front());
                    waiting_.pop_front();
                }
            }
            if (reply)
                reply(*answer);
            continue;
        }
        const auto request = xpcwire::decodeRequest(*payload, why);
        const int fd = fd_;
        bool answered = false;
        auto respond = [this, fd, &answered](bool value) {
            if (answered)
                return;
            answered = true;
            std::lock_guard lock(mutex_);
            xpcwire::writeAll(fd, xpcwire::encodeReply(value));
        };
        if (!request || !exported || !exported(*request, respond))
            respond(false);  // keeps the two sides' answers in step
    }
    bool wasOpen;
    {
        std::lock_guard lock(mutex_);
        wasOpen = !closed_;
        closed_ = true;
        waiting_.clear();
    }
    if (wasOpen && interruptionHandler)
        interruptionHandler();
    if (invalidationHandler)
        invalidationHandler();
}
