#pragma once

#include "agent/RemovedApplication.h"

#include <vector>

// Decides which applications that went from their folders are really gone and what they left.
class RemainsJudge {
public:
    // Of `candidates` (identifier, name and icon filled), those that are not the system's or
    // Ostrova's, of which no copy is installed and that left something behind, with their remains.
    // Discovers and scans the whole catalogue on the calling thread: call it off the main thread.
    static std::vector<RemovedApplication> judge(const std::vector<RemovedApplication>& candidates);
};
