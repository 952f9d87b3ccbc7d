#include "system/KillProcessWithKill.h"

#include <csignal>

bool KillProcessWithKill::KillPinnedProcess(const platform::process::ProcessHandle& process)
{
    return process.signal(SIGKILL);
}
