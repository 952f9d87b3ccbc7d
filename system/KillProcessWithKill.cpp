#include "system/KillProcessWithKill.h"

#include <csignal>

bool KillProcessWithKill::KillProcess(int pid)
{
    return pid > 0 && ::kill(pid, SIGKILL) == 0;
}
