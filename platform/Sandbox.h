#pragma once

#include <string>

namespace platform {

// The app sandbox on this platform. A process is sandboxed when APP_SANDBOX_CONTAINER_ID is set; its
// home is then its container. Inside the sandbox a folder is usable only when it lies in the
// container or the temporary folder, or under a grant the process holds: a folder the user chose in
// an open panel (for the life of the process) or a security-scoped bookmark whose access was started
// and not yet stopped. Outside the sandbox the file permissions alone decide.
class Sandbox {
public:
    static bool isActive();
    static bool isReadableAndWritable(const std::string& path);
    static bool startAccessingSecurityScopedResource(const std::string& path);
    static void stopAccessingSecurityScopedResource(const std::string& path);
    static void grantForProcess(const std::string& path);
    // Forgets every grant (tests).
    static void resetGrants();
};

}  // namespace platform
