#pragma once

#include <string>

// The user's own launch service, for the user's own agents: a job file inside the user's home is
// loaded and unloaded with the user's own rights, without the daemon. Where that fails (a job root
// loaded), the daemon is the way left.
class OwnLaunchService {
public:
    // True for a regular job file (not a link) inside the user's home.
    static bool serves(const std::string& jobPath);
    // `launchctl load|unload <jobPath>` as this user, no shell; true when launchctl succeeded.
    static bool load(const std::string& jobPath);
    static bool unload(const std::string& jobPath);
};
