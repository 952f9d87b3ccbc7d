#include "system/KillProcessWithInterrupt.h"

#include <csignal>

bool KillProcessWithInterrupt::KillPinnedProcess(const platform::process::ProcessHandle& process)
{
    return process.signal(SIGINT);
}
