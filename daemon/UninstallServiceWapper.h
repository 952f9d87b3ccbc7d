#pragma once

#include "daemon/ClientCheck.h"
#include "xpc/UninstallServiceprotocol.h"
#include "xpc/XPCLocalObject.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

class RemovalPolicy;

// The daemon's service object: removes files, unloads launchd jobs and ends processes for the app,
// with root rights, only for a client the ClientCheck accepts and only where its RemovalPolicy
// allows. Requests are served on their connections' threads; each handler replies exactly once.
class UninstallServiceWapper : public UninstallServiceprotocol, public std::enable_shared_from_this<UninstallServiceWapper> {
public:
    // Makes the service and starts publishing it; nullptr when the socket cannot be set up.
    static std::shared_ptr<UninstallServiceWapper> start(ClientCheck check);

    std::unique_ptr<XPCLocalObject<UninstallServiceprotocol>> xpcServcie;

    void testWithReply(Reply reply) override;
    void removeWithPaths(const std::vector<std::string>& paths, Reply reply) override;
    void unloadPlistWithPath(const std::string& path, Reply reply) override;
    void killProcessWithExecutablePath(const std::string& path, const std::string& name, Reply reply) override;
    void KillProcessWithBundlePath(const std::string& bundlePath, Reply reply) override;

    explicit UninstallServiceWapper(ClientCheck check);

private:
    // The places the client of the request being served may have acted on.
    std::optional<RemovalPolicy> policyForCurrentClient() const;
    static void refuse(const std::string& what, const std::string& why);
    // Whether the current client's policy allows it; a refusal is printed.
    bool permitted(const std::string& what, const std::function<bool(const RemovalPolicy&, std::string&)>& check) const;

    ClientCheck check_;
};
