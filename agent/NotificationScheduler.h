#pragma once

#include "agent/RepeatingTimer.h"
#include "platform/UserDefaults.h"

#include <chrono>
#include <functional>
#include <memory>
#include <string_view>

// Decides when the clean-up reminder is due: at most once every notificationInterval, checked at
// start and then on every tick of a timer of checkInterval. The time of the last reminder is kept
// in the user defaults under lastNotificationTimeKey.
class NotificationScheduler {
public:
    using Clock = std::function<std::chrono::system_clock::time_point()>;

    static constexpr std::string_view lastNotificationTimeKey = "lastNotificationTime";
    static constexpr double notificationInterval = 604800;  // seconds: 7 days
    static constexpr double checkInterval = 10800;          // seconds: 3 hours

    // The agent's scheduler, made on first use: its standard user defaults, the system clock and a
    // timer on the main run loop.
    static NotificationScheduler& shared();

    NotificationScheduler(platform::UserDefaults defaults, Clock clock, RepeatingTimer::Factory startTimer);
    NotificationScheduler(const NotificationScheduler&) = delete;
    NotificationScheduler& operator=(const NotificationScheduler&) = delete;

    // Checks once now, then on every tick of a new repeating timer of checkInterval, kept in `timer`.
    void start();
    // When the stored time is not a date, or lies notificationInterval or more in the past, posts
    // the application delegate's showNotification to the main queue and stores now at once.
    void check();

    // The check timer; empty until start().
    std::unique_ptr<RepeatingTimer> timer;

private:
    platform::UserDefaults defaults_;
    Clock clock_;
    RepeatingTimer::Factory startTimer_;
};
