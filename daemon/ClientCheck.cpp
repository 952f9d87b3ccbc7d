#include "daemon/ClientCheck.h"

#include "platform/Bundle.h"
#include "platform/FileSystem.h"

#include <climits>
#include <cstdlib>

namespace {

std::string realPath(const std::string& path)
{
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

}  // namespace

ClientCheck::ClientCheck(std::string bundlePath)
    : app_(realPath(platform::fs::resolveCaseInsensitive(bundlePath, "Contents/MacOS/Ostrova"))),
      helper_(realPath(platform::fs::resolveCaseInsensitive(bundlePath, "Contents/Helpers/ostrova")))
{
}

ClientCheck ClientCheck::forRunningDaemon()
{
    return ClientCheck(platform::Bundle::enclosingAppBundle(platform::Bundle::executablePath()));
}

bool ClientCheck::accepts(const xpcsocket::Peer& peer, std::string& why) const
{
    if (peer.uid == 0)
        return true;
    const auto executable = xpcsocket::executableOf(peer);
    if (!executable) {
        why = "its executable cannot be told";
        return false;
    }
    if (*executable == app_ || *executable == helper_)
        return true;
    why = "it runs " + *executable + ", not " + app_;
    return false;
}
