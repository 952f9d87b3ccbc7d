#pragma once

#include <string>

// Whether a program runs from inside a bundle: an application dragged to the Trash while it runs
// keeps running from there, and what it keeps writing must not be taken from under it.
class RunningBundle {
public:
    // True when a process the caller may look at runs an executable at or below `bundlePath`
    // (followed to where the bundle has moved since it started).
    static bool runsFrom(const std::string& bundlePath);
};
