#pragma once

#include <cstdint>
#include <string>
#include <vector>

// An application the user took away that left data behind, as the agent reports it.
struct RemovedApplication {
    std::string identifier;
    std::string displayName;
    std::string iconPath;
    // What it left, and the bytes of all of it.
    std::vector<std::string> remains;
    std::int64_t remainsSize = 0;
};
