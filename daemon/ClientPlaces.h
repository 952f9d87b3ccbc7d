#pragma once

#include "daemon/RemovalPolicy.h"
#include "xpc/UnixSocket.h"

#include <optional>

// The places of the client being served, as RemovalPolicy takes them:
// - its home: its password entry's, only when the client owns that folder (root's are all root's)
//   and it is no system folder (not "/", nor in or over the system's own folders); HOME from the
//   client's environment only narrows it, to a folder of the client's inside that home;
// - its temporary folder (TMPDIR) and the per-user cache folder beside it ("C", as on a Mac), each
//   only when the client owns it and the folder that holds both (never a folder of the system root
//   or of another user);
// - the system-wide places, which the daemon serves only with the right to remove system items.
// nullopt when the client cannot be told or has no home of its own.
class ClientPlaces {
public:
    static std::optional<RemovalPolicy::Client> of(const xpcsocket::Peer& peer, std::string& why);
    // The password entry's home of `uid` (real), when it may serve as the user's home.
    static std::optional<std::string> accountHome(uid_t uid, std::string& why);
};
