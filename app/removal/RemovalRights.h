#pragma once

#include <memory>
#include <string>
#include <vector>

class UninstallApp;

// What the ticked items of a removal need beyond this process's own rights, decided before anything
// is removed, so that the daemon is made sure of (on a Mac: an administrator asked to install it)
// only when an item needs it, and the items that need an administrator's password are shown first.
class RemovalRights {
public:
    enum class Need {
        none,           // this process moves it itself
        daemon,         // through the daemon, within the user's own places (no password)
        administrator,  // through the daemon, beyond the user's own places: the administrator's right
    };

    // Whether this process may rename the item at `path` (canonical) out of its folder: the folder
    // writable and searchable, not sticky unless the item or the folder is this user's, and a folder
    // item writable (its ".." changes with a move).
    static bool mayMoveItself(const std::string& path);

    // The need of the item at `path`: a launch job is unloaded through the daemon; any other item
    // needs it when this process may not move it: its folder not writable and searchable, another
    // user's item in a sticky folder of someone else, or a folder the process may not change (its
    // ".." changes with a move). `home`: the real home of the user the removal acts for.
    static Need of(const std::string& path, bool launchJob, const std::string& home);

    struct Summary {
        std::vector<std::string> throughDaemon;  // every ticked item that needs the daemon
        std::vector<std::string> administrator;  // those of them that need the administrator's right
        bool needsDaemon() const { return !throughDaemon.empty(); }
    };
    // The ticked items of `apps` that still exist, judged for this process's user and real home.
    static Summary ofTicked(const std::vector<std::shared_ptr<UninstallApp>>& apps);
};
