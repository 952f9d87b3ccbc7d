#pragma once

#include "tools/ostrova/CommandLine.h"

// `ostrova restore --list` shows the removal records, newest first, with what of each is really
// still in the Trash; `ostrova restore (--last | ID) [--dry-run] [--yes]` puts a recorded removal
// back from the Trash (through the daemon where the user's rights do not reach), asking on a
// terminal first. `--last` is the newest removal with something still in the Trash; the newer
// ones are named with why they were skipped. Items that stay away are told by why: deleted, not in
// the Trash; already put back; emptied from the Trash; their places taken. Returns the exit code:
// 0 when something went back (or would, for a dry run) and nothing that could have stayed away,
// 1 when nothing went back, something stayed away or no removal is recorded, 2 for a bad call.
class RestoreCommand {
public:
    static int run(const CommandLine& line);
};
