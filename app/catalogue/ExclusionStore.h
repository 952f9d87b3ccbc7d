#pragma once

#include "app/scanner/Exclusions.h"

#include <optional>
#include <string>
#include <vector>

// The exclusions in the application's user defaults ("com.qzt.ostrova"), the one place the window,
// the tool and the agent share: "ExcludedItems", a list of { "Path", "Application" } (the
// application's bundle identifier; none for every application), and "ProtectedApplications", a
// list of bundle identifiers (or bundle paths). Every call reads the store afresh; the changes edit
// the stored lists in place under the defaults' lock, so entries that cannot be read stay there
// for the user to mend, and a defaults file that is no property list is never written over.
class ExclusionStore {
public:
    // The store as far as it is sound. Each entry left out (not a list, not a dictionary, no
    // absolute path, not a text, the defaults file unreadable) is described in `dropped`.
    static Exclusions load(std::vector<std::string>* dropped = nullptr);

    // Adds the path (as given) for `application` ("" for every application); true when stored,
    // also when it was there already.
    static bool add(const std::string& path, const std::string& application);
    // Removes the entries of that path: those written just so, else those of the same place
    // (compared as the exclusions compare paths); only the one for `application` ("" for every
    // application) when it is given. False when there was none (or the store could not be
    // written).
    static bool remove(const std::string& path, std::optional<std::string> application = std::nullopt);
    // Protects, or stops protecting, an application by its identifier (or bundle path). Ostrova's
    // own cannot be unprotected: false.
    static bool protect(const std::string& identifierOrBundle);
    static bool unprotect(const std::string& identifierOrBundle);
};
