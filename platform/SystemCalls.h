#pragma once

#include <sys/types.h>

#include <atomic>
#include <cerrno>
#include <cstddef>

struct stat;
struct pollfd;

namespace platform::sys {

// The system calls under the remover, the size walk, the listener's accept loop and the child
// runner, as one table of plain function pointers. Each keeps its POSIX meaning: -1 with errno set
// on failure. Production code calls through calls(); a test may install a table of its own (see
// fixtures/SystemCallFault.h) to make a chosen call fail. The table is read on every call from any
// thread; the one installed must outlive every caller that may still be using it.
struct SystemCalls {
    int (*open)(const char* path, int flags, mode_t mode);
    int (*openat)(int folder, const char* name, int flags, mode_t mode);
    int (*close)(int fd);
    int (*fstat)(int fd, struct stat* status);
    int (*fstatat)(int folder, const char* name, struct stat* status, int flags);
    int (*lstat)(const char* path, struct stat* status);
    // Fills the buffer with the folder's next entries (read them with FolderRecords); 0 at the end.
    long (*readFolder)(int folder, char* buffer, std::size_t size);
    int (*unlinkat)(int folder, const char* name, int flags);
    ssize_t (*read)(int fd, void* buffer, std::size_t size);
    // A connected socket taken from a listening one, closed on exec.
    int (*accept)(int listener);
    int (*poll)(struct pollfd* fds, unsigned long count, int timeoutMs);
    // A pipe whose two ends are closed on exec.
    int (*pipe)(int ends[2]);
    pid_t (*waitpid)(pid_t pid, int* status, int options);
    int (*kill)(pid_t pid, int signal);
    // Renames between two open folders; with kRenameNoReplace it never replaces (EEXIST instead).
    int (*renameat)(int fromFolder, const char* from, int toFolder, const char* to, unsigned flags);
    int (*mkdirat)(int folder, const char* name, mode_t mode);
    // A second name for a file, never through a link (a link gets a name of its own); EEXIST when
    // the new name is taken.
    int (*linkat)(int fromFolder, const char* from, int toFolder, const char* to);
    // Adds a folder (links followed) to a FolderWatcher's descriptor for entries that appear or go
    // and for the folder's own end; returns the watch number.
    int (*watchFolder)(int watcher, const char* path);
};

inline constexpr unsigned kRenameNoReplace = 1u << 0;

// The system's own table.
const SystemCalls& systemTable();

namespace detail {
extern std::atomic<const SystemCalls*> installed;
}

inline const SystemCalls& calls()
{
    return *detail::installed.load(std::memory_order_acquire);
}

// Makes `table` the one calls() returns (nullptr: the system's again); returns the one before.
const SystemCalls* install(const SystemCalls* table);

// Repeats a call for as long as a signal interrupts it.
template <typename Call>
auto restarting(Call&& call)
{
    for (;;) {
        const auto result = call();
        if (result >= 0 || errno != EINTR)
            return result;
    }
}

// One entry of what readFolder put in a buffer. `type` is a DT_ value of <dirent.h>; DT_UNKNOWN
// when the file system does not tell.
struct FolderEntry {
    const char* name = nullptr;
    unsigned char type = 0;
};

// Walks the entries of one readFolder buffer, "." and ".." included.
class FolderRecords {
public:
    FolderRecords(const char* buffer, long filled) : buffer_(buffer), filled_(filled) {}
    bool next(FolderEntry& entry);

private:
    const char* buffer_;
    long filled_;
    long offset_ = 0;
};

}  // namespace platform::sys
