#include "platform/SafeRemover.h"

#include "platform/PathUtil.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace platform {
namespace {

constexpr int kOpenFolder = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
// Deeper trees than this are left in place rather than risking the descriptor limit.
constexpr int kMaxDepth = 400;

class FileDescriptor {
public:
    explicit FileDescriptor(int fd = -1) : fd_(fd) {}
    ~FileDescriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.release()) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept
    {
        if (this != &other) {
            if (fd_ >= 0)
                ::close(fd_);
            fd_ = other.release();
        }
        return *this;
    }
    int get() const { return fd_; }
    int release()
    {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }

private:
    int fd_;
};

std::vector<std::string> namesIn(int folder)
{
    std::vector<std::string> names;
    alignas(8) char buffer[32768];
    for (;;) {
        const long n = ::syscall(SYS_getdents64, folder, buffer, sizeof buffer);
        if (n <= 0)
            break;
        for (long offset = 0; offset < n;) {
            const char* record = buffer + offset;
            unsigned short length;
            std::memcpy(&length, record + 16, sizeof length);
            offset += length;
            const char* name = record + 19;
            if (std::strcmp(name, ".") != 0 && std::strcmp(name, "..") != 0)
                names.emplace_back(name);
        }
    }
    return names;
}

// Empties the open folder; true when it is empty afterwards.
bool removeContents(int folder, int depth)
{
    if (depth > kMaxDepth)
        return false;
    bool complete = true;
    // Listing first, then removing: removal while reading can make getdents skip entries.
    for (const auto& name : namesIn(folder)) {
        struct stat st {};
        if (::fstatat(folder, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
            complete = complete && errno == ENOENT;
            continue;
        }
        if (S_ISDIR(st.st_mode)) {
            FileDescriptor child(::openat(folder, name.c_str(), kOpenFolder));
            if (child.get() < 0) {
                // Swapped for a link (ELOOP, ENOTDIR) or gone: never followed.
                complete = complete && errno == ENOENT;
                continue;
            }
            struct stat opened {};
            if (::fstat(child.get(), &opened) != 0 || opened.st_dev != st.st_dev || opened.st_ino != st.st_ino) {
                complete = false;
                continue;
            }
            const bool emptied = removeContents(child.get(), depth + 1);
            if (::unlinkat(folder, name.c_str(), AT_REMOVEDIR) != 0 && errno != ENOENT)
                complete = false;
            complete = complete && emptied;
        } else if (::unlinkat(folder, name.c_str(), 0) != 0 && errno != ENOENT) {
            complete = false;
        }
    }
    return complete;
}

}  // namespace

bool SafeRemover::isRemovablePath(const std::string& path)
{
    // One form only: a NUL would end the name the file calls see, "//" or a trailing "/" would
    // name the same folder in a spelling the callers' checks never saw.
    return path::canonicalProblem(path).empty();
}

int SafeRemover::openFolderNoFollow(const std::string& path)
{
    if (path.empty() || path.front() != '/')
        return -1;
    FileDescriptor current(::open("/", kOpenFolder));
    for (const auto& part : path::components(path)) {
        if (part == "/")
            continue;
        if (current.get() < 0 || part == "." || part == "..")
            return -1;
        current = FileDescriptor(::openat(current.get(), part.c_str(), kOpenFolder));
    }
    return current.release();
}

bool SafeRemover::remove(const std::string& path)
{
    if (!isRemovablePath(path))
        return false;
    FileDescriptor parent(openFolderNoFollow(path::deletingLastComponent(path)));
    if (parent.get() < 0)
        return false;
    const std::string name = path::lastComponent(path);
    struct stat st {};
    if (::fstatat(parent.get(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return errno == ENOENT;
    if (!S_ISDIR(st.st_mode))
        return ::unlinkat(parent.get(), name.c_str(), 0) == 0 || errno == ENOENT;
    {
        FileDescriptor folder(::openat(parent.get(), name.c_str(), kOpenFolder));
        if (folder.get() < 0)
            return false;
        removeContents(folder.get(), 0);
    }
    if (::unlinkat(parent.get(), name.c_str(), AT_REMOVEDIR) == 0 || errno == ENOENT)
        return true;
    return false;
}

}  // namespace platform
