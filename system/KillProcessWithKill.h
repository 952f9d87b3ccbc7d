#pragma once

#include "system/KillProcessProtocol.h"

// SIGKILL.
class KillProcessWithKill : public KillProcessProtocol {
public:
    bool KillPinnedProcess(const platform::process::ProcessHandle& process) override;
};
