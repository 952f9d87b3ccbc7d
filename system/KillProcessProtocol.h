#pragma once

// One way of ending a process. Stateless; any thread.
class KillProcessProtocol {
public:
    virtual ~KillProcessProtocol() = default;
    virtual bool KillProcess(int pid) = 0;
};
