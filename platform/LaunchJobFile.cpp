#include "platform/LaunchJobFile.h"

#include "platform/PathUtil.h"
#include "platform/SafeRemover.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace platform {

std::optional<LaunchJobFile> LaunchJobFile::read(const std::string& path, bool noLinkOnTheWay, std::string& why)
{
    constexpr int kOpenFlags = O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY;
    int fd = -1;
    if (noLinkOnTheWay) {
        if (const auto problem = path::canonicalProblem(path); !problem.empty()) {
            why = problem;
            return std::nullopt;
        }
        const int folder = SafeRemover::openFolderNoFollow(path::deletingLastComponent(path));
        if (folder < 0) {
            why = "its folder cannot be opened without passing a link";
            return std::nullopt;
        }
        fd = ::openat(folder, path::lastComponent(path).c_str(), kOpenFlags);
        ::close(folder);
    } else {
        fd = ::open(path.c_str(), kOpenFlags);
    }
    if (fd < 0) {
        why = errno == ELOOP ? "the job file is a link" : "the job file cannot be opened";
        return std::nullopt;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        why = "the job file is not a regular file";
        return std::nullopt;
    }
    if (st.st_size < 0 || static_cast<std::size_t>(st.st_size) > kMaxBytes) {
        ::close(fd);
        why = "the job file is larger than " + std::to_string(kMaxBytes) + " bytes";
        return std::nullopt;
    }
    // One read of what is there now, never more than the limit even if the file grows meanwhile.
    std::string bytes(kMaxBytes + 1, '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
    if (done > kMaxBytes) {
        why = "the job file is larger than " + std::to_string(kMaxBytes) + " bytes";
        return std::nullopt;
    }
    bytes.resize(done);
    auto value = plist::parse(bytes);
    auto* dict = value ? value->get<plist::Dictionary>() : nullptr;
    if (!dict) {
        why = "Invalid property list";
        return std::nullopt;
    }
    LaunchJobFile file;
    file.job = std::move(*dict);
    file.device = st.st_dev;
    file.inode = st.st_ino;
    file.owner = st.st_uid;
    return file;
}

}  // namespace platform
