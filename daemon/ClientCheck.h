#pragma once

#include "xpc/UnixSocket.h"

#include <string>

// Whom the daemon serves: root, or a process running the Ostrova executable (or its command-line
// helper) of the bundle the daemon itself lies in. The executable is read through the peer's pidfd,
// so a recycled pid or a client that execs into another program after connecting does not pass.
class ClientCheck {
public:
    explicit ClientCheck(std::string bundlePath);
    // The bundle of the running daemon.
    static ClientCheck forRunningDaemon();

    bool accepts(const xpcsocket::Peer& peer, std::string& why) const;

private:
    std::string app_;
    std::string helper_;
};
