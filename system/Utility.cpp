#include "system/Utility.h"

#include "platform/FileSystem.h"
#include "platform/PropertyList.h"
#include "platform/Sandbox.h"
#include "platform/Subprocess.h"
#include "platform/SystemTools.h"
#include "platform/Utf8.h"
#include "system/KextManager.h"
#include "system/ProcessManager.h"
#include "system/ShellQuote.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <mutex>

namespace {

// Launch Services' list of every application, looked up by name once per process. The stand-in
// contract: an array of file paths terminated by nullptr, owned by the callee.
using CopyAllApplicationURLs = const char* const* (*)();

CopyAllApplicationURLs launchServicesLookup()
{
    static CopyAllApplicationURLs function = nullptr;
    static std::once_flag once;
    std::call_once(once, [] {
        function = reinterpret_cast<CopyAllApplicationURLs>(::dlsym(RTLD_DEFAULT, "_LSCopyAllApplicationURLs"));
    });
    return function;
}

}  // namespace

Utility::Utility() : kextManager_(&KextManager::shared()), processManager_(&ProcessManager::shared()) {}

Utility& Utility::shared()
{
    static auto* utility = new Utility;
    return *utility;
}

int Utility::ShellExecution(const std::optional<std::string>& command)
{
    if (!command)
        return -1;
    const int status = std::system(command->c_str());
    return (status >> 8) & 0xFF;
}

std::optional<std::string> Utility::GetShellExecutionResult(const std::string& command)
{
    const auto run = platform::Subprocess::run({"/bin/bash", "-c", command});
    if (!run.started)
        return std::nullopt;
    const char* self = "+[Utility GetShellExecutionResult:]";
    // The shell has ended and been waited for: there is nothing left to stop.
    if (!run.exited || run.exitCode != 0)
        platform::tools::systemLog(std::string(self) + ", Task failed.");
    else
        platform::tools::systemLog(std::string(self) + ", Task succeeded.");
    if (!platform::utf8::isValid(run.output))
        return std::nullopt;
    return run.output;
}

bool Utility::CreatePlist(const std::string& plistPath, const std::string& appPath, const std::string& clientBundle)
{
    const std::string launchctl = shellquote::single(platform::tools::launchctl());
    const std::string quoted = shellquote::single(plistPath);
    if (platform::fs::exists(plistPath)) {
        ShellExecution(launchctl + " unload " + quoted);
        ::unlink(plistPath.c_str());
    }
    const int fd = ::open(plistPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    ::close(fd);

    plist::Dictionary job;
    job.emplace("Label", kDaemonLabel);
    job.emplace("MachServices", plist::Dictionary{{kMachService, true}});
    job.emplace("EnableTransactions", true);
    job.emplace("KeepAlive", plist::Dictionary{{"SuccessfulExit", false}});
    job.emplace("ProgramArguments", plist::Array{plist::Value(appPath), plist::Value("loadBySystem")});
    job.emplace("RunAtload", true);
    if (!clientBundle.empty())
        job.emplace("EnvironmentVariables", plist::Dictionary{{"OSTROVA_CLIENT_BUNDLE", clientBundle}});
    plist::writeFile(plistPath, plist::Value(std::move(job)));

    ShellExecution("chown root " + quoted + " && chgrp " + platform::tools::adminGroup() + " " + quoted + " && chmod 644 " +
                   quoted + " && " + launchctl + " load " + quoted);
    return true;
}

std::optional<std::vector<std::string>> Utility::getAppFromSystem(const std::function<bool(const std::string&)>& filter)
{
    const auto copyAll = launchServicesLookup();
    if (!copyAll)
        return std::nullopt;
    std::vector<std::string> passed;
    if (const char* const* paths = copyAll()) {
        for (const char* const* path = paths; *path; ++path) {
            if (filter && filter(*path))
                passed.emplace_back(*path);
        }
    }
    return passed;
}

std::string Utility::HardwareID(bool)
{
    return platform::tools::serialNumber();
}

bool Utility::isSandboxed()
{
    return platform::Sandbox::isActive();
}

bool Utility::ProcessIsRunning(const std::string& name)
{
    return ProcessManager::commandIsRunning(name);
}
