#pragma once

#include "platform/LaunchJobFile.h"
#include "platform/ProcessIdentity.h"

#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <string>

namespace platform {

// What launchctl keeps of a loaded job, by label, in the run folder of the system root
// (<root>/var/run/launchd/<Label>.job): who loaded it, from which file (its path and identity), and
// the supervisor that runs it. Written by the launchctl that loads the job, read by launchctl and
// by the daemon.
struct LaunchJobRecord {
    std::string label;
    std::string path;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    uid_t loader = 0;
    pid_t supervisor = 0;
    pid_t program = 0;
    // The supervisor's start (ProcessTable::BsdInfo::startTime), which tells it from a process that
    // was given its pid after it died; 0 in records written before it was kept.
    std::uint64_t supervisorStart = 0;

    // Letters, digits, ".", "_" and "-": a label that can name nothing but its own record and
    // means nothing to a shell.
    static bool isValidLabel(const std::string& label);
    static std::string folder();
    // "" for a label that is not valid.
    static std::string pathFor(const std::string& label);
    // The record of a label, only when root or this process's user wrote it (a regular file of
    // theirs that nobody else may write); nullopt otherwise.
    static std::optional<LaunchJobRecord> read(const std::string& label);
    bool write() const;

    // Whether the job was loaded from exactly this file: the same path and the same file.
    bool loadedFrom(const std::string& jobPath, const LaunchJobFile& file) const;
    // Whether its supervisor still runs.
    bool loaded() const;
    // Whether a job runs from exactly the job file at `jobPath` (read without following a link at
    // its end), whoever loaded it: its record is loaded, or its supervisor is still the process that
    // wrote the record (which another user can tell but not signal).
    static bool runsFrom(const std::string& jobPath);
    // The same for a job file already read from `jobPath`.
    static bool runsFrom(const std::string& jobPath, const LaunchJobFile& file);
    // A handle on the supervisor, opened only when its pid still names the process that wrote the
    // record: the same start time, or for an older record without one, a process of launchctl's
    // name. Invalid otherwise; the one way to signal it.
    process::ProcessHandle supervisorHandle() const;
};

}  // namespace platform
