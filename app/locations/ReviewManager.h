#pragma once

#include <chrono>
#include <functional>

// Whether a sandboxed build is still inside its store review period, during which folder access is
// asked for the user's Library instead of the whole disk.
class ReviewManager {
public:
    using Clock = std::function<std::chrono::system_clock::time_point()>;

    static ReviewManager& shared();

    // True exactly when sandboxed and now lies before 2024-07-11 00:00 local time (or that moment
    // cannot be formed).
    bool reviewPeriodActive() const;
    // Tests move the clock; nullptr restores the system clock.
    void setClock(Clock clock);

private:
    ReviewManager() = default;
    Clock clock_;
};
