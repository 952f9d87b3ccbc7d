#pragma once

#include <atomic>

// What lets scans and size walks go on: they run until the token is stopped. The catalogue owns
// one and hands it out; scans hold it weakly, so a scan whose catalogue is gone stops too.
class StopToken {
public:
    bool keepGoing() const { return going_.load(std::memory_order_relaxed); }
    void stop() { going_.store(false, std::memory_order_relaxed); }
    // The flag itself, for walks below the scanner's layer that poll an atomic.
    const std::atomic<bool>* flag() const { return &going_; }

private:
    std::atomic<bool> going_{true};
};
