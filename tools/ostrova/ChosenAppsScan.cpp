#include "tools/ostrova/ChosenAppsScan.h"

#include "app/catalogue/UninstallAppManager.h"
#include "tools/ostrova/AppSelector.h"
#include "tools/ostrova/ScanProgress.h"

#include <unistd.h>

#include <iostream>

std::shared_ptr<UninstallAppManager> ChosenAppsScan::run(const std::vector<std::string>& words, bool all, bool showsProgress)
{
    const auto catalogue = UninstallAppManager::make();
    catalogue->discoverApps();
    std::vector<std::string> unknown;
    const auto chosen = all ? catalogue->allApps : AppSelector(catalogue->allApps).select(words, unknown);
    for (const auto& word : unknown)
        std::cerr << "ostrova: no installed application is named '" << word << "'\n";
    if (!unknown.empty())
        return nullptr;

    const auto scanner = UninstallAppManager::make();
    scanner->scanOnly(chosen, catalogue->allApps);
    scanner->findsRemains = false;
    // The delegate is held weakly: the progress lives as long as the scan.
    const auto progress = std::make_shared<ScanProgress>(chosen.size(), showsProgress && ::isatty(STDERR_FILENO) == 1);
    scanner->delegate = progress;
    scanner->runScanLoop();
    scanner->delegate.reset();
    return scanner;
}
