#include "tools/ostrova/LeftoversCommand.h"

#include "Auxiliary/ByteCountFormatter.h"
#include "app/catalogue/UninstallAppManager.h"
#include "app/removal/DaemonInstaller.h"
#include "platform/DispatchQueue.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "system/Utility.h"
#include "tools/ostrova/AppReport.h"
#include "tools/ostrova/RemovalReporter.h"

#include <unistd.h>

#include <algorithm>
#include <iostream>

namespace {

// The whole catalogue is scanned first: what an installed application is offered is never a remain.
std::shared_ptr<UninstallAppManager> scannedCatalogue()
{
    const auto manager = UninstallAppManager::make();
    manager->discoverApps();
    manager->runScanLoop();
    if (manager->allApps.empty())
        manager->findGoneApps();
    return manager;
}

}  // namespace

int LeftoversCommand::run(const CommandLine& line)
{
    const bool removing = line.has("--remove") || line.has("--all");
    if (!removing) {
        if (!line.operands.empty() || line.has("--yes") || line.has("--dry-run")) {
            std::cerr << "ostrova: leftovers lists them; to remove some, use --remove ID... or --all\n";
            return 2;
        }
        const auto manager = scannedCatalogue();
        std::cout << (line.has("--json") ? AppReport::leftoversJson(manager->goneApps) : AppReport::scanText(manager->goneApps));
        return 0;
    }
    if (line.has("--all") == !line.operands.empty() || (line.has("--all") && line.has("--remove"))) {
        std::cerr << "ostrova: leftovers takes --remove ID... or --all\n";
        return 2;
    }
    const bool interactive = ::isatty(STDIN_FILENO) == 1;
    if (!line.has("--yes") && !line.has("--dry-run") && !interactive) {
        std::cerr << "ostrova: not removing anything without --yes when no one can be asked\n";
        return 2;
    }

    const auto manager = scannedCatalogue();
    std::vector<std::shared_ptr<UninstallApp>> chosen;
    if (line.has("--all")) {
        chosen = manager->goneApps;
    } else {
        bool unknown = false;
        for (const auto& word : line.operands) {
            const auto it = std::find_if(manager->goneApps.begin(), manager->goneApps.end(), [&](const auto& app) {
                return platform::path::toLower(app->bundleIdentifier()) == platform::path::toLower(word);
            });
            if (it == manager->goneApps.end()) {
                std::cerr << "ostrova: no remains of a gone application '" << word << "'\n";
                unknown = true;
            } else if (std::find(chosen.begin(), chosen.end(), *it) == chosen.end()) {
                chosen.push_back(*it);
            }
        }
        if (unknown)
            return 1;
    }

    std::vector<std::string> selected;
    std::int64_t bytes = 0;
    for (const auto& app : chosen) {
        app->setSelectionState(kSelectionOn);
        for (const auto& group : app->fileGroups)
            for (const auto& item : group->fileItem) {
                selected.push_back(item->filePath);
                bytes += item->size;
            }
    }
    std::cout << (line.has("--dry-run") ? "Would remove" : "Will remove") << " " << selected.size() << " items ("
              << format2ByteCountString(bytes) << "):\n";
    for (const auto& path : selected)
        std::cout << "  " << path << "\n";
    std::cout.flush();
    if (line.has("--dry-run") || selected.empty())
        return 0;
    if (!line.has("--yes") && !askYes("Remove them?")) {
        std::cerr << "Nothing was removed.\n";
        return 1;
    }

    if (!Utility::isSandboxed())
        DaemonInstaller().ensureDaemon();
    // No event loop here: main-queue work runs where it is posted.
    dispatch::MainQueue::setExecutor([](dispatch::Task task) { task(); });
    auto reporter = std::make_shared<RemovalReporter>(false, interactive);
    manager->delegate = reporter;
    manager->removeApps(chosen);
    reporter->waitUntilDone();

    std::vector<std::string> removed, left;
    for (const auto& path : selected)
        (platform::fs::linkStatus(path) ? left : removed).push_back(path);
    std::cout << "Removed " << removed.size() << " items:\n";
    for (const auto& path : removed)
        std::cout << "  " << path << "\n";
    if (!left.empty()) {
        std::cout << "Left over, remove these by hand (" << left.size() << "):\n";
        for (const auto& path : left)
            std::cout << "  " << path << "\n";
    }
    std::cout.flush();
    return left.empty() ? 0 : 1;
}
