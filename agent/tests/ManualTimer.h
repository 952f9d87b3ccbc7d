#pragma once

#include "agent/RepeatingTimer.h"

// A repeating timer whose ticks the test gives by hand. The test keeps a pointer to the last one
// started, through `latest`.
class ManualTimer : public RepeatingTimer {
public:
    ManualTimer(Interval interval, Tick tick, ManualTimer** latest) : interval_(interval), tick_(std::move(tick)), latest_(latest)
    {
        *latest_ = this;
    }
    ~ManualTimer() override
    {
        if (*latest_ == this)
            *latest_ = nullptr;
    }

    static Factory factory(ManualTimer** latest)
    {
        return [latest](Interval interval, Tick tick) { return std::make_unique<ManualTimer>(interval, std::move(tick), latest); };
    }

    Interval interval() const { return interval_; }
    void fire() const { tick_(); }

private:
    Interval interval_;
    Tick tick_;
    ManualTimer** latest_;
};
