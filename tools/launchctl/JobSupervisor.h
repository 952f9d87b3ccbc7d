#pragma once

#include "platform/PropertyList.h"

#include <string>
#include <vector>

// A launchd job as this launchctl runs it: a supervisor process, detached from the caller, that
// starts the job's program and starts it again as KeepAlive asks. The job is recorded by label in
// the run folder of the system root (<root>/var/run/launchd/<Label>.job).
class JobSupervisor {
public:
    struct Job {
        std::string label;
        std::vector<std::string> arguments;
        bool keepAliveAlways = false;
        bool restartOnFailure = false;  // KeepAlive {SuccessfulExit = false}
        std::string standardOut;
        std::string standardError;
    };

    // nullopt with a reason for a job file launchctl would not load.
    static std::optional<Job> read(const std::string& jobPath, std::string& why);
    static std::string recordPath(const std::string& label);
    // The supervisor's pid when the job is loaded and its supervisor alive; 0 otherwise.
    static int loadedSupervisor(const std::string& label);

    // Starts the supervisor and returns once it has recorded the job; false when it could not.
    static bool start(const Job& job, const std::string& jobPath);
    // Stops the supervisor (and so the program) and forgets the job.
    static bool stop(const std::string& label);
};
