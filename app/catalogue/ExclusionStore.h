#pragma once

#include "app/scanner/Exclusions.h"

#include <string>
#include <vector>

// The exclusions in the application's user defaults ("com.qzt.ostrova"), the one place the window,
// the tool and the agent share: "ExcludedItems", a list of { "Path", "Application" } (the
// application's bundle identifier; none for every application), and "ProtectedApplications", a
// list of bundle identifiers (or bundle paths). Every call reads the store afresh.
class ExclusionStore {
public:
    // The store as far as it is sound. Each entry left out (not a list, not a dictionary, no
    // absolute path, not a text, the defaults file unreadable) is described in `dropped`.
    static Exclusions load(std::vector<std::string>* dropped = nullptr);

    // Adds the path (as given) for `application` ("" for every application); true when stored,
    // also when it was there already.
    static bool add(const std::string& path, const std::string& application);
    // Removes every entry of that path, compared as the exclusions compare paths; false when there
    // was none (or the store could not be written).
    static bool remove(const std::string& path);
    // Protects, or stops protecting, an application by its identifier (or bundle path). Ostrova's
    // own cannot be unprotected: false.
    static bool protect(const std::string& identifierOrBundle);
    static bool unprotect(const std::string& identifierOrBundle);
};
