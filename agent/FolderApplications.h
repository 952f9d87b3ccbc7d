#pragma once

#include <map>
#include <string>
#include <vector>

// What the agent keeps of an application bundle while it can still read it.
struct ShelvedApplication {
    std::string identifier;
    std::string displayName;
    std::string iconPath;  // "" when the bundle names no icon file
    std::string bundlePath;
};

// What lies directly in one folder: its application bundles, and the plain folders beside them
// (neither bundles nor other packages, not links) in which more applications may lie.
class FolderApplications {
public:
    // By bundle path; bundles without an identifier are left out.
    std::map<std::string, ShelvedApplication> applications;
    std::vector<std::string> folders;

    // Empty when the folder cannot be listed.
    static FolderApplications list(const std::string& folder);
};
