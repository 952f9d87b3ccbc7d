#include "platform/PeerCredentials.h"

#include "platform/ProcessIdentity.h"

#include <sys/socket.h>

#ifndef SO_PEERPIDFD
#define SO_PEERPIDFD 77
#endif

namespace platform {

// SO_PEERCRED names the process that connected; SO_PEERPIDFD (Linux 6.5) pins that very process,
// older kernels fall back on pidfd_open of its pid.
std::optional<PeerCredentials> peerCredentials(int socket)
{
    ucred credentials{};
    socklen_t length = sizeof credentials;
    if (::getsockopt(socket, SOL_SOCKET, SO_PEERCRED, &credentials, &length) != 0 || credentials.pid <= 0)
        return std::nullopt;
    PeerCredentials peer;
    peer.pid = credentials.pid;
    peer.uid = credentials.uid;
    peer.gid = credentials.gid;
    int pidfd = -1;
    length = sizeof pidfd;
    if (::getsockopt(socket, SOL_SOCKET, SO_PEERPIDFD, &pidfd, &length) == 0 && pidfd >= 0)
        peer.handle = pidfd;
    else
        peer.handle = process::openHandle(peer.pid);
    return peer;
}

}  // namespace platform
