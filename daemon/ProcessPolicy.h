#pragma once

#include "system/RkProcessInfo.h"

#include <sys/types.h>

#include <functional>
#include <string>

// Which processes a client may have the daemon end. Nobody may end the daemon, its launchctl
// supervisor or any process running a program of the daemon's own bundle (the app among them);
// a process of another user only a client that holds the right to end other users' processes.
class ProcessPolicy {
public:
    explicit ProcessPolicy(const std::string& ownBundle);

    // `mayEndOthers` is asked only for a process of another user (it may show a password prompt).
    bool mayEnd(const RkProcessInfo& process, uid_t client, const std::function<bool(std::string& why)>& mayEndOthers,
                std::string& why) const;
    // The daemon's own bundle, in any spelling or through any link.
    bool isOwnBundle(const std::string& bundlePath) const;

private:
    std::string ownBundle_;
    dev_t device_ = 0;
    ino_t inode_ = 0;
};
