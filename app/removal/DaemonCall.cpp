#include "app/removal/DaemonCall.h"

#include "platform/ConditionLock.h"

#include <memory>
#include <mutex>

std::optional<bool> awaitDaemonReply(const DaemonLink& link,
                                     const std::function<void(UninstallServiceprotocol&, std::function<void(bool)>)>& call,
                                     std::chrono::milliseconds limit)
{
    struct Outcome {
        dispatch::ConditionLock lock{0};
        std::mutex mutex;
        std::optional<bool> reply;
        bool finished = false;
        void finish(std::optional<bool> value)
        {
            {
                std::lock_guard guard(mutex);
                if (finished)
                    return;
                finished = true;
                reply = value;
            }
            lock.lock();
            lock.unlockWithCondition(1);
        }
    };
    auto outcome = std::make_shared<Outcome>();
    link.callProxy(
        [&](UninstallServiceprotocol& service) { call(service, [outcome](bool value) { outcome->finish(value); }); },
        [outcome] { outcome->finish(std::nullopt); });
    if (!outcome->lock.lockWhenCondition(1, limit))
        return std::nullopt;
    outcome->lock.unlock();
    std::lock_guard guard(outcome->mutex);
    return outcome->reply;
}
