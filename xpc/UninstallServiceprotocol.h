#pragma once

#include "xpc/XPCBaseProtocol.h"
#include "xpc/XPCInterface.h"

#include <string>
#include <vector>

// What the daemon does for the app. Every operation replies exactly once.
class UninstallServiceprotocol : public XPCBaseProtocol {
public:
    // YES when every removal that was attempted succeeded.
    virtual void removeWithPaths(const std::vector<std::string>& paths, Reply reply) = 0;
    // YES when the job was unloaded, none of its programs still runs, and its file was removed.
    virtual void unloadPlistWithPath(const std::string& path, Reply reply) = 0;
    // YES when a process with that name and executable was found and ended.
    virtual void killProcessWithExecutablePath(const std::string& path, const std::string& name, Reply reply) = 0;
    // YES when processes inside the bundle were found and ended.
    virtual void KillProcessWithBundlePath(const std::string& bundlePath, Reply reply) = 0;
    // YES when the item at `path` now lies in the client's own Trash on its volume as `trashName`
    // (one name; never over an existing one).
    virtual void moveToTrashWithPath(const std::string& path, const std::string& trashName, Reply reply) = 0;
    // As unloadPlistWithPath, but the job file goes to the client's Trash as `trashName`.
    virtual void unloadPlistWithPath(const std::string& path, const std::string& trashName, Reply reply) = 0;
    // YES when `trashName` of the client's Trash on the volume of `path` was moved back to `path`
    // (never over an existing item).
    virtual void putBackWithPath(const std::string& path, const std::string& trashName, Reply reply) = 0;
    // YES when the job of the root-owned job file at `path` (a root launch folder's, as put back) is
    // loaded from it now.
    virtual void loadPlistWithPath(const std::string& path, Reply reply) = 0;
    // YES when the system's authority grants the requesting process `right` (one of
    // uninstallservice::kRight...), asking its user for an administrator's password when needed.
    virtual void authorizeWithRight(const std::string& right, Reply reply) = 0;
};

// The selectors as the wire names them.
namespace uninstallservice {
inline constexpr const char* kTest = "testWithReply:";
inline constexpr const char* kRemove = "removeWithPaths:reply:";
inline constexpr const char* kUnload = "unloadPlistWithPath:reply:";
inline constexpr const char* kKillExecutable = "killProcessWithExecutablePath:executableName:reply:";
inline constexpr const char* kKillBundle = "KillProcessWithBundlePath:reply:";
inline constexpr const char* kMoveToTrash = "moveToTrashWithPath:trashName:reply:";
inline constexpr const char* kUnloadToTrash = "unloadPlistWithPath:trashName:reply:";
inline constexpr const char* kPutBack = "putBackWithPath:trashName:reply:";
inline constexpr const char* kLoad = "loadPlistWithPath:reply:";
inline constexpr const char* kAuthorize = "authorizeWithRight:reply:";
inline constexpr const char* kServiceName = "com.qzt.ostrova.service";
// The rights the daemon asks the system for, one per kind of action beyond the client's own places:
// removing, moving to the Trash or putting back anything outside the client's home and temporary
// folders (system-wide folders, launch daemons and their jobs, privileged helpers), and ending
// processes of other users.
inline constexpr const char* kRightRemoveSystemItems = "com.halvane.ostrova.remove-system-items";
inline constexpr const char* kRightEndOtherProcesses = "com.halvane.ostrova.end-other-processes";
}  // namespace uninstallservice

// Calls on the client become requests on a connection.
class UninstallServiceProxy : public UninstallServiceprotocol {
public:
    explicit UninstallServiceProxy(std::shared_ptr<XPCConnection> connection) : connection_(std::move(connection)) {}
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

private:
    void call(const char* operation, plist::Array arguments, Reply reply);
    std::shared_ptr<XPCConnection> connection_;
};

template <>
struct XPCInterface<UninstallServiceprotocol> {
    static constexpr bool available = true;
    static std::shared_ptr<UninstallServiceprotocol> makeProxy(const std::shared_ptr<XPCConnection>& connection);
    // False for an unknown operation or arguments of the wrong kind (the request is dropped).
    static bool dispatch(UninstallServiceprotocol& service, const xpcwire::Request& request, std::function<void(bool)> reply);
};
