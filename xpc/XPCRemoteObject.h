#pragma once

#include "xpc/XPCConnection.h"
#include "xpc/XPCInterface.h"
#include "platform/OneReply.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

// The client side of the link: a fresh connection for every call to the mach service. A proxy is
// handed out even when nothing listens; the call then fails through the error and invalidation
// handlers and its reply never comes. Failures go to errorHandler as text.
template <typename Service>
class XPCRemoteObject {
public:
    using ErrorHandler = std::function<void(const std::string&)>;

    XPCRemoteObject(std::string serviceName, ErrorHandler handler)
        : strServiceName(std::move(serviceName)), errorHandler(std::move(handler))
    {
    }

    std::string strServiceName;
    ErrorHandler errorHandler;

    // nullptr where the platform would throw (no usable interface). `whenNoReply` runs once if the
    // call made with this proxy ends without a reply.
    std::shared_ptr<Service> proxy(std::function<void()> whenNoReply = nullptr) const
    {
        auto connection = std::make_shared<XPCConnection>(strServiceName);
        connection->noReplyHandler = std::move(whenNoReply);
        if (!XPCInterface<Service>::available)
            report("Client: Interface conversion fail");
        connection->resume();
        const ErrorHandler handler = errorHandler;
        connection->interruptionHandler = [handler] {
            if (handler)
                handler("Client: Server Connection Interrupt");
        };
        connection->invalidationHandler = [handler] {
            if (handler)
                handler("Client: Server Connect invalid");
        };
        connection->remoteObjectErrorHandler = handler;
        return XPCInterface<Service>::makeProxy(connection);
    }

    // Runs the body with a proxy, or reports "Call CallProxy fail" and skips it. `whenNoReply` runs
    // once when the call is not made or ends without a reply.
    void callProxy(const std::function<void(Service&)>& body, const std::function<void()>& whenNoReply = nullptr) const
    {
        const auto remote = proxy(whenNoReply);
        if (!remote) {
            report("Call CallProxy fail");
            if (whenNoReply)
                whenNoReply();
            return;
        }
        if (body)
            body(*remote);
    }

    // Whether the service answers testWithReply: with YES within one second.
    bool test() const
    {
        const auto answer = dispatch::OneReply<bool>::make();
        const auto remote = proxy();
        if (!remote)
            return false;
        remote->testWithReply([answer](bool value) { answer->answer(value); });
        return answer->waitFor(std::chrono::seconds(1)).value_or(false);
    }

private:
    void report(const std::string& message) const
    {
        if (errorHandler)
            errorHandler(message);
    }
};
