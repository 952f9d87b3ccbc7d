#pragma once

#include "platform/ProcessIdentity.h"
#include "system/RkProcessInfo.h"

// One way of ending a process. Stateless; any thread.
class KillProcessProtocol {
public:
    virtual ~KillProcessProtocol() = default;
    // Ends the process the record describes, through a handle opened for it and confirmed to be it
    // (ProcessManager::pin); false when its pid has ended or names another process now.
    bool KillProcess(const RkProcessInfo& process);
    // The same through a handle ProcessManager::pin gave.
    virtual bool KillPinnedProcess(const platform::process::ProcessHandle& process) = 0;
};
