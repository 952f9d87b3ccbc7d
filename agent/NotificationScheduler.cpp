#include "agent/NotificationScheduler.h"

#include "agent/AppDelegate.h"
#include "agent/MainLoopTimer.h"
#include "platform/DispatchQueue.h"

NotificationScheduler& NotificationScheduler::shared()
{
    static auto* scheduler = new NotificationScheduler(
        platform::UserDefaults::standard(), [] { return std::chrono::system_clock::now(); }, &MainLoopTimer::start);
    return *scheduler;
}

NotificationScheduler::NotificationScheduler(platform::UserDefaults defaults, Clock clock, RepeatingTimer::Factory startTimer)
    : defaults_(std::move(defaults)), clock_(std::move(clock)), startTimer_(std::move(startTimer))
{
}

void NotificationScheduler::start()
{
    check();
    // The timer belongs to the scheduler, so a tick never outlives it.
    timer = startTimer_(RepeatingTimer::Interval(checkInterval), [this] { check(); });
}

void NotificationScheduler::check()
{
    const double now = std::chrono::duration<double>(clock_().time_since_epoch()).count();
    const std::string key(lastNotificationTimeKey);
    const auto stored = defaults_.objectForKey(key);
    if (const plist::Date* last = stored ? stored->get<plist::Date>() : nullptr) {
        if (now - last->unixSeconds() < notificationInterval)
            return;
    }
    dispatch::MainQueue::async([] {
        if (AppDelegate* delegate = AppDelegate::applicationDelegate())
            delegate->showNotification();
    });
    defaults_.setObject(key, plist::Value(plist::Date::fromUnix(now)));
}
