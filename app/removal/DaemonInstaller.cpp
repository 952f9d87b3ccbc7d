#include "app/removal/DaemonInstaller.h"

#include "app/locations/FolderAccess.h"
#include "app/removal/AdministratorScript.h"
#include "platform/Bundle.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "platform/PropertyList.h"
#include "platform/SystemRoot.h"
#include "platform/SystemTools.h"
#include "system/ShellQuote.h"
#include "system/Utility.h"
#include "xpc/UninstallServiceprotocol.h"
#include "xpc/XPCRemoteObject.h"

#include <sys/stat.h>

#include <chrono>
#include <thread>

DaemonInstaller::DaemonInstaller(std::string bundlePath) : bundlePath_(std::move(bundlePath))
{
    if (bundlePath_.empty())
        if (const auto bundle = platform::Bundle::mainBundle())
            bundlePath_ = bundle->bundlePath();
}

std::string DaemonInstaller::jobFileToInstall() const
{
    const auto bundle = platform::Bundle::atPath(bundlePath_);
    const auto resource = bundle ? bundle->pathForResource("com.halvane.ostrova", "plist") : std::nullopt;
    if (!resource)
        return "";
    auto job = plist::readDictionary(*resource);
    const std::string daemon = platform::fs::resolveCaseInsensitive(bundlePath_, "Contents/MacOS/OstrovaDaemon");
    if (!job)
        return *resource;
    const auto* arguments = plist::find(*job, "ProgramArguments");
    const auto* list = arguments ? arguments->get<plist::Array>() : nullptr;
    if (list && !list->empty() && list->front() == plist::Value(daemon))
        return *resource;
    // The bundle was moved or copied: the job must start the daemon where it is now.
    job->insert_or_assign("ProgramArguments", plist::Array{plist::Value(daemon), plist::Value("loadBySystem")});
    const std::string folder = applicationScriptsFolder();
    platform::fs::makeDirectories(folder);
    const std::string corrected = folder + "/" + kJobFileName;
    return plist::writeFile(corrected, plist::Value(std::move(*job))) ? corrected : *resource;
}

std::string DaemonInstaller::daemonInstallCommand() const
{
    using shellquote::single;
    const std::string folder = platform::fixedPath("/Library/LaunchDaemons");
    const std::string installed = folder + "/" + platform::path::lastComponent(kJobFileName);
    const std::string command = "cp " + single(jobFileToInstall()) + " " + single(folder) + "&&" + "chown root " +
                                single(installed) + "&&" + "chgrp " + platform::tools::adminGroup() + " " +
                                single(installed) + "&&" + "chmod 644 " + single(installed) + "&&" +
                                single(platform::tools::launchctl()) + " load -w " + single(installed);
    return shellquote::forAppleScript(command);
}

bool DaemonInstaller::daemonAnswers()
{
    // This system root's daemon on this root's socket: a process of that name may serve another
    // root, or be another program altogether.
    XPCRemoteObject<UninstallServiceprotocol> remote(uninstallservice::kServiceName, nullptr);
    return remote.test();
}

void DaemonInstaller::ensureDaemon() const
{
    if (daemonAnswers())
        return;
    const std::string command = daemonInstallCommand();
    withStoredFolderAccess(platform::fixedPath("/"), [&](bool granted) {
        runAdministratorScript(granted, command, true, [](std::optional<std::string>) {});
    });
    for (int poll = 0; poll < 4; ++poll) {
        std::this_thread::sleep_for(std::chrono::seconds(1));
        if (daemonAnswers())
            return;
    }
}
