#pragma once

#include <sys/types.h>

#include <cstddef>
#include <memory>
#include <mutex>
#include <vector>

class XPCServerConnection;

// Bounds what idle or slow clients can hold of a listener: at most `total` connections at once and
// `perUser` of one user. A connection over a bound makes room by cutting off the oldest connection
// that still waits for its request, of the same user (or, over the total, of the user holding the
// most); when none waits, the newcomer is turned away. So one user's idle connections never lock
// out another user, and cost that user only its own oldest. Called by the accept loop only;
// connections end on their own threads.
class ConnectionLimiter {
public:
    struct Limits {
        std::size_t total = 64;
        std::size_t perUser = 16;
    };

    explicit ConnectionLimiter(Limits limits) : limits_(limits) {}

    // Registers the connection; false when it must be turned away.
    bool admit(const std::shared_ptr<XPCServerConnection>& connection);

private:
    void forgetEnded();
    // Cuts off the oldest waiting connection of `uid` (any user when `anyUser`); false when none waits.
    bool cutOffOldestWaiting(uid_t uid, bool anyUser);
    uid_t busiestUser() const;

    Limits limits_;
    std::mutex mutex_;
    std::vector<std::weak_ptr<XPCServerConnection>> live_;  // in order of arrival
};
