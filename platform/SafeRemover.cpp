#include "platform/SafeRemover.h"

#include "platform/FileDescriptor.h"
#include "platform/PathUtil.h"
#include "platform/SystemCalls.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace platform {
namespace {

using sys::calls;
using sys::restarting;

constexpr int kOpenFolder = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
// Deeper trees than this are left in place rather than risking the descriptor limit.
constexpr int kMaxDepth = 400;

// The names in the open folder; false when the listing broke off (the names are then a part).
bool namesIn(int folder, std::vector<std::string>& names)
{
    alignas(8) char buffer[32768];
    for (;;) {
        const long n = restarting([&] { return calls().readFolder(folder, buffer, sizeof buffer); });
        if (n <= 0)
            return n == 0;
        sys::FolderRecords records(buffer, n);
        for (sys::FolderEntry entry; records.next(entry);) {
            if (std::strcmp(entry.name, ".") != 0 && std::strcmp(entry.name, "..") != 0)
                names.emplace_back(entry.name);
        }
    }
}

int unlinkAt(int folder, const std::string& name, int flags)
{
    return restarting([&] { return calls().unlinkat(folder, name.c_str(), flags); });
}

// Empties the open folder; true when it is empty afterwards.
bool removeContents(int folder, int depth)
{
    if (depth > kMaxDepth)
        return false;
    // Listing first, then removing: removal while reading can make the listing skip entries.
    std::vector<std::string> names;
    bool complete = namesIn(folder, names);
    for (const auto& name : names) {
        struct stat st {};
        if (restarting([&] { return calls().fstatat(folder, name.c_str(), &st, AT_SYMLINK_NOFOLLOW); }) != 0) {
            complete = complete && errno == ENOENT;
            continue;
        }
        if (S_ISDIR(st.st_mode)) {
            FileDescriptor child(restarting([&] { return calls().openat(folder, name.c_str(), kOpenFolder, 0); }));
            if (child.get() < 0) {
                // Swapped for a link (ELOOP, ENOTDIR) or gone: never followed.
                complete = complete && errno == ENOENT;
                continue;
            }
            struct stat opened {};
            if (restarting([&] { return calls().fstat(child.get(), &opened); }) != 0 || opened.st_dev != st.st_dev || opened.st_ino != st.st_ino) {
                complete = false;
                continue;
            }
            const bool emptied = removeContents(child.get(), depth + 1);
            if (unlinkAt(folder, name, AT_REMOVEDIR) != 0 && errno != ENOENT)
                complete = false;
            complete = complete && emptied;
        } else if (unlinkAt(folder, name, 0) != 0 && errno != ENOENT) {
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
    FileDescriptor current(restarting([] { return calls().open("/", kOpenFolder, 0); }));
    for (const auto& part : path::components(path)) {
        if (part == "/")
            continue;
        if (current.get() < 0 || part == "." || part == "..")
            return -1;
        current = FileDescriptor(restarting([&] { return calls().openat(current.get(), part.c_str(), kOpenFolder, 0); }));
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
    if (restarting([&] { return calls().fstatat(parent.get(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW); }) != 0)
        return errno == ENOENT;
    if (!S_ISDIR(st.st_mode))
        return unlinkAt(parent.get(), name, 0) == 0 || errno == ENOENT;
    {
        FileDescriptor folder(restarting([&] { return calls().openat(parent.get(), name.c_str(), kOpenFolder, 0); }));
        if (folder.get() < 0)
            return false;
        removeContents(folder.get(), 0);
    }
    // What could not be removed keeps the folder from going; whatever else went is not put back.
    return unlinkAt(parent.get(), name, AT_REMOVEDIR) == 0 || errno == ENOENT;
}

}  // namespace platform
