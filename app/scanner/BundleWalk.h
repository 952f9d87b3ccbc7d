#pragma once

#include <chrono>
#include <string>
#include <vector>

class StopToken;

// Finds the application bundles below some folders, as the system's search index would know them:
// every .app no deeper than its folder's level (links not followed, not into the user's Trash, not
// onto another volume than the folder's), and the applications inside each (helpers, login items,
// the bundle a wrapped iPhone or iPad application holds). Touches nothing but the file system, so it
// may run beside a scan on another thread.
class BundleWalk {
public:
    struct Root {
        std::string path;
        int depth = kDepth;    // how many levels of folders below it are looked into
        bool plugIns = false;  // every folder at its top is a bundle too (a plug-in folder's)
    };
    struct Found {
        std::vector<std::string> bundles;  // outer ones before the applications inside them
        bool complete = true;              // false when the walk ran out of time or was stopped
    };
    static constexpr int kDepth = 10;

    // The folders the remains of gone applications are checked against, the quick ones first:
    // /Applications and every mounted volume's (deeper than discovery goes), the plug-in folders
    // (the plug-ins and the updaters inside them), /Users/Shared, /Library/Application Support
    // (a few levels) and the home.
    static std::vector<Root> defaultRoots();

    // What it found, and whether it looked everywhere: once `deadline` has passed or `stop` (may be
    // null) says stop, what it found so far, not complete.
    static Found bundlesUnder(const std::vector<Root>& roots, std::chrono::steady_clock::time_point deadline,
                              const StopToken* stop);

private:
    static void addInnerApplications(const std::string& bundle, std::vector<std::string>& found);
};
