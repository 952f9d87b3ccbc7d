#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class UninstallApp;
class UninstallAppManager;
struct CommandLine;

// The part of `uninstall` and `leftovers --remove` after the choice: lists what will go, stops
// there for a dry run, asks unless told yes, removes the chosen applications' ticked items with the
// catalogue's engine (the daemon made sure of outside the sandbox): into the Trash with a record
// `ostrova restore` can undo, or deleted with --delete; then says what went and what is left. Returns the exit code: 0 when everything went (or nothing was to go), 1 when something is
// left or the user said no.
struct RemovalRun {
    // The run of `chosen` as ticked now (their ticked items and bytes), with the command line's
    // --dry-run, --yes, --delete and --force-quit.
    static RemovalRun ofTicked(std::vector<std::shared_ptr<UninstallApp>> chosen, const CommandLine& line, bool interactive);
    // Whether a removal may go on: someone at a terminal to ask, or --yes or --dry-run given
    // (otherwise it says so on standard error). `interactive` tells whether someone can be asked.
    static bool mayProceed(const CommandLine& line, bool& interactive);

    std::vector<std::shared_ptr<UninstallApp>> chosen;
    std::vector<std::string> selected;  // the ticked items' paths
    std::int64_t bytes = 0;
    bool dryRun = false;
    bool yes = false;
    bool forceQuit = false;
    bool interactive = false;
    // Delete at once instead of moving to the Trash (and delete what no Trash can take).
    bool deleteNow = false;
    // A reset: the applications' bundles stay, and the listing and report say so.
    bool keepsBundle = false;

    int run(UninstallAppManager& manager) const;
};
