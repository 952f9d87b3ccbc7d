#pragma once

#include "xpc/XPCConnection.h"

#include <deque>
#include <mutex>
#include <thread>

// A connection that stays open and carries calls both ways: each side sends requests and answers
// the other's on the same socket. A reader thread runs the requests that arrive (in order, so the
// answers go back in order) and hands each answer that arrives to the oldest call still waiting.
class XPCDuplexConnection : public XPCConnection {
public:
    using Dispatch = std::function<bool(const xpcwire::Request&, std::function<void(bool)>)>;

    XPCDuplexConnection(std::string serviceName, int fd);
    ~XPCDuplexConnection() override;

    // What runs the requests of the other side; set before start().
    Dispatch exported;
    void start();
    void invalidate();

    void send(xpcwire::Request request, Reply reply) override;

private:
    void readLoop();

    int fd_;
    std::mutex mutex_;
    std::deque<Reply> waiting_;
    std::thread reader_;
    bool closed_ = false;
};
