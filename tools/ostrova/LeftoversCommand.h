#pragma once

#include "app/records/UninstallApp.h"
#include "tools/ostrova/CommandLine.h"

#include <memory>
#include <vector>

// `ostrova leftovers`: lists the remains of applications that are gone (text, or JSON with
// --json); with --remove ID... or --all, ticks every remain of those applications, shows them,
// asks (or takes --yes) and removes them through the same engine as `uninstall`.
// Exit status: 0 when nothing is left over, 1 when something is or an identifier names no gone
// application, 2 for a bad call.
class LeftoversCommand {
public:
    static int run(const CommandLine& line);
    // The records of `gone` that --all or the named identifiers take, each once. --all leaves those
    // whose remains are not certain (it says so on stderr); a name that is no gone application's is
    // said on stderr and sets `unknown`.
    static std::vector<std::shared_ptr<UninstallApp>> choose(const std::vector<std::shared_ptr<UninstallApp>>& gone,
                                                             const CommandLine& line, bool& unknown);
};
