#include "tools/ostrova/ResetCommand.h"

#include "app/catalogue/UninstallAppManager.h"
#include "tools/ostrova/ChosenAppsScan.h"
#include "tools/ostrova/ExcludeCommand.h"
#include "tools/ostrova/RemovalRun.h"

#include <unistd.h>

#include <iostream>

int ResetCommand::run(const CommandLine& line)
{
    if (line.operands.empty()) {
        std::cerr << "ostrova: reset needs an application\n";
        return 2;
    }
    const bool interactive = ::isatty(STDIN_FILENO) == 1;
    if (!line.has("--yes") && !line.has("--dry-run") && !interactive) {
        std::cerr << "ostrova: not removing anything without --yes when no one can be asked\n";
        return 2;
    }
    for (const auto& word : line.operands) {
        if (ExcludeCommand::namesOstrova(word)) {
            std::cerr << "ostrova: Ostrova does not reset itself\n";
            return 1;
        }
    }
    const auto manager = ChosenAppsScan::run(line.operands, false, false);
    if (!manager)
        return 1;
    const auto chosen = manager->allApps();
    if (!ExcludeCommand::refusesProtected(chosen))
        return 1;
    for (const auto& app : chosen)
        UninstallAppManager::selectForReset(*app);
    auto removal = RemovalRun::ofTicked(chosen, line, interactive);
    removal.forceQuit = true;
    removal.keepsBundle = true;
    return removal.run(*manager);
}
