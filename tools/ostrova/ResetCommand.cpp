#include "tools/ostrova/ResetCommand.h"

#include "app/catalogue/UninstallAppManager.h"
#include "tools/ostrova/ChosenAppsScan.h"
#include "tools/ostrova/RemovalRun.h"


#include <iostream>

int ResetCommand::run(const CommandLine& line)
{
    if (line.operands.empty()) {
        std::cerr << "ostrova: reset needs an application\n";
        return 2;
    }
    bool interactive = false;
    if (!RemovalRun::mayProceed(line, interactive))
        return 2;
    const auto manager = ChosenAppsScan::forRemoval(line.operands, "reset");
    if (!manager)
        return 1;
    const auto chosen = manager->allApps();
    for (const auto& app : chosen)
        UninstallAppManager::selectForReset(*app);
    auto removal = RemovalRun::ofTicked(chosen, line, interactive);
    removal.forceQuit = true;
    removal.keepsBundle = true;
    return removal.run(*manager);
}
