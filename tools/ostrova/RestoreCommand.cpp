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

#include <algorithm>
#include <iostream>

namespace {

std::string joined(const std::vector<std::string>& names)
{
    std::string text;
    for (const auto& name : names)
        text += (text.empty() ? "" : ", ") + name;
    return text;
}

// Why the items of a report that did not go back stayed away, counted: "2 deleted, not in the
// Trash; 1 emptied from the Trash".
std::string reasons(const PutBack::Report& report)
{
    std::string text;
    const auto add = [&text](std::size_t count, const char* why) {
        if (count)
            text += (text.empty() ? "" : "; ") + std::to_string(count) + " " + why;
    };
    add(report.deleted.size(), "deleted, not in the Trash");
    add(report.alreadyBack.size(), "already put back");
    add(report.gone.size(), "emptied from the Trash");
    add(report.taken.size(), "with their places taken now");
    return text;
}

PutBack::Report preview(const RemovalRecord& record)
{
    RemovalRecord copy = record;
    return PutBack::run(copy, true, {});
}

int list()
{
    const auto records = RemovalRecord::all();
    if (records.empty()) {
        std::cout << "No removal is recorded yet.\n";
        return 0;
    }
    // A removal put back whole is done with: it stays loadable by its identifier, not listed.
    std::size_t putBack = 0;
    for (const auto& record : records) {
        const auto plan = preview(record);
        if (!record.items.empty() && plan.alreadyBack.size() == record.items.size()) {
            ++putBack;
            continue;
        }
        const std::string away = reasons(plan);
        std::cout << record.identifier << "  " << record.date << "  " << joined(record.applications) << "  "
                  << record.countInTrash() << " of " << record.items.size() << " items in the Trash ("
                  << format2ByteCountString(record.bytesInTrash()) << ")" << (away.empty() ? "" : " (" + away + ")") << "\n";
    }
    if (putBack == records.size())
        std::cout << "Every recorded removal has been put back.\n";
    else if (putBack > 0)
        std::cout << putBack << (putBack == 1 ? " removal put back whole is not listed.\n" : " removals put back whole are not listed.\n");
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

// The items that stay away, grouped by why.
void printAway(const PutBack::Report& report)
{
    printAll("Not put back, their places are taken now", report.taken);
    printAll("Emptied from the Trash", report.gone);
    printAll("Deleted, not in the Trash", report.deleted);
    printAll("Already put back", report.alreadyBack);
}

// The newest removal with something still in the Trash; the newer ones skipped are told with why.
std::optional<RemovalRecord> lastThatCanBePutBack(std::vector<RemovalRecord> records)
{
    for (auto& record : records) {
        if (record.countInTrash() > 0)
            return std::move(record);
        std::cout << "Skipped " << record.identifier << " (" << joined(record.applications)
                  << "), nothing of it is in the Trash: " << reasons(preview(record)) << "\n";
    }
    return std::nullopt;
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

    auto records = RemovalRecord::all();
    if (records.empty())
        return std::cerr << "No removal is recorded yet.\n", 1;
    std::optional<RemovalRecord> record;
    if (line.has("--last")) {
        record = lastThatCanBePutBack(std::move(records));
        if (!record)
            return std::cerr << "No recorded removal can be put back.\n", 1;
    } else {
        record = RemovalRecord::load(line.operands.front());
        if (!record)
            return std::cerr << "ostrova: no such removal record\n", 1;
    }

    // What a put back would do, then (unless a dry run) the real one.
    const bool dryRun = line.has("--dry-run");
    const auto plan = preview(*record);
    if (plan.restored.empty()) {
        std::cout << "Nothing of " << record->identifier << " (" << joined(record->applications) << ") can be put back.\n";
        printAway(plan);
        return 1;
    }
    const bool interactive = ::isatty(STDIN_FILENO) == 1;
    if (!dryRun && !line.has("--yes") && !interactive)
        return std::cerr << "ostrova: not putting anything back without --yes when no one can be asked\n", 2;
    std::cout << (dryRun ? "Would put back " : "Will put back ") << plan.restored.size() << " items ("
              << format2ByteCountString(plan.bytes) << ") of " << record->identifier << " (" << joined(record->applications)
              << "):\n";
    for (const auto& path : plan.restored)
        std::cout << "  " << path << "\n";
    printAway(plan);
    std::cout.flush();
    if (dryRun)
        return plan.complete() ? 0 : 1;
    if (!line.has("--yes") && !askYes("Put them back?")) {
        std::cerr << "Nothing was put back.\n";
        return 1;
    }

    const auto manager = UninstallAppManager::make();
    std::unique_ptr<platform::AuthorizationPrompt> prompt;
    auto refused = std::make_shared<bool>(false);
    const auto daemon = Utility::isSandboxed() ? PutBack::Daemon{} : PutBack::throughDaemon([&] {
        DaemonInstaller().ensureDaemon();
        // Where the daemon needs an administrator's password, the system asks for it on this terminal.
        prompt = platform::AuthorizationPrompt::forTerminal();
        return manager->xpcServiceObj();
    }, refused);
    const auto report = PutBack::run(*record, false, daemon);
    if (*refused)
        std::cout << "An administrator's password was not given, so what goes back outside your home folder stayed in the Trash.\n";
    printAll("Put back", report.restored);
    printAway(report);
    printAll("Could not be put back", report.failed);
    printAll("Loaded again", report.loaded);
    printAll("Put back, but their launch jobs could not be loaded again", report.notLoaded);
    std::cout.flush();
    return report.complete() ? 0 : 1;
}
