#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class UninstallApp;

// An application the user took away that left data behind, as the agent reports it.
struct RemovedApplication {
    std::string identifier;
    std::string displayName;
    std::string iconPath;
    // Where its bundle lies now (in the Trash), or lay; "" when not known.
    std::string bundlePath;
    // What it left, and the bytes of all of it.
    std::vector<std::string> remains;
    std::int64_t remainsSize = 0;
    // The catalogue's record of what it left, as scanned when it was judged; what removes the
    // remains works on it.
    std::shared_ptr<UninstallApp> remainsOf;
};
