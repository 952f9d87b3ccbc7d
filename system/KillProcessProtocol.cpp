#include "system/KillProcessProtocol.h"

#include "system/ProcessManager.h"

bool KillProcessProtocol::KillProcess(const RkProcessInfo& process)
{
    const auto pinned = ProcessManager::pin(process);
    return pinned.valid() && KillPinnedProcess(pinned);
}
