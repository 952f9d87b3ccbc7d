#pragma once

#include <atomic>
#include <cstdint>
#include <string>

namespace platform {

// Sums the logical sizes of everything at or below a path: files, links (as themselves) and other
// non-folders count with their status size; folders only hold. No link is ever followed. Folders
// that cannot be opened or vanish during the walk are skipped. When `keepGoing` is given, the walk
// stops at the next entry once it reads false and returns the total so far. Folders listed are
// counted in platform::statistics.
class TreeSize {
public:
    static std::int64_t measure(const std::string& path, const std::atomic<bool>* keepGoing = nullptr);
};

}  // namespace platform
