#include "tools/ostrova/RestoreCommand.h"

#include "Auxiliary/ByteCountFormatter.h"
#include "app/catalogue/UninstallAppManager.h"
#include "app/removal/DaemonCall.h"
#include "app/removal/DaemonInstaller.h"
#include "app/removal/PutBack.h"
#include "platform/AuthorizationPrompt.h"
#include "system/Utility.h"
#include "tools/ostrova/RemovalReporter.h"

#include <unistd.h>

#include <iostream>

namespace {

std::string joined(const std::vector<std::string>& names)
{
    std::string text;
    for (const auto& name : names)
        text += (text.empty() ? "" : ", ") + name;
    return text;
}

int list()
{
    const auto records = RemovalRecord::all();
    if (records.empty()) {
        std::cout << "No removals are recorded.\n";
        return 0;
    }
    for (const auto& record : records) {
        std::cout << record.identifier << "  " << record.date << "  " << joined(record.applications) << "  "
                  << record.countInTrash() << " of " << record.items.size() << " items in the Trash ("
                  << format2ByteCountString(record.bytesInTrash()) << ")\n";
    }
    return 0;
}

void printAll(const char* title, const std::vector<std::string>& paths)
{
    if (paths.empty())
        return;
    std::cout << title << " (" << paths.size() << "):\n";
    for (const auto& path : paths)
        std::cout << "  " << path << "\n";
}

}  // namespace

int RestoreCommand::run(const CommandLine& line)
{
    if (line.has("--list")) {
        if (!line.operands.empty() || line.has("--last"))
            return std::cerr << "ostrova: restore --list takes nothing else\n", 2;
        return list();
    }
    if (line.has("--last") == (line.operands.size() == 1) || line.operands.size() > 1)
        return std::cerr << "ostrova: restore needs --last or one record identifier (see restore --list)\n", 2;

    std::optional<RemovalRecord> record;
    if (line.has("--last")) {
        auto records = RemovalRecord::all();
        if (!records.empty())
            record = std::move(records.front());
    } else {
        record = RemovalRecord::load(line.operands.front());
    }
    if (!record)
        return std::cerr << "ostrova: no such removal record\n", 1;

    const bool dryRun = line.has("--dry-run");
    const bool interactive = ::isatty(STDIN_FILENO) == 1;
    if (!dryRun && !line.has("--yes") && !interactive)
        return std::cerr << "ostrova: not putting anything back without --yes when no one can be asked\n", 2;

    // What a put back would do, then (unless a dry run) the real one.
    RemovalRecord preview = *record;
    const auto plan = PutBack::run(preview, true, {});
    std::cout << (dryRun ? "Would put back " : "Will put back ") << plan.restored.size() << " items ("
              << format2ByteCountString(plan.bytes) << ") of " << record->identifier << " (" << joined(record->applications)
              << "):\n";
    for (const auto& path : plan.restored)
        std::cout << "  " << path << "\n";
    printAll("Not put back, their places are taken now", plan.taken);
    printAll("No longer in the Trash", plan.gone);
    std::cout.flush();
    if (dryRun || plan.restored.empty())
        return plan.complete() ? 0 : 1;
    if (!line.has("--yes") && !askYes("Put them back?")) {
        std::cerr << "Nothing was put back.\n";
        return 1;
    }

    const auto manager = UninstallAppManager::make();
    std::unique_ptr<platform::AuthorizationPrompt> prompt;
    auto refused = std::make_shared<bool>(false);
    const auto daemon = Utility::isSandboxed() ? PutBack::DaemonPutBack{} : PutBack::throughDaemon([&] {
        DaemonInstaller().ensureDaemon();
        // Where the daemon needs an administrator's password, the system asks for it on this terminal.
        prompt = platform::AuthorizationPrompt::forTerminal();
        return manager->xpcServiceObj();
    }, refused);
    const auto report = PutBack::run(*record, false, daemon);
    if (*refused)
        std::cout << "An administrator's password was not given, so what goes back outside your home folder stayed in the Trash.\n";
    printAll("Put back", report.restored);
    printAll("Not put back, their places are taken now", report.taken);
    printAll("No longer in the Trash", report.gone);
    printAll("Could not be put back", report.failed);
    std::cout.flush();
    return report.complete() ? 0 : 1;
}
