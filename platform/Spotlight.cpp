#include "platform/Spotlight.h"

#include "platform/FileSystem.h"

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
    LastUsedDateValue value{};
    const auto s = static_cast<uint64_t>(seconds.count());
    const auto n = static_cast<uint64_t>(nanos.count());
    for (int i = 0; i < 8; ++i) {
        value[static_cast<std::size_t>(i)] = static_cast<unsigned char>(s >> (8 * i));
        value[static_cast<std::size_t>(8 + i)] = static_cast<unsigned char>(n >> (8 * i));
    }
    return storeLastUsedDateValue(path, value);
}

std::optional<MetadataProvider::TimePoint> readLastUsedDateAttribute(const std::string& path)
{
    const auto value = loadLastUsedDateValue(path);
    if (!value)
        return std::nullopt;
    uint64_t s = 0, ns = 0;
    for (int i = 7; i >= 0; --i) {
        s = (s << 8) | (*value)[static_cast<std::size_t>(i)];
        ns = (ns << 8) | (*value)[static_cast<std::size_t>(8 + i)];
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
