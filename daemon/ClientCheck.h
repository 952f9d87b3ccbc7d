#pragma once

#include "xpc/UnixSocket.h"

#include <string>
#include <vector>

// The second wall of the daemon (the first is what each user may ask for, RemovalPolicy): whom it
// serves at all. Root, or a process that
// - runs the Ostrova executable, the command-line helper or the login item's agent of the daemon's
//   own bundle,
// - has no code mapped from outside the system's library folders and that bundle (what a preloaded
//   or audit library, or a library path of the client's choosing, would bring in),
// - is not being traced,
// - lives in the daemon's own namespaces where the system has them (so no private bind mount
//   dresses another program up as ours).
// Everything is read through the peer's pid and then confirmed against its process handle, so a
// recycled pid does not pass; a client that execs into another program is caught at its request.
class ClientCheck {
public:
    explicit ClientCheck(std::string bundlePath);
    // The bundle of the running daemon.
    static ClientCheck forRunningDaemon();

    bool accepts(const xpcsocket::Peer& peer, std::string& why) const;
    // The bundle folder, with links resolved.
    const std::string& bundlePath() const { return bundle_; }

private:
    bool runsOnlyTrustedCode(const xpcsocket::Peer& peer, std::string& why) const;
    bool sharesNamespaces(const xpcsocket::Peer& peer, std::string& why) const;

    std::string bundle_;
    std::string app_;
    std::string helper_;
    std::string agent_;
    std::vector<std::string> trustedFolders_;
};
