#pragma once

#include "xpc/XPCConnection.h"
#include "xpc/XPCMessage.h"

#include <memory>

// What NSXPCInterface does for a protocol: turns calls into requests on the client (makeProxy) and
// requests into calls on the server (dispatch). A protocol without a specialisation has no
// interface; the link then reports it as the platform does for a protocol it cannot find.
template <typename Service>
struct XPCInterface {
    static constexpr bool available = false;
    static std::shared_ptr<Service> makeProxy(const std::shared_ptr<XPCConnection>&) { return nullptr; }
    static bool dispatch(Service&, const xpcwire::Request&, std::function<void(bool)>) { return false; }
};
