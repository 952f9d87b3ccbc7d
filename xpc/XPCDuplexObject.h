#pragma once

#include "xpc/UnixSocket.h"
#include "xpc/XPCDuplexConnection.h"
#include "xpc/XPCInterface.h"
#include "xpc/XPCListener.h"

#include <functional>
#include <memory>
#include <mutex>
#include <string>

// Both directions on one connection: the side that connects exports `exportObj` and calls the
// other side through `remoteObj`; the listening side does the same for the connection it accepts.
// Failures go to errorHandler as text.
template <typename Export, typename Remote>
class XPCDuplexObject {
public:
    using ErrorHandler = std::function<void(const std::string&)>;

    XPCDuplexObject(std::string serviceName, std::shared_ptr<Export> exported, ErrorHandler handler)
        : strServiceName(std::move(serviceName)), exportObj(std::move(exported)), errorHandler(std::move(handler))
    {
    }
    ~XPCDuplexObject()
    {
        if (listener)
            listener->invalidate();
        std::shared_ptr<XPCDuplexConnection> connection;
        {
            std::lock_guard lock(mutex_);
            connection = std::move(newConnection);
            remoteObj.reset();
        }
        // Joins the reader while the handlers it may still call are alive.
        if (connection) {
            connection->invalidate();
            connection.reset();
        }
    }

    std::string strServiceName;
    std::shared_ptr<Export> exportObj;
    std::shared_ptr<Remote> remoteObj;
    std::unique_ptr<XPCListener> listener;
    std::shared_ptr<XPCDuplexConnection> newConnection;
    ErrorHandler errorHandler;

    // Client side: connects and sets remoteObj; false when nothing listens.
    bool connect()
    {
        const int fd = xpcsocket::connectTo(xpcsocket::pathForService(strServiceName));
        if (fd < 0) {
            report("Client: Server Connect invalid");
            return false;
        }
        auto connection = std::make_shared<XPCDuplexConnection>(strServiceName, fd);
        if (!XPCInterface<Export>::available)
            report("interface Export fail");
        export_(*connection);
        connection->resume();
        connection->interruptionHandler = [this] { report("Client: Server Connection Interrupt"); };
        connection->invalidationHandler = [this] { report("Client: Server Connect invalid"); };
        if (!XPCInterface<Remote>::available)
            report("Client: Interface conversion fail");
        connection->remoteObjectErrorHandler = errorHandler;
        remoteObj = XPCInterface<Remote>::makeProxy(connection);
        connection->start();
        std::lock_guard lock(mutex_);
        newConnection = connection;
        return true;
    }

    // Server side: listens; each accepted connection becomes newConnection with its remoteObj.
    bool listen()
    {
        listener = std::make_unique<XPCListener>(strServiceName, nullptr, errorHandler);
        listener->onAccept = [this](int fd, const xpcsocket::Peer&) {
            auto connection = std::make_shared<XPCDuplexConnection>(strServiceName, fd);
            if (!XPCInterface<Export>::available)
                report("export interface fail");
            export_(*connection);
            if (!XPCInterface<Remote>::available)
                report("get remoteObjInterface fail");
            connection->resume();
            connection->interruptionHandler = [this] { report("Connection Interrupt"); };
            connection->remoteObjectErrorHandler = errorHandler;
            std::lock_guard lock(mutex_);
            remoteObj = XPCInterface<Remote>::makeProxy(connection);
            newConnection = connection;
            connection->start();
        };
        return listener->resume();
    }

    std::shared_ptr<Remote> remote()
    {
        std::lock_guard lock(mutex_);
        return remoteObj;
    }

private:
    void export_(XPCDuplexConnection& connection)
    {
        const auto exported = exportObj;
        connection.exported = [exported](const xpcwire::Request& request, std::function<void(bool)> reply) {
            return exported && XPCInterface<Export>::dispatch(*exported, request, std::move(reply));
        };
    }
    void report(const std::string& message) const
    {
        if (errorHandler)
            errorHandler(message);
    }
    std::mutex mutex_;
};
