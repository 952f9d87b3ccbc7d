#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

class KextManager;
class ProcessManager;

// Shell and system helpers shared by the app and the daemon. Class operations keep no state and
// may be called from any thread; the shell ones block until the command ends.
class Utility {
public:
    static Utility& shared();

    KextManager* kextManager() const { return kextManager_; }
    void setKextManager(KextManager* manager) { kextManager_ = manager; }
    ProcessManager* processManager() const { return processManager_; }
    void setProcessManager(ProcessManager* manager) { processManager_ = manager; }

    // The command's exit status (0..255) through /bin/sh -c; -1 for no command; 255 when the
    // shell cannot be run; 0 for a command ended by a signal.
    static int ShellExecution(const std::optional<std::string>& command);
    // What the command wrote to standard output through /bin/bash -c; nullopt when that is not
    // UTF-8 or bash cannot be started.
    static std::optional<std::string> GetShellExecutionResult(const std::string& command);
    // Writes the daemon's launchd job to `plistPath` (unloading and replacing one that is there),
    // hands it to root and loads it. NO only when the file cannot be created.
    // `clientBundle`, when given, names the application whose programs the daemon serves (its
    // job's OSTROVA_CLIENT_BUNDLE), for a daemon that runs from outside that bundle.
    static bool CreatePlist(const std::string& plistPath, const std::string& appPath, const std::string& clientBundle = "");
    // The applications Launch Services knows that pass the filter; nullopt when that list is not
    // to be had (always so on this platform).
    static std::optional<std::vector<std::string>> getAppFromSystem(const std::function<bool(const std::string&)>& filter);
    // The machine's serial number, or "".
    static std::string HardwareID(bool flag);
    // True exactly when the process runs in the app sandbox (APP_SANDBOX_CONTAINER_ID is set).
    static bool isSandboxed();
    // A process other than this one whose command name is `name` cut to the kernel's width.
    static bool ProcessIsRunning(const std::string& name);

    // The daemon's launchd job as CreatePlist writes it.
    static constexpr const char* kDaemonLabel = "com.qzt.ostrova.uninstallDaemon";
    static constexpr const char* kMachService = "com.qzt.ostrova.service";

private:
    Utility();
    KextManager* kextManager_;
    ProcessManager* processManager_;
};
