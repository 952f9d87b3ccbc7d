#include "system/ProcessManager.h"

#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "platform/ProcessTable.h"
#include "platform/SystemTools.h"
#include "system/KillProcessWithCMD.h"
#include "system/KillProcessWithInterrupt.h"
#include "system/KillProcessWithKill.h"

#include <unistd.h>

#include <algorithm>
#include <map>

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
    std::map<uid_t, std::string> userNames;
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
        auto user = userNames.find(info->uid);
        if (user == userNames.end())
            user = userNames.emplace(info->uid, ProcessTable::loginName(info->uid).value_or("unknow")).first;
        process->userName = user->second;
        process->executableName = info->longName;
        process->executablePath = ProcessTable::executablePath(pid);
        process->startTime = info->startTime;
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

bool ProcessManager::runsFromBundle(const std::string& bundlePath, const std::vector<std::string>& executableNames) const
{
    const std::string bundle = platform::path::trimTrailingSlashes(bundlePath);
    if (bundle.empty() || bundle.front() != '/')
        return false;
    const std::string prefix = bundle + "/";
    std::vector<std::string> commands;
    for (const auto& name : executableNames)
        if (!name.empty())
            commands.push_back(name.substr(0, ProcessTable::kCommandNameWidth));
    const pid_t self = ::getpid();
    for (const pid_t pid : ProcessTable::allPids()) {
        if (pid == self || pid < 1)
            continue;
        if (const auto executable = ProcessTable::executablePath(pid)) {
            if (platform::path::startsWith(*executable, prefix))
                return true;
            continue;
        }
        const auto info = ProcessTable::bsdInfo(pid);
        if (info && !info->ended && std::find(commands.begin(), commands.end(), info->command) != commands.end())
            return true;
    }
    return false;
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

platform::process::ProcessHandle ProcessManager::pin(const RkProcessInfo& process)
{
    if (process.pid <= 0 || !process.executablePath)
        return {};
    platform::process::ProcessHandle handle(process.pid);
    if (!handle.valid())
        return {};
    // Read after the handle is open, and the handle checked after the reads: what they saw under the
    // pid is then the pinned process.
    const auto info = ProcessTable::bsdInfo(process.pid);
    const auto executable = ProcessTable::executablePath(process.pid);
    const bool same = info && info->startTime == process.startTime && info->longName == process.executableName &&
                      executable == process.executablePath;
    if (!same || !handle.stillRunning())
        return {};
    return handle;
}

bool ProcessManager::OnKillProcessInfo(const RkProcessInfo& process)
{
    const auto pinned = pin(process);
    if (!pinned.valid())
        return false;
    bool signalled = false;
    for (const auto& strategy : array) {
        if (!strategy)
            continue;
        if (signalled && pinned.waitForEnd(0))
            break;
        signalled = strategy->KillPinnedProcess(pinned) || signalled;
    }
    return signalled;
}

bool ProcessManager::OnKillProcessInfos(const Processes& processes)
{
    bool all = !processes.empty();
    for (const auto& process : processes)
        all = process && OnKillProcessInfo(*process) && all;
    return all;
}
