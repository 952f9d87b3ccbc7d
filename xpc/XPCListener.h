#pragma once

#include "xpc/UnixSocket.h"
#include "xpc/XPCMessage.h"

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>

// One accepted connection on the server side: its peer, and the handlers the listener's delegate
// sets before resuming it.
class XPCServerConnection {
public:
    XPCServerConnection(int fd, xpcsocket::Peer peer);
    ~XPCServerConnection();
    XPCServerConnection(const XPCServerConnection&) = delete;
    XPCServerConnection& operator=(const XPCServerConnection&) = delete;

    const xpcsocket::Peer& peer() const { return peer_; }
    // Decides each request: run it and answer through the reply function, or return false to drop
    // it (the client then gets no reply).
    std::function<bool(const xpcwire::Request&, std::function<void(bool)>)> exportedHandler;
    std::function<void()> invalidationHandler;
    std::function<void()> interruptionHandler;
    std::function<void(const std::string&)> errorHandler;

    // Serves the connection's one request on the calling thread, then closes it.
    void serve();
    // The connection whose request this thread is serving (NSXPCConnection.currentConnection);
    // nullptr elsewhere.
    static const XPCServerConnection* current();

private:
    int fd_;
    xpcsocket::Peer peer_;
};

// Listens on a service's socket and hands every new connection to the delegate function; each
// accepted connection is served on a thread of its own.
class XPCListener {
public:
    using Delegate = std::function<bool(XPCServerConnection&)>;

    XPCListener(std::string serviceName, Delegate shouldAccept, std::function<void(const std::string&)> errorHandler);
    ~XPCListener();
    XPCListener(const XPCListener&) = delete;
    XPCListener& operator=(const XPCListener&) = delete;

    // False when the socket could not be set up (the reason goes to the error handler).
    bool resume();
    // When set, takes every accepted socket itself (its owner keeps it open) instead of the
    // one-request connections of the delegate.
    std::function<void(int fd, const xpcsocket::Peer& peer)> onAccept;
    void invalidate();
    const std::string& socketPath() const { return socketPath_; }

private:
    void acceptLoop();

    std::string serviceName_;
    std::string socketPath_;
    Delegate shouldAccept_;
    std::function<void(const std::string&)> errorHandler_;
    int fd_ = -1;
    int wake_[2] = {-1, -1};
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};
