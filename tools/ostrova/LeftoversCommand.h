#pragma once

#include "tools/ostrova/CommandLine.h"

// `ostrova leftovers`: lists the remains of applications that are gone (text, or JSON with
// --json); with --remove ID... or --all, ticks every remain of those applications, shows them,
// asks (or takes --yes) and removes them through the same engine as `uninstall`.
// Exit status: 0 when nothing is left over, 1 when something is or an identifier names no gone
// application, 2 for a bad call.
class LeftoversCommand {
public:
    static int run(const CommandLine& line);
};
