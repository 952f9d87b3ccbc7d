#include "platform/TreeSize.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstring>
#include <vector>

namespace platform {
namespace {

// The record getdents64 fills: 8-byte inode, 8-byte offset, 2-byte length, 1-byte type, then the
// NUL-terminated name.
struct DirentView {
    const char* record;
    unsigned short length() const
    {
        unsigned short value;
        std::memcpy(&value, record + 16, sizeof value);
        return value;
    }
    unsigned char type() const { return static_cast<unsigned char>(record[18]); }
    const char* name() const { return record + 19; }
};

bool isDotOrDotDot(const char* name)
{
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

class Walk {
public:
    Walk(const std::atomic<bool>* keepGoing, TreeSize::Counters* counters) : keepGoing_(keepGoing), counters_(counters) {}

    std::int64_t folder(const std::string& root)
    {
        std::vector<std::string> pending{root};
        while (!pending.empty() && going()) {
            std::string path = std::move(pending.back());
            pending.pop_back();
            list(path, pending);
        }
        return total_;
    }

private:
    bool going() const { return keepGoing_ == nullptr || keepGoing_->load(std::memory_order_relaxed); }

    void list(const std::string& path, std::vector<std::string>& pending)
    {
        const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0)
            return;
        if (counters_)
            ++counters_->folders;
        alignas(8) char buffer[32768];
        for (;;) {
            const long n = ::syscall(SYS_getdents64, fd, buffer, sizeof buffer);
            if (n <= 0)
                break;
            for (long offset = 0; offset < n;) {
                const DirentView entry{buffer + offset};
                offset += entry.length();
                if (isDotOrDotDot(entry.name()))
                    continue;
                if (!going()) {
                    ::close(fd);
                    return;
                }
                if (counters_)
                    ++counters_->entries;
                unsigned char type = entry.type();
                struct stat st {};
                if (type != DT_DIR) {
                    if (::fstatat(fd, entry.name(), &st, AT_SYMLINK_NOFOLLOW) != 0)
                        continue;
                    type = S_ISDIR(st.st_mode) ? DT_DIR : DT_REG;
                }
                if (type == DT_DIR) {
                    std::string child = path;
                    if (child.back() != '/')
                        child += '/';
                    child += entry.name();
                    pending.push_back(std::move(child));
                } else {
                    total_ += st.st_size;
                }
            }
        }
        ::close(fd);
    }

    const std::atomic<bool>* keepGoing_;
    TreeSize::Counters* counters_;
    std::int64_t total_ = 0;
};

}  // namespace

std::int64_t TreeSize::measure(const std::string& path, const std::atomic<bool>* keepGoing, Counters* counters)
{
    struct stat st {};
    if (path.empty() || ::lstat(path.c_str(), &st) != 0)
        return 0;
    if (!S_ISDIR(st.st_mode))
        return st.st_size;
    return Walk(keepGoing, counters).folder(path);
}

}  // namespace platform
