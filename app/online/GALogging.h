#pragma once

#include "platform/DispatchQueue.h"
#include "platform/PropertyList.h"

#include <mutex>
#include <optional>
#include <string>

// Sends small usage events to the event endpoint: one POST per event, fire and forget. Nothing is
// sent in the sandbox, or when no endpoint is configured (OSTROVA_EVENT_ENDPOINT, else the user
// default "EventEndpoint": a scheme and host such as "https://events.example.org").
//
// logEvent returns at once; requests run one after the other on the instance's own queue.
class GALogging {
public:
    // The process-wide instance, made on first use with the configured endpoint.
    static GALogging& standard();

    // An instance for `endpoint` (scheme and host, no path); nullopt or "" sends nothing.
    explicit GALogging(std::optional<std::string> endpoint);
    GALogging(const GALogging&) = delete;
    GALogging& operator=(const GALogging&) = delete;

    // The machine identifier, read from the platform on first use and kept.
    std::string hardWareId();
    // "ostrova_zh_<short version>_<build>" from the main bundle, "Unknown" for a missing value.
    const std::string eventName;
    // The request template: endpoint + "/php/page-events.php?id=%@&name=%@&action=%@&label=%@"; ""
    // without an endpoint.
    const std::string link;

    void logEvent(const std::string& name, const std::string& action, const std::string& label);
    // Waits until the requests started so far have ended (tests, and a clean exit).
    void waitForPendingRequests();

    static std::optional<std::string> configuredEndpoint();
    static std::string makeEventName(const plist::Dictionary& info);
    // "MacOs " and the running system's version as major.minor.patch.
    static std::string operatingSystemLabel();
    // Percent-encodes every byte outside the characters a URL query may hold.
    static std::string encodeForQuery(const std::string& text);

private:
    static void post(const std::string& url);

    std::mutex idMutex_;
    std::optional<std::string> hardWareId_;
    dispatch::SerialQueue requests_{"com.qzt.ostrova.events"};
};
