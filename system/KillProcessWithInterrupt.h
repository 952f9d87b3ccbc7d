#pragma once

#include "system/KillProcessProtocol.h"

// SIGINT.
class KillProcessWithInterrupt : public KillProcessProtocol {
public:
    bool KillProcess(int pid) override;
};
