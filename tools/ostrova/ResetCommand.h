#pragma once

#include "tools/ostrova/CommandLine.h"

// `ostrova reset [--yes] [--dry-run] [--delete] APP...`: takes every related item of the
// applications but the bundle (and what lies inside it), as at their first launch, quitting them
// first when they run: into the Trash with a record `ostrova restore` undoes, or deleted with
// --delete. A protected application is refused before anything happens. Returns the exit code:
// 0 done, 1 something left, refused or not agreed to, 2 a bad call.
class ResetCommand {
public:
    static int run(const CommandLine& line);
};
