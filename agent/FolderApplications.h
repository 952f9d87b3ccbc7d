#pragma once

#include <map>
#include <string>

// What the agent keeps of an application bundle while it can still read it.
struct ShelvedApplication {
    std::string identifier;
    std::string displayName;
    std::string iconPath;  // "" when the bundle names no icon file
    std::string bundlePath;
};

// The application bundles lying directly in one folder.
class FolderApplications {
public:
    // By bundle path; bundles without an identifier are left out, and so is everything when the
    // folder cannot be listed.
    static std::map<std::string, ShelvedApplication> list(const std::string& folder);
};
