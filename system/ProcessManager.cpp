#include "system/ProcessManager.h"

#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "platform/ProcessTable.h"
#include "platform/SystemTools.h"
#include "system/KillProcessWithCMD.h"
#include "system/KillProcessWithInterrupt.h"
#include "system/KillProcessWithKill.h"

#include <unistd.h>

using platform::ProcessTable;

ProcessManager& ProcessManager::shared()
{
    static auto* manager = new ProcessManager;
    return *manager;
}

ProcessManager::ProcessManager()
    : array{std::make_shared<KillProcessWithCMD>(), std::make_shared<KillProcessWithInterrupt>(),
            std::make_shared<KillProcessWithKill>()}
{
}

ProcessManager::Processes ProcessManager::EnumerateAllProcess() const
{
    Processes processes;
    for (const pid_t pid : ProcessTable::allPids()) {
        if (pid < 1)
            continue;
        const auto info = ProcessTable::bsdInfo(pid);
        if (!info)
            continue;  // ended while we looked
        auto process = std::make_shared<RkProcessInfo>();
        process->pid = info->pid;
        process->ppid = info->ppid;
        process->flag = info->flags;
        process->userName = ProcessTable::loginName(info->uid).value_or("unknow");
        process->executableName = info->longName;
        process->executablePath = ProcessTable::executablePath(pid);
        processes.push_back(std::move(process));
    }
    return processes;
}

std::shared_ptr<RkProcessInfo> ProcessManager::GetProcessInfoWithExecutableName(const std::string& name) const
{
    for (const auto& process : EnumerateAllProcess()) {
        platform::tools::systemLog(process->executableName);
        if (process->executableName == name)
            return process;
    }
    return nullptr;
}

std::shared_ptr<RkProcessInfo> ProcessManager::GetProcessInfoWithExecutableName(const std::string& name,
                                                                               const std::string& path) const
{
    for (const auto& process : EnumerateAllProcess()) {
        if (process->executableName == name && process->executablePath == path)
            return process;
    }
    return nullptr;
}

ProcessManager::Processes ProcessManager::GetProcessInfoWithBundlePath(const std::string& bundlePath) const
{
    Processes inside;
    const std::string bundle = platform::path::trimTrailingSlashes(bundlePath);
    if (bundle.empty() || bundle.front() != '/' || platform::path::toLower(platform::path::extension(bundle)) != "app" ||
        !platform::fs::isDirectory(bundle))
        return inside;
    const std::string prefix = bundle + "/";
    for (const auto& process : EnumerateAllProcess()) {
        if (process->executablePath && platform::path::startsWith(*process->executablePath, prefix))
            inside.push_back(process);
    }
    return inside;
}

bool ProcessManager::commandIsRunning(const std::string& name)
{
    if (name.empty())
        return false;
    const std::string wanted = name.substr(0, ProcessTable::kCommandNameWidth);
    const pid_t self = ::getpid();
    for (const pid_t pid : ProcessTable::allPids()) {
        if (pid == self)
            continue;
        const auto info = ProcessTable::bsdInfo(pid);
        if (info && info->command == wanted)
            return true;
    }
    return false;
}

bool ProcessManager::ProcessIsRunning(const std::string& name) const
{
    return commandIsRunning(name);
}

bool ProcessManager::ProcessIsRunning(int pid, const std::string& path, const std::string& name) const
{
    const auto info = ProcessTable::bsdInfo(pid);
    if (!info || info->longName != name)
        return false;
    const auto executable = ProcessTable::executablePath(pid);
    return executable && *executable == path;
}

bool ProcessManager::OnKillProcessInfo(const RkProcessInfo& process)
{
    for (const auto& strategy : array) {
        if (!strategy)
            continue;
        if (process.executablePath && ProcessIsRunning(process.pid, *process.executablePath, process.executableName))
            strategy->KillProcess(process.pid);
    }
    return true;
}

bool ProcessManager::OnKillProcessInfos(const Processes& processes)
{
    bool result = false;
    for (const auto& process : processes) {
        if (process)
            result = OnKillProcessInfo(*process);
    }
    return result;
}
