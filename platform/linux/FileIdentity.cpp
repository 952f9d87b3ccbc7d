#include "platform/FileIdentity.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace platform {

std::optional<FileIdentity> identify(const std::string& path)
{
    struct statx sx {};
    if (path.empty() || ::statx(AT_FDCWD, path.c_str(), 0, STATX_INO | STATX_BTIME, &sx) != 0)
        return std::nullopt;
    FileIdentity identity;
    identity.device = static_cast<std::int64_t>(makedev(sx.stx_dev_major, sx.stx_dev_minor));
    identity.inode = static_cast<std::int64_t>(sx.stx_ino);
    if (sx.stx_mask & STATX_BTIME)
        identity.birth = static_cast<std::int64_t>(sx.stx_btime.tv_sec) * 1000000000 + sx.stx_btime.tv_nsec;
    return identity;
}

}  // namespace platform
