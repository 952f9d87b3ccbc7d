#pragma once

#include "xpc/XPCMessage.h"

#include <functional>
#include <memory>
#include <string>

// The client end of one connection to a service (NSXPCConnection). Each call runs on a private
// thread of its own: it connects, sends the request and waits for the reply. The reply block runs
// once with the answer, or never when the call fails: then the proxy's error handler gets a
// description and the interruption or invalidation handler runs.
class XPCConnection : public std::enable_shared_from_this<XPCConnection> {
public:
    virtual ~XPCConnection() = default;
    using Reply = std::function<void(bool)>;
    using ErrorHandler = std::function<void(const std::string&)>;

    explicit XPCConnection(std::string serviceName);

    std::function<void()> interruptionHandler;
    std::function<void()> invalidationHandler;
    // The remote-object proxy's error handler: gets the description of a call that failed.
    ErrorHandler remoteObjectErrorHandler;
    // Runs once when a call ends without a reply (for callers that wait for one).
    std::function<void()> noReplyHandler;

    void resume() { resumed_ = true; }
    bool resumed() const { return resumed_; }
    virtual void send(xpcwire::Request request, Reply reply);

    const std::string& serviceName() const { return serviceName_; }

private:
    void run(const xpcwire::Request& request, const Reply& reply);

    std::string serviceName_;
    bool resumed_ = false;
};
