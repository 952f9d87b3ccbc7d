#include "tools/ostrova/UninstallCommand.h"

#include "app/catalogue/UninstallAppManager.h"
#include "tools/ostrova/ChosenAppsScan.h"
#include "tools/ostrova/RemovalRun.h"


#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <iostream>
#include <mutex>
#include <set>

namespace {

std::optional<std::set<RkUninstallCategoryType>> categories(const std::vector<std::string>& names, std::string& bad)
{
    std::set<RkUninstallCategoryType> found;
    for (const auto& name : names) {
        RkUninstallCategoryType type{};
        if (!categoryFromCaseName(name, type)) {
            bad = name;
            return std::nullopt;
        }
        found.insert(type);
    }
    return found;
}

}  // namespace

int UninstallCommand::run(const CommandLine& line)
{
    if (line.operands.empty()) {
        std::cerr << "ostrova: uninstall needs an application\n";
        return 2;
    }
    std::string bad;
    const auto only = categories(line.optionValues("--only"), bad);
    const auto keep = only ? categories(line.optionValues("--keep"), bad) : std::nullopt;
    if (!only || !keep) {
        std::cerr << "ostrova: '" << bad << "' is not a category (bundle, support, cache, preference, state, "
                  << "crashReporter, log, Sandbox, daemon, loginItem, other, cookies)\n";
        return 2;
    }
    bool interactive = false;
    if (!RemovalRun::mayProceed(line, interactive))
        return 2;

    const auto manager = ChosenAppsScan::forRemoval(line.operands, "remove");
    if (!manager)
        return 1;
    const auto chosen = manager->allApps();

    // Every item ticked, as the application's check box does, then narrowed.
    for (const auto& app : chosen) {
        app->setSelectionState(kSelectionOn);
        for (const auto& group : app->fileGroups) {
            const bool wanted = (only->empty() || only->count(group->type)) && !keep->count(group->type);
            group->setSelectionState(wanted ? kSelectionOn : kSelectionOff);
        }
    }
    return RemovalRun::ofTicked(chosen, line, interactive).run(*manager);
}
