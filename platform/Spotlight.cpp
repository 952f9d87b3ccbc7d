#include "platform/Spotlight.h"

#include "platform/FileSystem.h"

#include <sys/xattr.h>

#include <array>
#include <cstring>
#include <mutex>

namespace platform {
namespace {
std::mutex providerMutex;
std::shared_ptr<const MetadataProvider>& installedProvider()
{
    static std::shared_ptr<const MetadataProvider> provider;
    return provider;
}
}  // namespace

bool MetadataProvider::canCreateItem(const std::string& path) const
{
    return fs::exists(path);
}

std::optional<std::string> MetadataProvider::displayName(const std::string&) const
{
    return std::nullopt;
}

std::optional<MetadataProvider::TimePoint> MetadataProvider::lastUsedDate(const std::string& path) const
{
    return readLastUsedDateAttribute(path);
}

std::optional<std::int64_t> MetadataProvider::fileSystemSize(const std::string&) const
{
    return std::nullopt;
}

std::shared_ptr<const MetadataProvider> Spotlight::provider()
{
    std::lock_guard lock(providerMutex);
    auto& provider = installedProvider();
    if (!provider)
        provider = std::make_shared<MetadataProvider>();
    return provider;
}

void Spotlight::setProvider(std::shared_ptr<const MetadataProvider> provider)
{
    std::lock_guard lock(providerMutex);
    installedProvider() = std::move(provider);
}

bool writeLastUsedDateAttribute(const std::string& path, MetadataProvider::TimePoint when)
{
    const auto since = when.time_since_epoch();
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(since);
    const auto nanos = std::chrono::duration_cast<std::chrono::nanoseconds>(since - seconds);
    std::array<unsigned char, 16> value{};
    const auto s = static_cast<uint64_t>(seconds.count());
    const auto n = static_cast<uint64_t>(nanos.count());
    for (int i = 0; i < 8; ++i) {
        value[static_cast<std::size_t>(i)] = static_cast<unsigned char>(s >> (8 * i));
        value[static_cast<std::size_t>(8 + i)] = static_cast<unsigned char>(n >> (8 * i));
    }
    return ::lsetxattr(path.c_str(), kLastUsedDateAttribute, value.data(), value.size(), 0) == 0;
}

std::optional<MetadataProvider::TimePoint> readLastUsedDateAttribute(const std::string& path)
{
    std::array<unsigned char, 16> value{};
    const ssize_t n = ::getxattr(path.c_str(), kLastUsedDateAttribute, value.data(), value.size());
    if (n != static_cast<ssize_t>(value.size()))
        return std::nullopt;
    uint64_t s = 0, ns = 0;
    for (int i = 7; i >= 0; --i) {
        s = (s << 8) | value[static_cast<std::size_t>(i)];
        ns = (ns << 8) | value[static_cast<std::size_t>(8 + i)];
    }
    if (ns >= 1000000000u)
        return std::nullopt;
    return MetadataProvider::TimePoint(std::chrono::duration_cast<MetadataProvider::TimePoint::duration>(
        std::chrono::seconds(static_cast<int64_t>(s)) + std::chrono::nanoseconds(ns)));
}

std::optional<std::int64_t> Spotlight::trustedFolderSize(const std::string& path)
{
    const auto reported = provider()->fileSystemSize(path);
    if (reported && *reported >= kTrustedFolderSize)
        return reported;
    return std::nullopt;
}

}  // namespace platform
