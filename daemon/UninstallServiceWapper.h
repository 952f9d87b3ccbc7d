#pragma once

#include "daemon/ClientCheck.h"
#include "daemon/ClientTrash.h"
#include "daemon/ProcessPolicy.h"
#include "daemon/RemovalPolicy.h"
#include "daemon/TrashLedger.h"
#include "platform/PeerCredentials.h"
#include "platform/LaunchJobFile.h"
#include "xpc/UninstallServiceprotocol.h"
#include "xpc/XPCLocalObject.h"

#include <map>
#include <memory>
#include <optional>
#include <string>

// The daemon's service object: removes files, unloads launchd jobs and ends processes for the app,
// with root rights. Any process of the client's user can send any request (the ClientCheck only turns
// away obvious strangers), so each request is judged by who the kernel says sent it: the client's own
// places (its home and temporary folders, RemovalPolicy) are served as asked; anything beyond them
// (system-wide folders, root's jobs, other users' processes) only with the right for that kind of
// action, which the system's authority grants the requesting process for an administrator's password.
// What the daemon moved into a Trash it puts back only from its own ledger. Requests are served on
// their connections' threads; each handler replies exactly once.
class UninstallServiceWapper : public UninstallServiceprotocol, public std::enable_shared_from_this<UninstallServiceWapper> {
public:
    // Makes the service and starts publishing it; nullptr when the socket cannot be set up.
    static std::shared_ptr<UninstallServiceWapper> start(ClientCheck check, TrashLedger& ledger = TrashLedger::shared());

    std::unique_ptr<XPCLocalObject<UninstallServiceprotocol>> xpcServcie;

    void testWithReply(Reply reply) override;
    void removeWithPaths(const std::vector<std::string>& paths, Reply reply) override;
    void unloadPlistWithPath(const std::string& path, Reply reply) override;
    void killProcessWithExecutablePath(const std::string& path, const std::string& name, Reply reply) override;
    void KillProcessWithBundlePath(const std::string& bundlePath, Reply reply) override;
    void moveToTrashWithPath(const std::string& path, const std::string& trashName, Reply reply) override;
    void unloadPlistWithPath(const std::string& path, const std::string& trashName, Reply reply) override;
    void putBackWithPath(const std::string& path, const std::string& trashName, Reply reply) override;
    void loadPlistWithPath(const std::string& path, Reply reply) override;
    void authorizeWithRight(const std::string& right, Reply reply) override;

    UninstallServiceWapper(ClientCheck check, TrashLedger& ledger);

private:
    // The client of the request being served on this thread.
    struct Client {
        platform::PeerCredentials peer;  // the connection's; its handle stays the connection's
        RemovalPolicy policy;
        // Each right is asked for once per request, with the password prompt allowed.
        std::map<std::string, bool> rights;

        uid_t uid() const { return peer.uid; }
        bool holds(const std::string& right, std::string& why);
    };
    std::optional<Client> currentClient() const;
    static void refuse(const std::string& what, const std::string& why);
    // The daemon's own bundle or job file, or something inside them.
    bool isOwn(const std::string& path) const;
    // The client's policy, never what is the daemon's own, and beyond the client's own places only
    // with the right to remove system items.
    bool allowsRemoval(Client& client, const std::string& path, std::string& why) const;
    // The requested path with the system's links resolved when the client may remove what is there;
    // else refused as `what` ("to remove <path>") and nullopt.
    std::optional<std::string> removablePlace(std::optional<Client>& client, const std::string& requested,
                                              const std::string& what) const;
    // Unloads the job loaded from that file when it is the client's to unload; false when it was not.
    bool unloadJob(Client& client, const std::string& path, const platform::LaunchJobFile& file);
    // The job file at `real` (allowed, as asked for at `jobPath`) when root may load it for the client:
    // a root-owned file, not a link, right in a root launch folder, of a job with a valid label that is
    // not the daemon's own, asked for with the right to remove system items; else refused, nullopt.
    std::optional<platform::LaunchJobFile> loadableJob(Client& client, const std::string& jobPath, const std::string& real) const;
    // Unloads the job of the file at `real` (allowed, as asked for at `jobPath`) and sees that none of
    // its programs still runs; false when the file may not go yet.
    bool unloadForRemoval(Client& client, const std::string& jobPath, const std::string& real);
    // The client's Trash on the volume of `real`, for moving as `trashName`; refused as `what` and
    // nullopt when the name is not one plain name or the Trash is not the client's own.
    // Moves the item into the open Trash and enters it in the ledger; false (refused as `what`) when
    // either fails.
    bool moveIntoTrash(const Client& client, const ClientTrash& trash, const std::string& real, const std::string& trashName,
                       const std::string& what);
    static std::optional<ClientTrash> trashFor(const Client& client, const std::string& real, const std::string& trashName,
                                               bool create, const std::string& what);

    ClientCheck check_;
    TrashLedger& ledger_;
    ProcessPolicy processes_;
};
