#pragma once

#include "system/KillProcessProtocol.h"

// What "kill -9 PID" did, without the shell (which looked the pid up again): SIGKILL.
class KillProcessWithCMD : public KillProcessProtocol {
public:
    bool KillPinnedProcess(const platform::process::ProcessHandle& process) override;
};
