#pragma once

#include <chrono>
#include <functional>
#include <memory>

// A started repeating timer: its tick runs every interval for as long as the object lives.
// Destroying it stops the ticks.
class RepeatingTimer {
public:
    using Interval = std::chrono::duration<double>;
    using Tick = std::function<void()>;
    // Starts a timer that runs `tick` every `interval`.
    using Factory = std::function<std::unique_ptr<RepeatingTimer>(Interval interval, Tick tick)>;

    virtual ~RepeatingTimer() = default;
};
