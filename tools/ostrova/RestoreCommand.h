#pragma once

#include "tools/ostrova/CommandLine.h"

// `ostrova restore --list` shows the removal records, newest first; `ostrova restore (--last | ID)
// [--dry-run] [--yes]` puts a recorded removal back from the Trash (through the daemon where the
// user's rights do not reach), asking on a terminal first. Returns the exit code: 0 when every
// item went back (or a dry run, or nothing was in the Trash), 1 when something could not, 2 for a
// bad call.
class RestoreCommand {
public:
    static int run(const CommandLine& line);
};
