#pragma once

#include <sys/types.h>

#include <cstddef>
#include <string>

// Unix-domain stream sockets, with what differs between systems kept here: close-on-exec at
// creation, writes that never raise SIGPIPE, and the sender the kernel attests for received bytes.
namespace platform::localsocket {

// A connected socket to the path, or -1 with errno set.
int connectTo(const std::string& path);
// A socket listening at the path (nothing may be there), readable and writable by every user, whose
// accepted connections report each sender (receiveFrom). -1 with errno set.
int listenAt(const std::string& path, int backlog);
// Sends some of the bytes; a peer that has gone gives -1 with EPIPE, never a signal.
ssize_t send(int fd, const void* bytes, std::size_t count);
// The process that sent the bytes a receiveFrom returned.
struct Sender {
    pid_t pid = -1;
    uid_t uid = static_cast<uid_t>(-1);
};
// Receives some bytes from a socket of listenAt's with the process that sent them. -1 with errno
// set on failure; 0 at the end; a byte count with `sender` left at -1 when the kernel did not say.
ssize_t receiveFrom(int fd, char* into, std::size_t count, Sender& sender);

}  // namespace platform::localsocket
