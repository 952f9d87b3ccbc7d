#pragma once

#include "tools/ostrova/CommandLine.h"

#include "app/records/UninstallApp.h"

#include <memory>
#include <string>
#include <vector>

// `ostrova exclude list [--json] | add [--app APP] PATH... | remove PATH... | protect APP... |
// unprotect APP...`: what is never offered, kept in the application's user defaults. Entries of
// the store that are not sound are named on standard error by every command that reads it.
// Returns the exit code: 0 done, 1 something not done (or, for list, entries dropped), 2 bad call.
class ExcludeCommand {
public:
    static int run(const CommandLine& line);

    // Whether a word a user types names Ostrova itself: its name, one of its identifiers or its
    // bundle's path.
    static bool namesOstrova(const std::string& word);
    // The store read, each dropped entry said on standard error.
    static void reportDropped();
    // False, after naming each on standard error, when any of the applications is protected.
    static bool refusesProtected(const std::vector<std::shared_ptr<UninstallApp>>& apps);
};
