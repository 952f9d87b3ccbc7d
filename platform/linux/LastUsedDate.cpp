#include "platform/Spotlight.h"

#include <sys/xattr.h>

namespace platform {

bool storeLastUsedDateValue(const std::string& path, const LastUsedDateValue& value)
{
    return ::lsetxattr(path.c_str(), kLastUsedDateAttribute, value.data(), value.size(), 0) == 0;
}

std::optional<LastUsedDateValue> loadLastUsedDateValue(const std::string& path)
{
    LastUsedDateValue value{};
    // A longer value fails with ERANGE, a shorter one reads fewer bytes: neither is a date.
    const ssize_t n = ::getxattr(path.c_str(), kLastUsedDateAttribute, value.data(), value.size());
    if (n != static_cast<ssize_t>(value.size()))
        return std::nullopt;
    return value;
}

}  // namespace platform
