#pragma once

#include "agent/RepeatingTimer.h"

#include <QTimer>

// A repeating timer on the event loop of the thread that makes it (the main run loop in the agent).
class MainLoopTimer : public RepeatingTimer {
public:
    MainLoopTimer(Interval interval, Tick tick);

    // A RepeatingTimer::Factory.
    static std::unique_ptr<RepeatingTimer> start(Interval interval, Tick tick);

private:
    QTimer timer_;
};
