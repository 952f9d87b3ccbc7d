#pragma once

#include <atomic>
#include <cstdint>

// Process-wide counters that benchmarks read; cheap enough to keep in every build.
namespace platform::statistics {

// Folders listed (by the file-manager listing and the size walks).
inline std::atomic<std::uint64_t> directoryListings{0};
// Name patterns evaluated by the scan.
inline std::atomic<std::uint64_t> patternMatches{0};

}  // namespace platform::statistics
