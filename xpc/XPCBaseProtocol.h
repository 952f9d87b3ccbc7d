#pragma once

#include <functional>

// The base of every service protocol carried over the link.
class XPCBaseProtocol {
public:
    using Reply = std::function<void(bool)>;
    virtual ~XPCBaseProtocol() = default;
    // The server answers YES.
    virtual void testWithReply(Reply reply) = 0;
};
