#include "platform/AppleScriptTask.h"

#include <unistd.h>

// Administrator rights for a shell command through polkit's pkexec.
namespace platform {

std::vector<std::string> AppleScriptTask::administratorLauncher()
{
    static const char* const pkexec = "/usr/bin/pkexec";
    if (::access(pkexec, X_OK) != 0)
        return {};
    return {pkexec};
}

bool AppleScriptTask::administratorDeclined(int exitCode)
{
    // 126 when the user dismissed the dialog, 127 when no one could be asked.
    return exitCode == 126 || exitCode == 127;
}

}  // namespace platform
