#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace platform {

// Device and inode name a file only while it exists: ext4 hands a freed inode number to the next
// new file. The birth time tells a re-created folder from the one that was granted.
struct FileIdentity {
    std::int64_t device = 0;
    std::int64_t inode = 0;
    std::int64_t birth = 0;  // nanoseconds since the epoch; 0 when the file system keeps none
};

// Follows links; nullopt when the file cannot be reached.
std::optional<FileIdentity> identify(const std::string& path);

}  // namespace platform
