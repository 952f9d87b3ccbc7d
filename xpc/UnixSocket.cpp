#include "xpc/UnixSocket.h"

#include "platform/FileSystem.h"
#include "platform/LocalSocket.h"
#include "platform/PathUtil.h"
#include "platform/SystemRoot.h"

#include <sys/stat.h>
#include <unistd.h>

namespace xpcsocket {

std::string pathForService(const std::string& service)
{
    return platform::fixedPath("/var/run") + "/" + service + ".sock";
}

int connectTo(const std::string& socketPath)
{
    return platform::localsocket::connectTo(socketPath);
}

int listenAt(const std::string& socketPath)
{
    platform::fs::makeDirectories(platform::path::deletingLastComponent(socketPath));
    // Only a socket is replaced, never another kind of file.
    if (const auto st = platform::fs::linkStatus(socketPath); st && S_ISSOCK(st->st_mode))
        ::unlink(socketPath.c_str());
    return platform::localsocket::listenAt(socketPath, 64);
}

std::optional<Peer> peerOf(int fd)
{
    return platform::peerCredentials(fd);
}

}  // namespace xpcsocket
