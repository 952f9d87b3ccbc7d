#pragma once

#include "platform/BundleIdentifier.h"

#include <set>
#include <string>
#include <vector>

class UninstallApp;

// The last look at a gone application's remains before they are taken: the Mac may have changed
// since they were judged (the application installed again by an updater, a file replaced), and
// what is no longer the application's, or no longer the file judged, stays.
class RemainsRecheck {
public:
    struct Kept {
        std::vector<std::string> installed;
        std::vector<std::string> replaced;
    };

    // The identifiers, in lower case, of the applications installed now (discovery's bundles).
    static std::set<BundleIdentifier> installedIdentifiers();

    // Unticks the ticked items of `app` (a gone application's record) that stay: every one when
    // `installed` holds its identifier, else each at whose path another file lies than the one the
    // scan noted (device and inode; an item without them is not compared, a missing one is
    // nothing to take). Returns what stays, by reason.
    static Kept apply(UninstallApp& app, const std::set<BundleIdentifier>& installed);
};
