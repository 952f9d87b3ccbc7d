#include "app/scanner/SystemIdentifiers.h"

#include "platform/PathUtil.h"

#include <array>
#include <string>

namespace {

// Written in lower case. Ostrova's own names come first: the app and its agent ("com.qzt.ostrova"),
// the daemon's job ("com.halvane.ostrova"). Then the system and the frameworks and services that
// many applications carry inside them or that the system itself installs.
constexpr std::array<std::string_view, 24> kNames = {
    "com.qzt.ostrova",
    "com.halvane.ostrova",
    "com.apple",
    "systemgroup.com.apple",
    "group.com.apple",
    "org.cups",
    "org.ntp",
    "org.openldap",
    "org.openssh",
    "org.postfix",
    "org.sparkle-project",
    "org.webkit",
    "org.chromium.chromium",
    "org.mozilla.crashreporter",
    "org.swift",
    "org.llvm",
    "org.python.python",
    "com.crashlytics",
    "io.fabric",
    "io.sentry",
    "com.google.keystone",
    "com.microsoft.autoupdate2",
    "com.microsoft.autoupdate.fba",
    "com.adobe.acc",
};

}  // namespace

bool SystemIdentifiers::isSystem(std::string_view identifier)
{
    const std::string lower = platform::path::toLower(identifier);
    for (const auto name : kNames) {
        if (lower.size() < name.size() || lower.compare(0, name.size(), name) != 0)
            continue;
        // Only whole parts: "com.apple" is not "com.applesoft".
        if (lower.size() == name.size() || lower[name.size()] == '.')
            return true;
    }
    return false;
}
