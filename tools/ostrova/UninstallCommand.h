#pragma once

#include "tools/ostrova/CommandLine.h"

// `ostrova uninstall`: ticks every related item of the named applications (narrowed by --only and
// --keep), shows what it will remove, asks (or takes --yes), quits running applications when told
// to, removes through the same engine as the app, and reports what was removed and what is left.
// Exit status: 0 when nothing is left over, 1 when something is, 2 for a bad call.
class UninstallCommand {
public:
    static int run(const CommandLine& line);
};
