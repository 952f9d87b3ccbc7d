#pragma once

#include <sys/types.h>

#include <optional>
#include <string>

namespace platform {

// The process at the other end of a connected local socket, as the kernel vouches for it.
struct PeerCredentials {
    pid_t pid = -1;
    uid_t uid = static_cast<uid_t>(-1);
    gid_t gid = static_cast<gid_t>(-1);
    // Pins the process itself, so that its pid cannot name another process unnoticed (see
    // ProcessIdentity.h); -1 when the system gives none. Owned by whoever holds the credentials.
    int handle = -1;
};

// nullopt when the kernel does not name the peer.
std::optional<PeerCredentials> peerCredentials(int socket);

}  // namespace platform
