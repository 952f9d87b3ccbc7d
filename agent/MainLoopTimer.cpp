#include "agent/MainLoopTimer.h"

MainLoopTimer::MainLoopTimer(Interval interval, Tick tick)
{
    timer_.setTimerType(Qt::VeryCoarseTimer);
    timer_.setInterval(std::chrono::round<std::chrono::milliseconds>(interval));
    QObject::connect(&timer_, &QTimer::timeout, [tick = std::move(tick)] { tick(); });
    timer_.start();
}

std::unique_ptr<RepeatingTimer> MainLoopTimer::start(Interval interval, Tick tick)
{
    return std::make_unique<MainLoopTimer>(interval, std::move(tick));
}
