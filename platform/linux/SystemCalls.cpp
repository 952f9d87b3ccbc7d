#include "platform/SystemCalls.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <poll.h>
#include <signal.h>
#include <sys/inotify.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>

namespace platform::sys {
namespace {

constexpr SystemCalls kSystem = {
    [](const char* path, int flags, mode_t mode) { return ::open(path, flags, mode); },
    [](int folder, const char* name, int flags, mode_t mode) { return ::openat(folder, name, flags, mode); },
    [](int fd) { return ::close(fd); },
    [](int fd, struct stat* status) { return ::fstat(fd, status); },
    [](int folder, const char* name, struct stat* status, int flags) { return ::fstatat(folder, name, status, flags); },
    [](const char* path, struct stat* status) { return ::lstat(path, status); },
    [](int folder, char* buffer, std::size_t size) { return ::syscall(SYS_getdents64, folder, buffer, size); },
    [](int folder, const char* name, int flags) { return ::unlinkat(folder, name, flags); },
    [](int fd, void* buffer, std::size_t size) { return ::read(fd, buffer, size); },
    [](int listener) { return ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC); },
    [](struct pollfd* fds, unsigned long count, int timeoutMs) { return ::poll(fds, count, timeoutMs); },
    [](int ends[2]) { return ::pipe2(ends, O_CLOEXEC); },
    [](pid_t pid, int* status, int options) { return ::waitpid(pid, status, options); },
    [](pid_t pid, int signal) { return ::kill(pid, signal); },
    [](int fromFolder, const char* from, int toFolder, const char* to, unsigned flags) {
        return static_cast<int>(::syscall(SYS_renameat2, fromFolder, from, toFolder, to, (flags & kRenameNoReplace) ? RENAME_NOREPLACE : 0u));
    },
    [](int folder, const char* name, mode_t mode) { return ::mkdirat(folder, name, mode); },
    [](int fromFolder, const char* from, int toFolder, const char* to) { return ::linkat(fromFolder, from, toFolder, to, 0); },
    [](int watcher, const char* path) {
        constexpr std::uint32_t kMask = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;
        return ::inotify_add_watch(watcher, path, kMask);
    },
};

}  // namespace

namespace detail {
constinit std::atomic<const SystemCalls*> installed{&kSystem};
}

const SystemCalls& systemTable()
{
    return kSystem;
}

const SystemCalls* install(const SystemCalls* table)
{
    return detail::installed.exchange(table ? table : &kSystem, std::memory_order_acq_rel);
}

// getdents64 records: 8-byte inode, 8-byte offset, 2-byte length, 1-byte type, then the
// NUL-terminated name.
bool FolderRecords::next(FolderEntry& entry)
{
    if (offset_ + 19 >= filled_)
        return false;
    const char* record = buffer_ + offset_;
    unsigned short length;
    std::memcpy(&length, record + 16, sizeof length);
    if (length == 0)
        return false;
    offset_ += length;
    entry.type = static_cast<unsigned char>(record[18]);
    entry.name = record + 19;
    return true;
}

}  // namespace platform::sys
