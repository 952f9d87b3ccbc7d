#include "app/removal/DaemonCall.h"

#include "platform/OneReply.h"

std::optional<bool> awaitDaemonReply(const DaemonLink& link,
                                     const std::function<void(UninstallServiceprotocol&, std::function<void(bool)>)>& call,
                                     std::chrono::milliseconds limit)
{
    const auto outcome = dispatch::OneReply<std::optional<bool>>::make();
    link.callProxy(
        [&](UninstallServiceprotocol& service) { call(service, [outcome](bool value) { outcome->answer(value); }); },
        [outcome] { outcome->answer(std::nullopt); });
    return outcome->waitFor(limit).value_or(std::nullopt);
}
