#pragma once

#include "platform/PeerCredentials.h"

#include <optional>
#include <string>

// The transport under the XPC stand-in: one Unix-domain stream socket per mach service, in the run
// folder of the system root (<root>/var/run/<service>.sock).
namespace xpcsocket {

std::string pathForService(const std::string& service);

// A connected socket to the service, or -1 with errno set.
int connectTo(const std::string& socketPath);
// A listening socket bound at the path (a stale socket file there is replaced), open to every
// user: whom to serve is the server's decision. -1 on failure.
int listenAt(const std::string& socketPath);

// The peer of a connected socket, as the kernel vouches for it; its handle is the holder's to close.
using Peer = platform::PeerCredentials;
std::optional<Peer> peerOf(int fd);

}  // namespace xpcsocket
