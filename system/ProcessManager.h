#pragma once

#include "platform/ProcessIdentity.h"
#include "system/KillProcessProtocol.h"
#include "system/RkProcessInfo.h"

#include <memory>
#include <string>
#include <vector>

// Lists the running processes, finds those of an application, tells whether one still runs, and
// ends processes with the kill strategies in order. Shared by the app and the daemon; the shared
// instance is filled once and may be used from any thread.
class ProcessManager {
public:
    using Processes = std::vector<std::shared_ptr<RkProcessInfo>>;

    static ProcessManager& shared();
    ProcessManager();

    // The strategies, tried in this order: what the shell's "kill -9" did (SIGKILL), SIGINT, SIGKILL.
    std::vector<std::shared_ptr<KillProcessProtocol>> array;

    Processes EnumerateAllProcess() const;
    std::shared_ptr<RkProcessInfo> GetProcessInfoWithExecutableName(const std::string& name) const;
    std::shared_ptr<RkProcessInfo> GetProcessInfoWithExecutableName(const std::string& name, const std::string& path) const;
    // The processes whose executable lies inside the bundle folder; empty unless the path is an
    // existing .app folder.
    Processes GetProcessInfoWithBundlePath(const std::string& bundlePath) const;
    // Whether a process other than this one runs the application of `bundlePath` (canonical): its
    // executable lies inside the bundle. A process whose executable cannot be read (another user's,
    // where the system hides it) counts when its command name is one of `executableNames` cut to
    // the kernel's width: the removal then asks rather than deleting what may run. A program of the
    // same name whose executable is known to lie elsewhere does not count.
    bool runsFromBundle(const std::string& bundlePath, const std::vector<std::string>& executableNames) const;
    // A process other than this one whose command name is `name` cut to the kernel's width.
    bool ProcessIsRunning(const std::string& name) const;
    // Whether `pid` still runs `name` from `path` (guards against a reused pid).
    bool ProcessIsRunning(int pid, const std::string& path, const std::string& name) const;
    // Opens one handle on the process and, once it is confirmed to be the one recorded, tries the
    // strategies through it until the process ends. False when the record no longer describes a
    // running process (nothing is signalled then) or no strategy's signal went through.
    bool OnKillProcessInfo(const RkProcessInfo& process);
    // True when every one of them was signalled; false for none.
    bool OnKillProcessInfos(const Processes& processes);

    // A handle on the process the record describes: opened first, then confirmed to be the process
    // the record was made of (its start time, executable and name); an invalid handle otherwise.
    static platform::process::ProcessHandle pin(const RkProcessInfo& process);

    // Shared by ProcessIsRunning here and in Utility.
    static bool commandIsRunning(const std::string& name);
};
