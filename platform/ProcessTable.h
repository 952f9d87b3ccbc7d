#pragma once

#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// The kernel's process table as libproc and sysctl show it on a Mac; each system's backend reads it
// its own way.
class ProcessTable {
public:
    // What proc_pidinfo(PROC_PIDTBSDINFO) gives of a process.
    struct BsdInfo {
        pid_t pid = 0;
        pid_t ppid = 0;
        uid_t uid = 0;
        unsigned int flags = 0;
        std::string command;   // the kernel's short command name (at most kCommandNameWidth bytes)
        std::string longName;  // the executable's file name cut to 32 bytes, else the command name
        // When it started, in the system's own units (pbi_start_tvsec and _tvusec on a Mac): a
        // process that is given the pid of one that ended never has the same.
        std::uint64_t startTime = 0;
        // It has ended and waits for its parent to collect it (pbi_status SZOMB on a Mac).
        bool ended = false;
    };

    // Width of the kernel's command-name field on this system.
    static const std::size_t kCommandNameWidth;
    static constexpr std::size_t kLongNameWidth = 32;

    // Every process id, in the kernel's order.
    static std::vector<pid_t> allPids();
    // nullopt when the process does not exist (or vanished while being read).
    static std::optional<BsdInfo> bsdInfo(pid_t pid);
    // The executable's path (proc_pidpath); nullopt when it cannot be read (another user's process
    // without the rights, a kernel thread, a process that has ended).
    static std::optional<std::string> executablePath(pid_t pid);
    // The process tracing it (0 for none); nullopt when that cannot be read.
    static std::optional<pid_t> tracerPid(pid_t pid);
    // Every file mapped executable into the process: its program, the loader and each library,
    // preloaded ones included; nullopt when the map cannot be read.
    static std::optional<std::vector<std::string>> executableMappings(pid_t pid);
    // The identity of one of its namespaces ("mnt", "user", "pid", ...), as the kernel names it
    // ("mnt:[4026531841]"); nullopt when it cannot be read or the system has no such thing.
    static std::optional<std::string> namespaceOf(pid_t pid, const std::string& kind);
    // True when the process sees the files and users this process sees (the same mount and user
    // namespaces where the system has them); otherwise false with the reason.
    static bool sharesNamespacesWithSelf(pid_t pid, std::string& why);
    // The folders (each ending in "/") the system loads its shared libraries and loader from, which
    // only root can change.
    static std::vector<std::string> systemLibraryFolders();

    // Login name of a user id; nullopt without a password-database entry.
    static std::optional<std::string> loginName(uid_t uid);
};

}  // namespace platform
