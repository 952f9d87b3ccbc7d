#pragma once

#include "xpc/XPCInterface.h"
#include "xpc/XPCListener.h"

#include <functional>
#include <memory>
#include <string>

// The server side of the link: publishes exportObj under the mach service. Failures go to
// errorHandler as text. The owner may set acceptsPeer to decide whom it serves; it is asked when a
// client connects and again for its request (a client that execs into another program after
// connecting is caught there).
template <typename Service>
class XPCLocalObject {
public:
    using ErrorHandler = std::function<void(const std::string&)>;
    using PeerCheck = std::function<bool(const xpcsocket::Peer&)>;

    XPCLocalObject(std::string serviceName, std::shared_ptr<Service> exported, ErrorHandler handler)
        : exportObj(std::move(exported)), strServiceName(std::move(serviceName)), errorHandler(std::move(handler))
    {
    }

    std::shared_ptr<Service> exportObj;
    std::string strServiceName;
    std::unique_ptr<XPCListener> listener;
    ErrorHandler errorHandler;
    PeerCheck acceptsPeer;

    // Starts listening; false when the socket could not be set up.
    bool resume()
    {
        listener = std::make_unique<XPCListener>(
            strServiceName, [this](XPCServerConnection& connection) { return shouldAcceptNewConnection(connection); },
            errorHandler);
        return listener->resume();
    }

    bool shouldAcceptNewConnection(XPCServerConnection& connection)
    {
        if (acceptsPeer && !acceptsPeer(connection.peer()))
            return false;
        const auto exported = exportObj;
        const ErrorHandler handler = errorHandler;
        const PeerCheck check = acceptsPeer;
        connection.errorHandler = handler;
        if (!XPCInterface<Service>::available) {
            report("Server: Interface Export fail");
        } else {
            connection.exportedHandler = [exported, check, &connection](const xpcwire::Request& request,
                                                                        std::function<void(bool)> reply) {
                if (!exported)
                    return false;
                if (check && !check(connection.peer()))
                    return false;
                return XPCInterface<Service>::dispatch(*exported, request, std::move(reply));
            };
        }
        connection.invalidationHandler = [handler] {
            if (handler)
                handler("Server: Client Connect invalid");
        };
        connection.interruptionHandler = [handler] {
            if (handler)
                handler("Server: Client Connection Interrupt");
        };
        return true;
    }

private:
    void report(const std::string& message) const
    {
        if (errorHandler)
            errorHandler(message);
    }
};
