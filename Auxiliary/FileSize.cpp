#include "Auxiliary/FileSize.h"

#include "platform/Spotlight.h"
#include "platform/TreeSize.h"

#include <sys/stat.h>

std::int64_t fileSize(const std::string& path, const std::atomic<bool>* keepGoing)
{
    struct stat st {};
    if (path.empty() || ::lstat(path.c_str(), &st) != 0)
        return 0;
    if (!S_ISDIR(st.st_mode))
        return st.st_size;
    if (const auto reported = platform::Spotlight::trustedFolderSize(path))
        return *reported;
    if (keepGoing && !keepGoing->load(std::memory_order_relaxed))
        return 0;
    return platform::TreeSize::measure(path, keepGoing);
}
