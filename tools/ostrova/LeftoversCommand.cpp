#include "tools/ostrova/LeftoversCommand.h"

#include "app/catalogue/UninstallAppManager.h"
#include "platform/BundleIdentifier.h"
#include "platform/PathUtil.h"
#include "tools/ostrova/AppReport.h"
#include "tools/ostrova/RemovalRun.h"


#include <algorithm>
#include <iostream>

namespace {

// The whole catalogue is scanned first: what an installed application is offered is never a remain.
std::shared_ptr<UninstallAppManager> scannedCatalogue()
{
    const auto manager = UninstallAppManager::make();
    manager->discoverApps();
    manager->scanAndFindRemains();
    return manager;
}

}  // namespace

std::vector<std::shared_ptr<UninstallApp>> LeftoversCommand::choose(const std::vector<std::shared_ptr<UninstallApp>>& gone,
                                                                    const CommandLine& line, bool& unknown)
{
    std::vector<std::shared_ptr<UninstallApp>> chosen;
    if (line.has("--all")) {
        // Remains that a copy the search did not reach may still use are taken only when named.
        std::size_t uncertain = 0;
        for (const auto& app : gone) {
            if (app->remainsCertain)
                chosen.push_back(app);
            else
                ++uncertain;
        }
        if (uncertain > 0)
            std::cerr << "ostrova: left the remains of " << uncertain << (uncertain == 1 ? " gone application" : " gone applications")
                      << " marked not sure (the search for installed copies ran out of time); name "
                      << (uncertain == 1 ? "it" : "them") << " to remove " << (uncertain == 1 ? "it" : "them") << "\n";
        return chosen;
    }
    for (const auto& word : line.operands) {
        const auto it = std::find_if(gone.begin(), gone.end(), [&](const auto& app) {
            return BundleIdentifier::same(app->bundleIdentifier(), word);
        });
        if (it == gone.end()) {
            std::cerr << "ostrova: no remains of a gone application '" << word << "'\n";
            unknown = true;
        } else if (std::find(chosen.begin(), chosen.end(), *it) == chosen.end()) {
            chosen.push_back(*it);
        }
    }
    return chosen;
}

int LeftoversCommand::run(const CommandLine& line)
{
    const bool removing = line.has("--remove") || line.has("--all");
    if (!removing) {
        for (const char* removalFlag : {"--yes", "--dry-run", "--delete"}) {
            if (line.has(removalFlag)) {
                std::cerr << "ostrova: leftovers does not take " << removalFlag << " without --remove ID... or --all\n";
                return 2;
            }
        }
        if (!line.operands.empty()) {
            std::cerr << "ostrova: leftovers lists them; to remove some, use --remove ID... or --all\n";
            return 2;
        }
        const auto manager = scannedCatalogue();
        const auto gone = manager->goneApps();
        std::cout << (line.has("--json") ? AppReport::leftoversJson(gone) : AppReport::scanText(gone));
        return 0;
    }
    if (line.has("--all") == !line.operands.empty() || (line.has("--all") && line.has("--remove"))) {
        std::cerr << "ostrova: leftovers takes --remove ID... or --all\n";
        return 2;
    }
    bool interactive = false;
    if (!RemovalRun::mayProceed(line, interactive))
        return 2;

    const auto manager = scannedCatalogue();
    bool unknown = false;
    const auto chosen = choose(manager->goneApps(), line, unknown);
    if (unknown)
        return 1;

    for (const auto& app : chosen)
        app->setSelectionState(kSelectionOn);
    return RemovalRun::ofTicked(chosen, line, interactive).run(*manager);
}
