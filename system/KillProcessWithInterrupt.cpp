#include "system/KillProcessWithInterrupt.h"

#include <csignal>

bool KillProcessWithInterrupt::KillProcess(int pid)
{
    return pid > 0 && ::kill(pid, SIGINT) == 0;
}
