#pragma once

#include "system/RkProcessInfo.h"

#include <sys/types.h>

#include <string>

// Which processes a client may have the daemon end. Nobody may end the daemon, its launchctl
// supervisor or any process running a program of the daemon's own bundle (the app among them);
// a process of another user only root and administrators may end.
class ProcessPolicy {
public:
    explicit ProcessPolicy(const std::string& ownBundle);

    bool mayEnd(const RkProcessInfo& process, uid_t client, bool administrator, std::string& why) const;
    // The daemon's own bundle, in any spelling or through any link.
    bool isOwnBundle(const std::string& bundlePath) const;

private:
    std::string ownBundle_;
    dev_t device_ = 0;
    ino_t inode_ = 0;
};
