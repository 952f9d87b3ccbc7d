#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace platform {

// The Spotlight attributes the product reads. On this platform there is no metadata index: the
// display name and the file-system size are absent, and the last-used date comes from the extended
// attribute that macOS itself keeps on a launched bundle. Tests install a provider of their own.
class MetadataProvider {
public:
    using TimePoint = std::chrono::system_clock::time_point;
    virtual ~MetadataProvider() = default;
    // MDItemCreate: fails for a path that does not exist.
    virtual bool canCreateItem(const std::string& path) const;
    virtual std::optional<std::string> displayName(const std::string& path) const;
    virtual std::optional<TimePoint> lastUsedDate(const std::string& path) const;
    virtual std::optional<std::int64_t> fileSystemSize(const std::string& path) const;
};

class Spotlight {
public:
    static std::shared_ptr<const MetadataProvider> provider();
    // nullptr restores the built-in provider.
    static void setProvider(std::shared_ptr<const MetadataProvider> provider);

    // Below this many bytes a folder's reported size is not trusted and the folder is walked: a
    // freshly copied bundle reports the size of its folder entries only.
    static constexpr std::int64_t kTrustedFolderSize = 20480;
    // The provider's size of a folder when it reaches kTrustedFolderSize; nothing otherwise.
    static std::optional<std::int64_t> trustedFolderSize(const std::string& path);
};

// The extended attribute name and its 16-byte value (seconds and nanoseconds, little-endian).
inline constexpr const char* kLastUsedDateAttribute = "user.com.apple.lastuseddate#PS";
bool writeLastUsedDateAttribute(const std::string& path, MetadataProvider::TimePoint when);
std::optional<MetadataProvider::TimePoint> readLastUsedDateAttribute(const std::string& path);

// The backend's part: the attribute's raw value, written on the path itself (a link is not
// followed) and read through links; nothing when it is missing or not exactly 16 bytes long.
using LastUsedDateValue = std::array<unsigned char, 16>;
bool storeLastUsedDateValue(const std::string& path, const LastUsedDateValue& value);
std::optional<LastUsedDateValue> loadLastUsedDateValue(const std::string& path);

}  // namespace platform
