#include "tools/ostrova/ChosenAppsScan.h"

#include "app/catalogue/UninstallAppManager.h"
#include "tools/ostrova/AppSelector.h"
#include "tools/ostrova/ExcludeCommand.h"
#include "tools/ostrova/ScanProgress.h"

#include <unistd.h>

#include <iostream>

std::shared_ptr<UninstallAppManager> ChosenAppsScan::run(const std::vector<std::string>& words, bool all, bool showsProgress)
{
    const auto catalogue = UninstallAppManager::make();
    catalogue->discoverApps();
    const auto installed = catalogue->allApps();
    std::vector<std::string> unknown;
    const auto chosen = all ? installed : AppSelector(installed).select(words, unknown);
    for (const auto& word : unknown)
        std::cerr << "ostrova: no installed application is named '" << word << "'\n";
    if (!unknown.empty())
        return nullptr;

    catalogue->scanOnly(chosen);
    catalogue->setFindsRemains(false);
    // The delegate is held weakly: the progress lives as long as the scan.
    const auto progress = std::make_shared<ScanProgress>(chosen.size(), showsProgress && ::isatty(STDERR_FILENO) == 1);
    catalogue->setDelegate(progress);
    catalogue->runScanLoop();
    catalogue->setDelegate({});
    return catalogue;
}

std::shared_ptr<UninstallAppManager> ChosenAppsScan::forRemoval(const std::vector<std::string>& words, const std::string& doing)
{
    for (const auto& word : words) {
        if (ExcludeCommand::namesOstrova(word)) {
            std::cerr << "ostrova: Ostrova does not " << doing << " itself\n";
            return nullptr;
        }
    }
    auto manager = run(words, false, false);
    if (!manager || !ExcludeCommand::refusesProtected(manager->allApps()))
        return nullptr;
    return manager;
}
