#include "app/removal/OwnLaunchService.h"

#include "app/locations/SearchFilePath.h"
#include "platform/LaunchJobRecord.h"
#include "platform/PathUtil.h"
#include "platform/Subprocess.h"
#include "platform/SystemTools.h"

#include <sys/stat.h>

#include <chrono>

namespace {

bool runLaunchctl(const char* verb, const std::string& jobPath)
{
    const std::string launchctl = platform::tools::launchctl();
    if (launchctl.empty())
        return false;
    platform::Subprocess::Options options;
    options.silenceOtherOutput = true;
    options.timeout = std::chrono::seconds(30);
    const auto run = platform::Subprocess::run({launchctl, verb, jobPath}, options);
    return run.exited && run.exitCode == 0;
}

}  // namespace

bool OwnLaunchService::serves(const std::string& jobPath)
{
    if (!platform::path::isInside(jobPath, SearchFilePath::realHomeDirectory()))
        return false;
    struct stat st {};
    return ::lstat(jobPath.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool OwnLaunchService::load(const std::string& jobPath)
{
    return runLaunchctl("load", jobPath);
}

bool OwnLaunchService::unload(const std::string& jobPath)
{
    // launchctl leaves alone, and quietly, a job that someone else (root) loaded from the file.
    return runLaunchctl("unload", jobPath) && !platform::LaunchJobRecord::runsFrom(jobPath);
}
