#pragma once

#include <string_view>

// Executable names that frameworks and runtimes give every application built on them (Electron,
// NW.js, the JVM's launchers, interpreters, Wine): such a name says nothing of which application
// wrote an entry, so it never claims one alone.
class GenericExecutables {
public:
    // `normalized`: the executable name as the scan normalises names (no spaces, lower case).
    static bool contains(std::string_view normalized);
};
