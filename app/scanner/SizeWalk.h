#pragma once

#include <cstdint>
#include <string>

class StopToken;

// The size the scan shows for a bundle or a found item.
class SizeWalk {
public:
    // Size of a bundle or folder in bytes: the Spotlight size or the folder's own size attribute when
    // at least 20480 bytes, else a walk that ends when `stop` is stopped; 0 without `stop`
    // or once it is stopped. A file Spotlight can describe gets Spotlight's size (0 when unknown).
    static std::int64_t sizeOfPath(const std::string& path, const StopToken* stop);
};
