#include "agent/BundleSnapshot.h"

#include "platform/Bundle.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace {

// A bundle of more files than this (a developer suite) is compared on the first of them: enough to
// see a copy still going, without the walk holding up the watch.
constexpr std::uint64_t kMostEntries = 20000;

std::int64_t changeOf(const struct stat& status)
{
    const auto nanoseconds = [](const timespec& time) { return std::int64_t(time.tv_sec) * 1'000'000'000 + time.tv_nsec; };
    return std::max(nanoseconds(status.st_mtim), nanoseconds(status.st_ctim));
}

}  // namespace

BundleSnapshot BundleSnapshot::of(const std::string& bundlePath)
{
    BundleSnapshot snapshot;
    struct stat status {};
    if (::lstat(bundlePath.c_str(), &status) != 0 || !S_ISDIR(status.st_mode))
        return snapshot;
    snapshot.exists = true;
    snapshot.newestChange = changeOf(status);
    std::error_code error;
    for (std::filesystem::recursive_directory_iterator it(bundlePath, std::filesystem::directory_options::skip_permission_denied, error), end;
         !error && it != end && snapshot.entries < kMostEntries; it.increment(error)) {
        if (::lstat(it->path().c_str(), &status) != 0)
            continue;
        ++snapshot.entries;
        if (S_ISREG(status.st_mode))
            snapshot.bytes += static_cast<std::uint64_t>(status.st_size);
        snapshot.newestChange = std::max(snapshot.newestChange, changeOf(status));
    }
    const auto bundle = platform::Bundle::atPath(bundlePath);
    snapshot.readable = bundle && !bundle->bundleIdentifier().value_or("").empty();
    return snapshot;
}
