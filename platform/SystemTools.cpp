#include "platform/SystemTools.h"

#include "platform/Bundle.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"

#include <grp.h>
#include <syslog.h>
#include <unistd.h>

#include <cstdlib>

namespace platform::tools {

std::string launchctl()
{
    if (const char* configured = std::getenv("OSTROVA_LAUNCHCTL"); configured && *configured)
        return configured;
    // The installed helper's own copy beside it in root's folder (never the bundle's, as root).
    const std::string own = Bundle::executablePath() + ".launchctl";
    if (::access(own.c_str(), X_OK) == 0)
        return own;
    if (const auto bundle = Bundle::mainBundle()) {
        const std::string shipped = fs::resolveCaseInsensitive(bundle->bundlePath(), "Contents/Helpers/launchctl");
        if (::access(shipped.c_str(), X_OK) == 0)
            return shipped;
    }
    // A tool outside any bundle uses the launchctl built beside it; never one found on PATH.
    const std::string beside = path::appending(path::deletingLastComponent(Bundle::executablePath()), "launchctl");
    return ::access(beside.c_str(), X_OK) == 0 ? beside : "";
}

std::string adminGroup()
{
    return ::getgrnam("wheel") ? "wheel" : "root";
}

void systemLog(const std::string& message)
{
    ::syslog(LOG_NOTICE, "%s", message.c_str());
}

}  // namespace platform::tools
