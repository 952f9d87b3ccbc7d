#include "agent/RunningBundle.h"

#include "platform/PathUtil.h"
#include "platform/ProcessTable.h"

#include <climits>
#include <cstdlib>

bool RunningBundle::runsFrom(const std::string& bundlePath)
{
    if (bundlePath.empty())
        return false;
    // The kernel names a program by its resolved path.
    char resolved[PATH_MAX];
    if (::realpath(bundlePath.c_str(), resolved) == nullptr)
        return false;
    const std::string folder = std::string(resolved) + "/";
    for (const pid_t pid : platform::ProcessTable::allPids()) {
        const auto executable = platform::ProcessTable::executablePath(pid);
        if (executable && platform::path::startsWith(*executable, folder))
            return true;
    }
    return false;
}
