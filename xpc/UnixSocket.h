#pragma once

#include <sys/types.h>

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

// The peer of a connected socket, as the kernel vouches for it.
struct Peer {
    pid_t pid = -1;
    uid_t uid = static_cast<uid_t>(-1);
    gid_t gid = static_cast<gid_t>(-1);
    int pidfd = -1;  // pins the process itself (SO_PEERPIDFD, else pidfd_open); -1 when unavailable
};
std::optional<Peer> peerOf(int fd);
// Whether the process that connected still runs (its pid has not been handed to another): checked
// after reading anything about it under its pid.
bool stillRunning(const Peer& peer);
// The peer's executable right now, and still the same process (not a recycled pid); nullopt
// otherwise.
std::optional<std::string> executableOf(const Peer& peer);
// The value of a variable in the peer's environment; nullopt when unreadable.
std::optional<std::string> environmentOf(const Peer& peer, const std::string& name);

}  // namespace xpcsocket
