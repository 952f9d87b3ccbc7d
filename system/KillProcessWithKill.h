#pragma once

#include "system/KillProcessProtocol.h"

// SIGKILL.
class KillProcessWithKill : public KillProcessProtocol {
public:
    bool KillProcess(int pid) override;
};
