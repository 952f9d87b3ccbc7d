#pragma once

#include "agent/RemovedApplication.h"

#include <vector>

// Decides which applications that went from their folders are really gone and what they left.
class RemainsJudge {
public:
    // Of `candidates` (identifier, name and icon filled), those that are not the system's or
    // Ostrova's, of which no copy is installed and that left something behind, with their remains.
    // Discovers and scans the whole catalogue on the calling thread: call it off the main thread.
    // Candidates whose bundle still runs a program (from the Trash) are not judged: they go to
    // `stillRunning` when given, to be judged once they have quit.
    static std::vector<RemovedApplication> judge(const std::vector<RemovedApplication>& candidates,
                                                 std::vector<RemovedApplication>* stillRunning = nullptr);
};
