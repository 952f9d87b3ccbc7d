// ostrova: the uninstaller's catalogue and scan for scripts and terminals.
#include "app/catalogue/UninstallAppManager.h"
#include "platform/UserDefaults.h"
#include "tools/ostrova/AppReport.h"
#include "tools/ostrova/AppSelector.h"
#include "tools/ostrova/CommandLine.h"
#include "tools/ostrova/LeftoversCommand.h"
#include "tools/ostrova/RestoreCommand.h"
#include "tools/ostrova/ScanProgress.h"
#include "tools/ostrova/UninstallCommand.h"

#include <unistd.h>

#include <cstdio>
#include <exception>
#include <iostream>

namespace {

constexpr const char* kUsage =
    "usage: ostrova list [--json]\n"
    "       ostrova scan [--json] (--all | APP...)\n"
    "       ostrova uninstall [--yes] [--dry-run] [--delete] [--force-quit] [--only CATEGORY]... [--keep CATEGORY]... APP...\n"
    "       ostrova leftovers [--json]\n"
    "       ostrova leftovers [--yes] [--dry-run] [--delete] (--remove ID... | --all)\n"
    "       ostrova restore --list\n"
    "       ostrova restore [--yes] [--dry-run] (--last | RECORD)\n"
    "\n"
    "  list    the installed applications: name, version, bundle identifier, last used, path\n"
    "  scan    each application's related files, by category, with their sizes\n"
    "  uninstall  removes the applications and their related files (all ticked unless narrowed)\n"
    "  leftovers  what applications that are gone left behind, by bundle identifier; with --remove\n"
    "             or --all, removes it (ID: a gone application's bundle identifier)\n"
    "  restore    puts a recorded removal back from the Trash (RECORD: an identifier restore --list shows)\n"
    "\n"
    "  APP     a display name, a bundle identifier or a bundle path\n"
    "  --all   every installed application\n"
    "  --json  one JSON array with an object per application\n"
    "  --only, --keep  tick only, or keep, the items of a category (bundle, support, cache, ...)\n"
    "  --dry-run  show what would be removed and touch nothing\n"
    "  --yes   do not ask before removing or putting back; --force-quit quits running applications\n"
    "  --delete  delete at once instead of moving to the Trash (also what no Trash can take)\n"
    "\n"
    "The system root is OSTROVA_ROOT (\"/\" when unset); the home is HOME.\n";

int usageError(const std::string& message)
{
    std::cerr << "ostrova: " << message << "\n" << kUsage;
    return 2;
}

int runList(const CommandLine& line)
{
    if (!line.operands.empty())
        return usageError("list takes no operands");
    const auto manager = UninstallAppManager::make();
    manager->discoverApps();
    std::cout << (line.has("--json") ? AppReport::json(manager->allApps) : AppReport::listText(manager->allApps));
    return 0;
}

int runScan(const CommandLine& line)
{
    if (line.has("--all") == !line.operands.empty())
        return usageError(line.has("--all") ? "scan takes --all or applications, not both" : "scan needs --all or an application");
    const auto catalogue = UninstallAppManager::make();
    catalogue->discoverApps();

    const auto scanner = UninstallAppManager::make();
    if (line.has("--all")) {
        scanner->allApps = catalogue->allApps;
    } else {
        std::vector<std::string> unknown;
        scanner->allApps = AppSelector(catalogue->allApps).select(line.operands, unknown);
        for (const auto& word : unknown)
            std::cerr << "ostrova: no installed application is named '" << word << "'\n";
        if (!unknown.empty())
            return 1;
    }
    auto progress = std::make_shared<ScanProgress>(scanner->allApps.size(), ::isatty(STDERR_FILENO) == 1);
    scanner->delegate = progress;
    scanner->findsRemains = false;
    scanner->runScanLoop();
    std::cout << (line.has("--json") ? AppReport::json(scanner->allApps) : AppReport::scanText(scanner->allApps));
    return 0;
}

int run(int argc, char** argv)
{
    const CommandLine line = CommandLine::parse(argc, argv, {"--json", "--all", "--help", "-h", "--yes", "--dry-run", "--force-quit", "--remove", "--delete", "--list", "--last"},
                                                {"--only", "--keep"});
    if (!line.error.empty())
        return usageError(line.error);
    if (line.has("--help") || line.has("-h") || line.command == "help") {
        std::cout << kUsage;
        return 0;
    }
    // The tool shares the app's stored folder grants.
    platform::UserDefaults::setStandardDomain("com.qzt.ostrova");
    if (line.command == "list")
        return runList(line);
    if (line.command == "scan")
        return runScan(line);
    if (line.command == "uninstall")
        return UninstallCommand::run(line);
    if (line.command == "leftovers")
        return LeftoversCommand::run(line);
    if (line.command == "restore")
        return RestoreCommand::run(line);
    if (line.command.empty())
        return usageError("no command given");
    return usageError("unknown command '" + line.command + "'");
}

}  // namespace

int main(int argc, char** argv)
{
    try {
        const int status = run(argc, argv);
        std::cout.flush();
        return std::cout.good() ? status : 1;
    } catch (const std::exception& error) {
        std::cerr << "ostrova: " << error.what() << "\n";
        return 1;
    }
}
