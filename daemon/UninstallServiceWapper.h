#pragma once

#include "daemon/AdministratorGroup.h"
#include "daemon/ClientCheck.h"
#include "daemon/ClientTrash.h"
#include "daemon/ProcessPolicy.h"
#include "daemon/RemovalPolicy.h"
#include "platform/LaunchJobFile.h"
#include "xpc/UninstallServiceprotocol.h"
#include "xpc/XPCLocalObject.h"

#include <memory>
#include <optional>
#include <string>

// The daemon's service object: removes files, unloads launchd jobs and ends processes for the app,
// with root rights, only for a client the ClientCheck accepts and only where that client's
// RemovalPolicy and the ProcessPolicy allow. Requests are served on their connections' threads;
// each handler replies exactly once.
class UninstallServiceWapper : public UninstallServiceprotocol, public std::enable_shared_from_this<UninstallServiceWapper> {
public:
    // Makes the service and starts publishing it; nullptr when the socket cannot be set up.
    static std::shared_ptr<UninstallServiceWapper> start(ClientCheck check, AdministratorGroup administrators);

    std::unique_ptr<XPCLocalObject<UninstallServiceprotocol>> xpcServcie;

    void testWithReply(Reply reply) override;
    void removeWithPaths(const std::vector<std::string>& paths, Reply reply) override;
    void unloadPlistWithPath(const std::string& path, Reply reply) override;
    void killProcessWithExecutablePath(const std::string& path, const std::string& name, Reply reply) override;
    void KillProcessWithBundlePath(const std::string& bundlePath, Reply reply) override;
    void moveToTrashWithPath(const std::string& path, const std::string& trashName, Reply reply) override;
    void unloadPlistWithPath(const std::string& path, const std::string& trashName, Reply reply) override;
    void putBackWithPath(const std::string& path, const std::string& trashName, Reply reply) override;

    UninstallServiceWapper(ClientCheck check, AdministratorGroup administrators);

private:
    // The client of the request being served on this thread.
    struct Client {
        uid_t uid = 0;
        bool administrator = false;
        RemovalPolicy policy;
    };
    std::optional<Client> currentClient() const;
    static void refuse(const std::string& what, const std::string& why);
    // The daemon's own bundle or job file, or something inside them.
    bool isOwn(const std::string& path) const;
    // The client's policy, and never what is the daemon's own.
    bool allowsRemoval(const Client& client, const std::string& path, std::string& why) const;
    // The requested path with the system's links resolved when the client may remove what is there;
    // else refused as `what` ("to remove <path>") and nullopt.
    std::optional<std::string> removablePlace(const std::optional<Client>& client, const std::string& requested,
                                              const std::string& what) const;
    // Unloads the job loaded from that file when it is the client's to unload; false when it was not.
    bool unloadJob(const Client& client, const std::string& path, const platform::LaunchJobFile& file);
    // Unloads the job of the file at `real` (allowed, as asked for at `jobPath`) and sees that none of
    // its programs still runs; false when the file may not go yet.
    bool unloadForRemoval(const Client& client, const std::string& jobPath, const std::string& real);
    // The client's Trash on the volume of `real`, for moving as `trashName`; refused as `what` and
    // nullopt when the name is not one plain name or the Trash is not the client's own.
    static std::optional<ClientTrash> trashFor(const Client& client, const std::string& real, const std::string& trashName,
                                               bool create, const std::string& what);

    ClientCheck check_;
    AdministratorGroup administrators_;
    ProcessPolicy processes_;
};
