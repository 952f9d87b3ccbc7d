#pragma once

#include "system/KillProcessProtocol.h"

// "kill -9 PID" through the shell, twice. Answers whether the last run succeeded.
class KillProcessWithCMD : public KillProcessProtocol {
public:
    bool KillProcess(int pid) override;
};
