// launchctl for this platform: load and unload launchd jobs of the system root.
//   launchctl load [-w] JOB.plist     starts the job (as KeepAlive asks) and records it by Label
//   launchctl unload [-w] JOB.plist   stops the job loaded from that very file and forgets it; a job
//                                     not loaded from it is not stopped, and that is no failure
//   launchctl remove LABEL            stops the job of that label, whatever file it came from
#include "platform/LaunchJobRecord.h"
#include "tools/launchctl/JobSupervisor.h"

#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

namespace {

int usage()
{
    std::fprintf(stderr, "usage: launchctl load [-w] <path>\n       launchctl unload [-w] <path>\n       launchctl remove <label>\n");
    return 64;
}

}  // namespace

int main(int argc, char** argv)
{
    std::signal(SIGPIPE, SIG_IGN);
    if (argc < 2)
        return usage();
    const std::string verb = argv[1];
    std::vector<std::string> paths;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "-w" || arg == "-F")
            continue;
        paths.push_back(arg);
    }
    if ((verb != "load" && verb != "unload" && verb != "remove") || paths.empty())
        return usage();
    if (verb == "remove") {
        int status = 0;
        for (const auto& label : paths) {
            if (!platform::LaunchJobRecord::isValidLabel(label) || !JobSupervisor::stop(label)) {
                std::fprintf(stderr, "%s: Could not find specified service\n", label.c_str());
                status = 113;
            }
        }
        return status;
    }

    int status = 0;
    for (const auto& path : paths) {
        std::string why;
        const auto job = JobSupervisor::read(path, why);
        if (!job) {
            std::fprintf(stderr, "%s: %s\n", path.c_str(), why.c_str());
            status = 1;
            continue;
        }
        if (verb == "load") {
            if (JobSupervisor::loadedSupervisor(job->label)) {
                std::fprintf(stderr, "%s: service already loaded\n", path.c_str());
                continue;
            }
            if (!JobSupervisor::start(*job)) {
                std::fprintf(stderr, "Load failed: 5: Input/output error\n");
                status = 5;
            }
        } else if (!JobSupervisor::loadedFrom(*job)) {
            // Not loaded (from this file): there is nothing to stop, which is what was asked.
            std::fprintf(stderr, "%s: Could not find specified service (not loaded)\n", path.c_str());
        } else if (!JobSupervisor::stop(job->label)) {
            std::fprintf(stderr, "%s: Unload failed: 5: Input/output error\n", path.c_str());
            status = 5;
        }
    }
    return status;
}
