#pragma once

#include "xpc/ConnectionLimiter.h"
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

    // Serves the connection's one request on the calling thread, then closes it. The request must
    // come, every byte of it, from the process that connected.
    void serve();
    // True until the whole request has arrived.
    bool waitingForRequest() const { return waiting_; }
    // Ends the connection from another thread: the request being awaited never arrives.
    void cutOff();
    // The connection whose request this thread is serving (NSXPCConnection.currentConnection);
    // nullptr elsewhere.
    static const XPCServerConnection* current();

private:
    int fd_;
    xpcsocket::Peer peer_;
    std::atomic<bool> waiting_{true};
};

// Listens on a service's socket and hands every new connection to the delegate function; each
// accepted connection is served on a thread of its own, within the limiter's bounds. Running out
// of descriptors or threads costs the connection at hand, never the listener.
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
    // Set before resume().
    ConnectionLimiter::Limits limits;

private:
    void acceptLoop();
    // An accept that survives a full descriptor table: the pending client is taken with the spare
    // descriptor and closed, rather than left to wake poll again and again.
    int acceptOne();
    // Waits a little, or until invalidate(); false when woken.
    bool rest();
    void report(const std::string& message) const;

    std::string serviceName_;
    std::string socketPath_;
    Delegate shouldAccept_;
    std::function<void(const std::string&)> errorHandler_;
    int fd_ = -1;
    int spare_ = -1;
    int wake_[2] = {-1, -1};
    std::unique_ptr<ConnectionLimiter> limiter_;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};
