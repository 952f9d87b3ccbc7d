#include "platform/ProcessTable.h"

#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "platform/SystemCalls.h"

#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

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

const std::size_t ProcessTable::kCommandNameWidth = 15;  // TASK_COMM_LEN less its NUL

std::vector<pid_t> ProcessTable::allPids()
{
    using sys::calls;
    using sys::restarting;
    std::vector<pid_t> pids;
    // Through the call table, so that a test can count the walks of the table.
    const int proc = restarting([] { return calls().open("/proc", O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0); });
    if (proc < 0)
        return pids;
    alignas(8) char buffer[32768];
    for (;;) {
        const long n = restarting([&] { return calls().readFolder(proc, buffer, sizeof buffer); });
        if (n <= 0)
            break;
        sys::FolderRecords records(buffer, n);
        for (sys::FolderEntry entry; records.next(entry);) {
            char* end = nullptr;
            const long pid = std::strtol(entry.name, &end, 10);
            if (end != entry.name && *end == '\0' && pid > 0)
                pids.push_back(static_cast<pid_t>(pid));
        }
    }
    calls().close(proc);
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
    unsigned long long started = 0;
    int ppid = 0, pgrp = 0, session = 0, tty = 0, tpgid = 0;
    char state = 0;
    // Fields 3 to 9, then 10 to 21 skipped, then 22: the start in clock ticks since boot.
    if (std::sscanf(stat->c_str() + close + 1, " %c %d %d %d %d %d %lu %*u %*u %*u %*u %*u %*u %*d %*d %*d %*d %*d %*d %llu",
                    &state, &ppid, &pgrp, &session, &tty, &tpgid, &flags, &started) != 8)
        return std::nullopt;
    info.ppid = ppid;
    info.ended = state == 'Z' || state == 'X';
    info.flags = static_cast<unsigned int>(flags);
    info.startTime = started;
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

std::optional<pid_t> ProcessTable::tracerPid(pid_t pid)
{
    const auto status = fs::readFile("/proc/" + std::to_string(pid) + "/status", 1u << 16);
    if (!status)
        return std::nullopt;
    const auto at = status->find("\nTracerPid:");
    if (at == std::string::npos)
        return std::nullopt;
    return static_cast<pid_t>(std::strtol(status->c_str() + at + 11, nullptr, 10));
}

std::optional<std::vector<std::string>> ProcessTable::executableMappings(pid_t pid)
{
    // Large enough for any program with its libraries; a map that does not fit is not read.
    const auto maps = fs::readFile("/proc/" + std::to_string(pid) + "/maps", 4u << 20);
    if (!maps)
        return std::nullopt;
    std::vector<std::string> files;
    std::size_t start = 0;
    while (start < maps->size()) {
        auto end = maps->find('\n', start);
        if (end == std::string::npos)
            end = maps->size();
        const std::string_view line(maps->data() + start, end - start);
        start = end + 1;
        // "address perms offset dev inode   path"
        const auto perms = line.find(' ');
        if (perms == std::string_view::npos || perms + 3 >= line.size() || line[perms + 3] != 'x')
            continue;
        const auto path = line.find('/');
        if (path == std::string_view::npos)
            continue;  // anonymous or [vdso]
        std::string file(line.substr(path));
        if (std::find(files.begin(), files.end(), file) == files.end())
            files.push_back(std::move(file));
    }
    return files;
}

std::optional<std::string> ProcessTable::namespaceOf(pid_t pid, const std::string& kind)
{
    return fs::readLink("/proc/" + std::to_string(pid) + "/ns/" + kind);
}

bool ProcessTable::sharesNamespacesWithSelf(pid_t pid, std::string& why)
{
    for (const char* kind : {"mnt", "user"}) {
        const auto theirs = namespaceOf(pid, kind);
        const auto ours = namespaceOf(::getpid(), kind);
        if (!theirs || !ours || *theirs != *ours) {
            why = std::string("it lives in another ") + kind + " namespace";
            return false;
        }
    }
    return true;
}

std::vector<std::string> ProcessTable::systemLibraryFolders()
{
    return {"/usr/lib/", "/lib/", "/usr/lib64/", "/lib64/", "/usr/lib32/", "/lib32/"};
}

}  // namespace platform
