#pragma once

#include "daemon/AdministratorGroup.h"
#include "daemon/RemovalPolicy.h"
#include "xpc/UnixSocket.h"

#include <optional>

// The places of the client being served, as RemovalPolicy takes them:
// - its home: HOME from its environment when that is a folder the client owns, else its password
//   entry's home;
// - its temporary folder (TMPDIR) and the per-user cache folder beside it ("C", as on a Mac), each
//   only when the client owns it and the folder that holds both (never a folder of the system root
//   or of another user);
// - the system-wide places when it is root or an administrator.
// nullopt when the client cannot be told.
class ClientPlaces {
public:
    static std::optional<RemovalPolicy::Client> of(const xpcsocket::Peer& peer, const AdministratorGroup& administrators);
};
