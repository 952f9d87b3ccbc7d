#include "system/KillProcessWithCMD.h"

#include <cstdlib>
#include <string>

bool KillProcessWithCMD::KillProcess(int pid)
{
    if (pid <= 0)
        return false;
    const std::string command = std::string("kill") + " " + "-9" + " " + std::to_string(pid);
    std::system(command.c_str());
    return std::system(command.c_str()) == 0;
}
