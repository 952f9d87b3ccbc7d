#include "xpc/ConnectionLimiter.h"

#include "xpc/XPCListener.h"

#include <algorithm>
#include <map>

void ConnectionLimiter::forgetEnded()
{
    live_.erase(std::remove_if(live_.begin(), live_.end(), [](const auto& weak) { return weak.expired(); }), live_.end());
}

uid_t ConnectionLimiter::busiestUser() const
{
    std::map<uid_t, std::size_t> counts;
    for (const auto& weak : live_)
        if (const auto connection = weak.lock())
            ++counts[connection->peer().uid];
    const auto most = std::max_element(counts.begin(), counts.end(), [](const auto& a, const auto& b) { return a.second < b.second; });
    return most == counts.end() ? 0 : most->first;
}

bool ConnectionLimiter::cutOffOldestWaiting(uid_t uid, bool anyUser)
{
    for (auto it = live_.begin(); it != live_.end(); ++it) {
        const auto connection = it->lock();
        if (!connection || (!anyUser && connection->peer().uid != uid) || !connection->waitingForRequest())
            continue;
        connection->cutOff();
        live_.erase(it);
        return true;
    }
    return false;
}

bool ConnectionLimiter::admit(const std::shared_ptr<XPCServerConnection>& connection)
{
    std::lock_guard lock(mutex_);
    forgetEnded();
    const uid_t uid = connection->peer().uid;
    const auto ofUser = static_cast<std::size_t>(std::count_if(live_.begin(), live_.end(), [uid](const auto& weak) {
        const auto other = weak.lock();
        return other && other->peer().uid == uid;
    }));
    if (ofUser >= limits_.perUser && !cutOffOldestWaiting(uid, false))
        return false;
    if (live_.size() >= limits_.total && !cutOffOldestWaiting(busiestUser(), false) && !cutOffOldestWaiting(0, true))
        return false;
    live_.push_back(connection);
    return true;
}
