#include "app/scanner/SizeWalk.h"

#include "app/scanner/StopToken.h"
#include "platform/Spotlight.h"
#include "platform/TreeSize.h"

#include <sys/stat.h>

std::int64_t SizeWalk::sizeOfPath(const std::string& path, const StopToken* stop)
{
    const auto spotlight = platform::Spotlight::provider();
    struct stat st {};
    const bool hasStatus = !path.empty() && ::lstat(path.c_str(), &st) == 0;
    if (hasStatus && S_ISDIR(st.st_mode)) {
        if (const auto reported = platform::Spotlight::trustedFolderSize(path))
            return *reported;
        if (st.st_size >= platform::Spotlight::kTrustedFolderSize)
            return st.st_size;
    } else if (spotlight->canCreateItem(path)) {
        return spotlight->fileSystemSize(path).value_or(0);
    }
    if (stop == nullptr || !stop->keepGoing())
        return 0;
    return platform::TreeSize::measure(path, stop->flag());
}
