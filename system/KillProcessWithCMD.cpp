#include "system/KillProcessWithCMD.h"

#include <csignal>

bool KillProcessWithCMD::KillPinnedProcess(const platform::process::ProcessHandle& process)
{
    return process.signal(SIGKILL);
}
