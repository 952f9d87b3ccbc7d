#pragma once

#include <cstdint>
#include <string>

class StopToken;

// The size the scan shows for a bundle or a found item.
class SizeWalk {
public:
    // fileSize's rule, with a walk that ends when `stop` is stopped; without `stop` a folder that
    // would have to be walked measures 0.
    static std::int64_t sizeOfPath(const std::string& path, const StopToken* stop);
};
