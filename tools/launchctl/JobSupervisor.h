#pragma once

#include "platform/LaunchJobFile.h"
#include "platform/PropertyList.h"

#include <map>
#include <string>
#include <vector>

// A launchd job as this launchctl runs it: a supervisor process, detached from the caller, that
// starts the job's program and starts it again as KeepAlive asks. The job is recorded by label, with
// who loaded it and from which file (platform::LaunchJobRecord).
class JobSupervisor {
public:
    struct Job {
        std::string label;
        std::vector<std::string> arguments;
        bool keepAliveAlways = false;
        bool restartOnFailure = false;  // KeepAlive {SuccessfulExit = false}
        std::string standardOut;
        std::string standardError;
        std::map<std::string, std::string> environment;  // EnvironmentVariables
        // The file it was read from.
        std::string path;
        dev_t device = 0;
        ino_t inode = 0;
    };

    // nullopt with a reason for a job file launchctl would not load.
    static std::optional<Job> read(const std::string& jobPath, std::string& why);
    static std::string recordPath(const std::string& label);
    // The supervisor's pid when the job is loaded and its supervisor alive; 0 otherwise.
    static int loadedSupervisor(const std::string& label);
    // Whether the job of this label was loaded from this very file (same path, same file).
    static bool loadedFrom(const Job& job);

    // Starts the supervisor and returns once it has recorded the job; false when it could not.
    static bool start(const Job& job);
    // Stops the supervisor (and so the program) and forgets the job. A record whose supervisor is
    // gone is forgotten and nothing is signalled: its pid may name another process by now.
    static bool stop(const std::string& label);
};
