#pragma once

#include <sys/types.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

// A file as the kernel knows it: device and inode.
using FileIdentity = std::pair<dev_t, ino_t>;

// What the agent keeps of an application bundle while it can still read it.
struct ShelvedApplication {
    std::string identifier;
    std::string displayName;
    std::string iconPath;  // "" when the bundle names no icon file
    std::string bundlePath;
    // The bundle folder's: the same folder found elsewhere was moved there as a whole.
    FileIdentity identity{};
};

// What lies directly in one folder: its application bundles, and the plain folders beside them
// (neither bundles nor other packages, not links) in which more applications may lie.
class FolderApplications {
public:
    // By bundle path; bundles without an identifier are left out.
    std::map<std::string, ShelvedApplication> applications;
    std::vector<std::string> folders;
    // Bundles whose identifier cannot be read (yet: a copy may still be writing its Info.plist).
    std::vector<std::string> unreadable;

    // Empty when the folder cannot be listed.
    static FolderApplications list(const std::string& folder);
};
