#pragma once

#include <atomic>

// What lets scans and size walks go on: they run while `continue_` reads true. The catalogue is
// one (it derives from this), and scans hold it weakly, so a scan whose owner is gone stops too.
class StopToken {
public:
    std::atomic<bool> continue_{true};

    bool keepGoing() const { return continue_.load(std::memory_order_relaxed); }

protected:
    StopToken() = default;
    ~StopToken() = default;
};
