// ostrova: the uninstaller's catalogue and scan for scripts and terminals.
#include "app/catalogue/UninstallAppManager.h"
#include "platform/Bundle.h"
#include "platform/PropertyList.h"
#include "platform/UserDefaults.h"
#include "tools/ostrova/CommandHelp.h"
#include "tools/ostrova/AppReport.h"
#include "tools/ostrova/ChosenAppsScan.h"
#include "tools/ostrova/CommandLine.h"
#include "tools/ostrova/ExcludeCommand.h"
#include "tools/ostrova/LeftoversCommand.h"
#include "tools/ostrova/ResetCommand.h"
#include "tools/ostrova/RestoreCommand.h"
#include "tools/ostrova/UninstallCommand.h"

#include <cstdio>
#include <exception>
#include <iostream>

namespace {

// One line for what is wrong, one for where to look.
int usageError(const std::string& message, const std::string& command)
{
    std::cerr << "ostrova: " << message << "\n" << CommandHelp::seeAlso(command);
    return 2;
}

// `help [COMMAND]`, or `COMMAND --help`.
int printHelp(const CommandLine& line)
{
    const std::string topic = line.command == "help" ? (line.operands.empty() ? "" : line.operands.front()) : line.command;
    if (line.command == "help" && line.operands.size() > 1)
        return usageError("help takes one command", "help");
    if (topic.empty()) {
        std::cout << CommandHelp::usage();
        return 0;
    }
    const auto text = CommandHelp::forCommand(topic);
    if (!text)
        return usageError("no command '" + topic + "' to help with", "");
    std::cout << *text;
    return 0;
}

// The version of the application bundle the tool lies in, from its Info.plist.
int printVersion()
{
    const std::string bundlePath = platform::Bundle::enclosingAppBundle(platform::Bundle::executablePath());
    const auto bundle = bundlePath.empty() ? std::nullopt : platform::Bundle::atPath(bundlePath);
    const std::string version = bundle ? plist::stringValue(bundle->infoDictionary(), "CFBundleShortVersionString") : "";
    if (version.empty()) {
        std::cerr << "ostrova: no version: the tool does not lie in an application bundle whose Info.plist has one\n";
        return 1;
    }
    const std::string build = plist::stringValue(bundle->infoDictionary(), "CFBundleVersion");
    std::cout << "ostrova " << version << (build.empty() || build == version ? "" : " (" + build + ")") << "\n";
    return 0;
}

int runList(const CommandLine& line)
{
    if (!line.operands.empty())
        return usageError("list takes no operands", "list");
    const auto manager = UninstallAppManager::make();
    manager->discoverApps();
    const auto apps = manager->allApps();
    std::cout << (line.has("--json") ? AppReport::json(apps) : AppReport::listText(apps));
    return 0;
}

int runScan(const CommandLine& line)
{
    if (line.has("--all") == !line.operands.empty())
        return usageError(line.has("--all") ? "scan takes --all or applications, not both" : "scan needs --all or an application", "scan");
    const auto scanner = ChosenAppsScan::run(line.operands, line.has("--all"), true);
    if (!scanner)
        return 1;
    const auto apps = scanner->allApps();
    std::cout << (line.has("--json") ? AppReport::json(apps) : AppReport::scanText(apps));
    return 0;
}

int run(int argc, char** argv)
{
    const CommandLine line = CommandLine::parse(argc, argv);
    if (!line.error.empty())
        return usageError(line.error, line.command);
    if (line.has("--version") || line.has("-V"))
        return printVersion();
    if (line.command == "help" || line.has("--help") || line.has("-h"))
        return printHelp(line);
    // The tool shares the app's stored folder grants.
    platform::UserDefaults::setStandardDomain("com.qzt.ostrova");
    if (line.command == "list")
        return runList(line);
    if (line.command == "exclude") {
        const int status = ExcludeCommand::run(line);
        if (status == 2)
            std::cerr << CommandHelp::seeAlso(line.command);
        return status;
    }
    // Every command below reads the exclusions through the catalogue: say what of them is unsound.
    if (line.command == "scan" || line.command == "uninstall" || line.command == "leftovers" || line.command == "reset")
        ExcludeCommand::reportDropped();
    if (line.command == "scan")
        return runScan(line);
    if (line.command.empty())
        return usageError("no command given", "");
    int status = 0;
    if (line.command == "uninstall")
        status = UninstallCommand::run(line);
    else if (line.command == "leftovers")
        status = LeftoversCommand::run(line);
    else if (line.command == "reset")
        status = ResetCommand::run(line);
    else if (line.command == "restore")
        status = RestoreCommand::run(line);
    else
        return usageError("unknown command '" + line.command + "'", "");
    // The commands print their own line for a call they cannot make sense of (status 2).
    if (status == 2)
        std::cerr << CommandHelp::seeAlso(line.command);
    return status;
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
