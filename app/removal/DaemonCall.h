#pragma once

#include "xpc/UninstallServiceprotocol.h"
#include "xpc/XPCRemoteObject.h"

#include <chrono>
#include <functional>
#include <optional>

using DaemonLink = XPCRemoteObject<UninstallServiceprotocol>;

// Makes one daemon request and waits for its reply on a condition lock, so that one request is
// outstanding at a time. The wait ends with the reply, when the call cannot be made or its
// connection fails (nullopt), or after `limit` (nullopt): it is never endless.
std::optional<bool> awaitDaemonReply(const DaemonLink& link,
                                     const std::function<void(UninstallServiceprotocol&, std::function<void(bool)>)>& call,
                                     std::chrono::milliseconds limit = std::chrono::minutes(10));
