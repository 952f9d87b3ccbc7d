#include "tools/ostrova/RemovalRun.h"

#include "platform/AuthorizationPrompt.h"

#include "Auxiliary/ByteCountFormatter.h"
#include "app/catalogue/UninstallAppManager.h"
#include "app/removal/DaemonInstaller.h"
#include "app/removal/RemovalRights.h"
#include "platform/DispatchQueue.h"
#include "platform/FileSystem.h"
#include "system/Utility.h"
#include "tools/ostrova/CommandLine.h"
#include "tools/ostrova/RemovalReporter.h"

#include <unistd.h>

#include <iostream>

RemovalRun RemovalRun::ofTicked(std::vector<std::shared_ptr<UninstallApp>> chosen, const CommandLine& line, bool interactive)
{
    RemovalRun removal;
    for (const auto& app : chosen)
        for (const auto& group : app->fileGroups)
            for (const auto& item : group->fileItem)
                if (item->isSelected) {
                    removal.selected.push_back(item->filePath);
                    removal.bytes += item->size;
                }
    removal.chosen = std::move(chosen);
    removal.dryRun = line.has("--dry-run");
    removal.yes = line.has("--yes");
    removal.deleteNow = line.has("--delete");
    removal.forceQuit = line.has("--force-quit");
    removal.interactive = interactive;
    return removal;
}

bool RemovalRun::mayProceed(const CommandLine& line, bool& interactive)
{
    interactive = ::isatty(STDIN_FILENO) == 1;
    if (line.has("--yes") || line.has("--dry-run") || interactive)
        return true;
    std::cerr << "ostrova: not removing anything without --yes when no one can be asked\n";
    return false;
}

int RemovalRun::run(UninstallAppManager& manager) const
{
    std::string names;
    for (const auto& app : chosen)
        names += (names.empty() ? "" : ", ") + app->displayName();
    if (keepsBundle)
        std::cout << names << (dryRun ? " would be reset" : " will be reset") << ": its " << selected.size() << " items ("
                  << format2ByteCountString(bytes) << (deleteNow ? ") are deleted at once" : ") go to the Trash")
                  << "; the application stays:\n";
    else
        std::cout << (dryRun ? "Would remove" : "Will remove") << " " << selected.size() << " items ("
                  << format2ByteCountString(bytes) << (deleteNow ? ", deleted at once" : ", to the Trash") << "):\n";
    for (const auto& path : selected)
        std::cout << "  " << path << "\n";
    const bool sandboxed = Utility::isSandboxed();
    const auto rights = sandboxed ? RemovalRights::Summary{} : RemovalRights::ofTicked(chosen);
    if (!rights.administrator.empty()) {
        std::cout << "These need an administrator's password (" << rights.administrator.size() << "):\n";
        for (const auto& path : rights.administrator)
            std::cout << "  " << path << "\n";
    }
    std::cout.flush();
    if (dryRun || selected.empty())
        return 0;
    if (!yes && !askYes(keepsBundle ? "Reset them?" : "Remove them?")) {
        std::cerr << "Nothing was removed.\n";
        return 1;
    }

    // The daemon is made sure of only when the run first needs it (an item beyond the user's own
    // rights, or one whose move the user's rights refused), never for a removal of the user's own.
    UninstallAppManager::RemovalOptions options;
    if (!sandboxed)
        options.daemonStarter = [] { DaemonInstaller().ensureDaemon(); };
    // Where the daemon needs an administrator's password, the system asks for it on this terminal.
    const auto prompt = platform::AuthorizationPrompt::forTerminal();
    // No event loop here: main-queue work runs where it is posted.
    dispatch::MainQueue::setExecutor([](dispatch::Task task) { task(); });
    auto reporter = std::make_shared<RemovalReporter>(forceQuit, interactive);
    manager.setDelegate(reporter);
    options.removesImmediately = deleteNow;
    options.keepsBundle = keepsBundle;
    // Where no Trash can take an item, only --delete agrees to deleting it (--yes does not).
    options.deletesWhereNoTrash = deleteNow;
    manager.removeApps(chosen, std::move(options));
    reporter->waitUntilDone();

    std::vector<std::string> removed, left;
    for (const auto& path : selected)
        (platform::fs::linkStatus(path) ? left : removed).push_back(path);
    std::cout << "Removed " << removed.size() << " items:\n";
    for (const auto& path : removed)
        std::cout << "  " << path << "\n";
    if (const auto record = manager.lastRemoval(); record && record->countInTrash() > 0) {
        std::cout << "Moved " << record->countInTrash() << " items (" << format2ByteCountString(record->bytesInTrash())
                  << ") to the Trash; emptying the Trash frees the space. Undo with: ostrova restore " << record->identifier
                  << "\n";
        if (!record->saved)
            std::cout << "The record of this removal could not be written to " << RemovalRecord::folder()
                      << ": what went to the Trash can only be put back from there by hand.\n";
    }
    if (const auto record = manager.lastRemoval(); record && record->administratorRightRefused)
        std::cout << "An administrator's password was not given, so what lies outside your home folder was left.\n";
    if (!left.empty()) {
        std::cout << "Left over, remove these by hand (" << left.size() << "):\n";
        for (const auto& path : left)
            std::cout << "  " << path << "\n";
    }
    if (keepsBundle)
        std::cout << (left.empty() ? "Reset " + names + "; the application stays.\n"
                                   : "Not all of " + names + " was reset; the application stays.\n");
    std::cout.flush();
    return left.empty() ? 0 : 1;
}
