#pragma once

// Shell and system helpers shared by the app and the daemon.
class Utility {
public:
    // True exactly when the process runs in the app sandbox (APP_SANDBOX_CONTAINER_ID is set).
    static bool isSandboxed();
};
