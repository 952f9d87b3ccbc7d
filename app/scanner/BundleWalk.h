#pragma once

#include <chrono>
#include <string>
#include <vector>

class StopToken;

// Finds the application bundles below some folders, as the system's search index would know them:
// every .app no deeper than a given level (links not followed, not into the user's Trash, not onto
// another volume than the folder's), and the applications inside each (helpers, login items).
// Touches nothing but the file system, so it may run beside a scan on another thread.
class BundleWalk {
public:
    // The folders the remains of gone applications are checked against: the home, /Applications
    // (deeper than discovery goes) and /Users/Shared.
    static std::vector<std::string> defaultRoots();

    // The bundles' paths, outer ones before the applications inside them; what it found so far
    // once `deadline` has passed or `stop` (may be null) says stop.
    static std::vector<std::string> bundlesUnder(const std::vector<std::string>& roots, int depth,
                                                 std::chrono::steady_clock::time_point deadline, const StopToken* stop);

private:
    static void addInnerApplications(const std::string& bundle, std::vector<std::string>& found);
};
