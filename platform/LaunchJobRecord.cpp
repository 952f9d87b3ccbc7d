#include "platform/LaunchJobRecord.h"

#include "platform/FileSystem.h"
#include "platform/ProcessTable.h"
#include "platform/SystemLinks.h"
#include "platform/SystemRoot.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

namespace platform {
namespace {

constexpr std::size_t kMaxRecordBytes = 64 * 1024;

std::int64_t integer(const plist::Dictionary& record, std::string_view key)
{
    const auto* value = plist::find(record, key);
    return value && value->is<std::int64_t>() ? *value->get<std::int64_t>() : 0;
}

}  // namespace

bool LaunchJobRecord::isValidLabel(const std::string& label)
{
    if (label.empty() || label == "." || label == "..")
        return false;
    return std::all_of(label.begin(), label.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '_' || c == '-';
    });
}

std::string LaunchJobRecord::folder()
{
    return fixedPath("/var/run/launchd");
}

std::string LaunchJobRecord::pathFor(const std::string& label)
{
    return isValidLabel(label) ? folder() + "/" + label + ".job" : "";
}

std::optional<LaunchJobRecord> LaunchJobRecord::read(const std::string& label)
{
    if (!isValidLabel(label))
        return std::nullopt;
    const int fd = ::open(pathFor(label).c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat st {};
    const bool trusted = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && (st.st_uid == 0 || st.st_uid == ::geteuid()) &&
                         (st.st_mode & (S_IWGRP | S_IWOTH)) == 0 && st.st_size >= 0 &&
                         static_cast<std::size_t>(st.st_size) <= kMaxRecordBytes;
    std::string bytes;
    if (trusted) {
        bytes.resize(kMaxRecordBytes);
        const ssize_t n = ::read(fd, bytes.data(), bytes.size());
        bytes.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    }
    ::close(fd);
    const auto value = trusted ? plist::parse(bytes) : std::nullopt;
    const auto* dict = value ? value->get<plist::Dictionary>() : nullptr;
    if (!dict || plist::stringValue(*dict, "Label") != label)
        return std::nullopt;
    LaunchJobRecord record;
    record.label = label;
    record.path = plist::stringValue(*dict, "Path");
    record.device = static_cast<std::uint64_t>(integer(*dict, "Device"));
    record.inode = static_cast<std::uint64_t>(integer(*dict, "Inode"));
    record.loader = static_cast<uid_t>(integer(*dict, "UID"));
    record.supervisor = static_cast<pid_t>(integer(*dict, "Supervisor"));
    record.program = static_cast<pid_t>(integer(*dict, "Program"));
    record.supervisorStart = static_cast<std::uint64_t>(integer(*dict, "SupervisorStart"));
    return record;
}

bool LaunchJobRecord::write() const
{
    if (!isValidLabel(label))
        return false;
    const plist::Dictionary record{{"Label", label},
                                   {"Path", path},
                                   {"Device", static_cast<std::int64_t>(device)},
                                   {"Inode", static_cast<std::int64_t>(inode)},
                                   {"UID", static_cast<std::int64_t>(loader)},
                                   {"Supervisor", std::int64_t{supervisor}},
                                   {"Program", std::int64_t{program}},
                                   {"SupervisorStart", static_cast<std::int64_t>(supervisorStart)}};
    const bool written = plist::writeFile(pathFor(label), plist::Value(record));
    if (written)
        ::chmod(pathFor(label).c_str(), 0644);
    return written;
}

bool LaunchJobRecord::loadedFrom(const std::string& jobPath, const LaunchJobFile& file) const
{
    return path == jobPath && device == static_cast<std::uint64_t>(file.device) && inode == static_cast<std::uint64_t>(file.inode);
}

bool LaunchJobRecord::loaded() const
{
    return supervisorHandle().valid();
}

process::ProcessHandle LaunchJobRecord::supervisorHandle() const
{
    if (supervisor <= 0)
        return {};
    process::ProcessHandle handle(supervisor);
    if (!handle.valid())
        return {};
    // A supervisor is launchctl forked, never exec'd, so it keeps launchctl's command name.
    const auto info = ProcessTable::bsdInfo(supervisor);
    const bool same = info && (supervisorStart != 0 ? info->startTime == supervisorStart : info->command == "launchctl");
    if (!same || !handle.stillRunning())
        return {};
    return handle;
}

}  // namespace platform

namespace platform {

bool LaunchJobRecord::runsFrom(const std::string& jobPath)
{
    std::string why;
    const auto file = LaunchJobFile::read(jobPath, false, why);
    return file && runsFrom(jobPath, *file);
}

bool LaunchJobRecord::runsFrom(const std::string& jobPath, const LaunchJobFile& file)
{
    const auto record = read(plist::stringValue(file.job, "Label"));
    if (!record)
        return false;
    const auto supervisor = record->supervisor > 0 ? ProcessTable::bsdInfo(record->supervisor) : std::nullopt;
    const bool running = record->loaded() || (supervisor && record->supervisorStart != 0 && supervisor->startTime == record->supervisorStart);
    if (!running)
        return false;
    std::string why;
    auto loaded = *record;
    loaded.path = SystemLinks::resolveParents(record->path, why).value_or(record->path);
    return loaded.loadedFrom(jobPath, file);
}

}  // namespace platform
