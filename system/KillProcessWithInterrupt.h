#pragma once

#include "system/KillProcessProtocol.h"

// SIGINT.
class KillProcessWithInterrupt : public KillProcessProtocol {
public:
    bool KillPinnedProcess(const platform::process::ProcessHandle& process) override;
};
