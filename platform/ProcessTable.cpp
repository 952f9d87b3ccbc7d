#include "platform/ProcessTable.h"

#include "platform/FileSystem.h"
#include "platform/PathUtil.h"

#include <dirent.h>
#include <pwd.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace platform {
namespace {

std::optional<std::string> readSmallFile(const std::string& path)
{
    // /proc files report a size of 0: read until the end.
    FILE* file = std::fopen(path.c_str(), "re");
    if (!file)
        return std::nullopt;
    std::string text;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        text.append(buffer, n);
    std::fclose(file);
    return text;
}

}  // namespace

std::vector<pid_t> ProcessTable::allPids()
{
    std::vector<pid_t> pids;
    std::unique_ptr<DIR, int (*)(DIR*)> proc(::opendir("/proc"), ::closedir);
    if (!proc)
        return pids;
    while (const dirent* entry = ::readdir(proc.get())) {
        char* end = nullptr;
        const long pid = std::strtol(entry->d_name, &end, 10);
        if (end != entry->d_name && *end == '\0' && pid > 0)
            pids.push_back(static_cast<pid_t>(pid));
    }
    return pids;
}

std::optional<ProcessTable::BsdInfo> ProcessTable::bsdInfo(pid_t pid)
{
    if (pid <= 0)
        return std::nullopt;
    const std::string base = "/proc/" + std::to_string(pid);
    const auto stat = readSmallFile(base + "/stat");
    const auto status = readSmallFile(base + "/status");
    if (!stat || !status)
        return std::nullopt;
    // "pid (comm) state ppid pgrp session tty tpgid flags ..."; comm may hold spaces and ")".
    const auto open = stat->find('(');
    const auto close = stat->rfind(')');
    if (open == std::string::npos || close == std::string::npos || close < open)
        return std::nullopt;
    BsdInfo info;
    info.pid = pid;
    info.command = stat->substr(open + 1, close - open - 1);
    unsigned long flags = 0;
    int ppid = 0, pgrp = 0, session = 0, tty = 0, tpgid = 0;
    char state = 0;
    if (std::sscanf(stat->c_str() + close + 1, " %c %d %d %d %d %d %lu", &state, &ppid, &pgrp, &session, &tty, &tpgid,
                    &flags) != 7)
        return std::nullopt;
    info.ppid = ppid;
    info.flags = static_cast<unsigned int>(flags);
    const auto uidLine = status->find("\nUid:");
    if (uidLine == std::string::npos)
        return std::nullopt;
    info.uid = static_cast<uid_t>(std::strtoul(status->c_str() + uidLine + 5, nullptr, 10));
    const auto exe = executablePath(pid);
    info.longName = exe ? path::lastComponent(*exe).substr(0, kLongNameWidth) : info.command;
    return info;
}

std::optional<std::string> ProcessTable::executablePath(pid_t pid)
{
    if (pid <= 0)
        return std::nullopt;
    auto target = fs::readLink("/proc/" + std::to_string(pid) + "/exe");
    if (!target || target->empty() || target->front() != '/')
        return std::nullopt;
    // The kernel marks an executable that was removed since it started.
    static constexpr std::string_view kDeleted = " (deleted)";
    if (target->size() > kDeleted.size() && target->compare(target->size() - kDeleted.size(), kDeleted.size(), kDeleted) == 0 &&
        !fs::linkStatus(*target))
        target->resize(target->size() - kDeleted.size());
    if (target->size() >= 1024)
        return std::nullopt;
    return target;
}

std::optional<std::string> ProcessTable::loginName(uid_t uid)
{
    struct passwd entry {};
    struct passwd* found = nullptr;
    char buffer[4096];
    if (::getpwuid_r(uid, &entry, buffer, sizeof buffer, &found) != 0 || found == nullptr || !found->pw_name)
        return std::nullopt;
    return std::string(found->pw_name);
}

}  // namespace platform
