#include "AgentTestSupport.h"
#include "ManualTimer.h"
#include "agent/AppDelegate.h"
#include "agent/MainLoopTimer.h"
#include "agent/NotificationScheduler.h"
#include "fixtures/MacTree.h"
#include "platform/DispatchQueue.h"
#include "platform/UserDefaults.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

using namespace std::chrono_literals;
using TimePoint = std::chrono::system_clock::time_point;

constexpr const char* kAgentDomain = "com.qzt.ostrova.agent";
const TimePoint kLaunch = std::chrono::system_clock::from_time_t(1'700'000'000);

double unixSeconds(TimePoint when)
{
    return std::chrono::duration<double>(when.time_since_epoch()).count();
}

class NotificationSchedulerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dispatch::MainQueue::drain();
        tree.activate();
        AppDelegate::setApplicationDelegate(&delegate);
    }
    void TearDown() override
    {
        AppDelegate::setApplicationDelegate(nullptr);
        dispatch::MainQueue::drain();
    }

    platform::UserDefaults agentDefaults() const { return platform::UserDefaults(kAgentDomain); }

    // The stored time of the last reminder, as Unix seconds; nullopt when none or not a date.
    std::optional<double> storedTime() const
    {
        const auto value = agentDefaults().objectForKey("lastNotificationTime");
        const auto* date = value ? value->get<plist::Date>() : nullptr;
        return date ? std::optional<double>(date->unixSeconds()) : std::nullopt;
    }

    void store(const plist::Value& value) { ASSERT_TRUE(agentDefaults().setObject("lastNotificationTime", value)); }

    // Moves the clock, lets the check timer tick and runs what the tick posted to the main queue.
    void tickAt(TimePoint when)
    {
        now = when;
        ASSERT_NE(timer, nullptr);
        timer->fire();
        dispatch::MainQueue::drain();
    }

    fixtures::MacTree tree;
    TimePoint now = kLaunch;
    ManualTimer* timer = nullptr;
    NotificationScheduler scheduler{platform::UserDefaults(kAgentDomain), [this] { return now; }, ManualTimer::factory(&timer)};
    AppDelegate delegate{scheduler};
};

TEST_F(NotificationSchedulerTest, FirstLaunchShowsAReminderAndStoresTheTimeAtOnce)
{
    EXPECT_FALSE(storedTime());
    delegate.applicationDidFinishLaunching();

    // Stored before the reminder appears: the reminder itself waits on the main queue.
    EXPECT_EQ(storedTime(), unixSeconds(kLaunch));
    EXPECT_EQ(visibleReminderWindows(), 0);
    const auto onDisk = plist::readDictionary(tree.home() + "/.config/com.qzt.ostrova.agent.plist");
    ASSERT_TRUE(onDisk && plist::find(*onDisk, "lastNotificationTime"));
    EXPECT_TRUE(plist::find(*onDisk, "lastNotificationTime")->is<plist::Date>());

    dispatch::MainQueue::drain();
    ASSERT_TRUE(delegate.notificationWindowController);
    EXPECT_TRUE(delegate.notificationWindowController->window()->isVisible());
    EXPECT_EQ(visibleReminderWindows(), 1);
    ASSERT_TRUE(timer && scheduler.timer.get() == timer);
    EXPECT_EQ(timer->interval().count(), 10800.0);
}

TEST_F(NotificationSchedulerTest, TwoDaysAfterTheLastReminderTheNextComesAtTheFirstTickAfterSevenDays)
{
    const TimePoint last = kLaunch - 48h;
    store(plist::Value(plist::Date::fromUnix(unixSeconds(last))));

    delegate.applicationDidFinishLaunching();
    dispatch::MainQueue::drain();
    EXPECT_FALSE(delegate.notificationWindowController);
    EXPECT_EQ(storedTime(), unixSeconds(last));

    // Ticks every three hours from launch; five days more make the seven: the 40th tick.
    for (int tick = 1; tick < 40; ++tick) {
        tickAt(kLaunch + tick * 3h);
        ASSERT_FALSE(delegate.notificationWindowController) << "shown early, at tick " << tick;
        ASSERT_EQ(storedTime(), unixSeconds(last));
    }
    tickAt(kLaunch + 40 * 3h);
    ASSERT_TRUE(delegate.notificationWindowController);
    EXPECT_EQ(visibleReminderWindows(), 1);
    EXPECT_EQ(storedTime(), unixSeconds(last + 7 * 24h));

    const auto* shown = delegate.notificationWindowController.get();
    tickAt(kLaunch + 41 * 3h);
    EXPECT_EQ(delegate.notificationWindowController.get(), shown);
    EXPECT_EQ(storedTime(), unixSeconds(last + 7 * 24h));
}

TEST_F(NotificationSchedulerTest, AStoredValueThatIsNotADateCountsAsNone)
{
    for (const auto& stored : {plist::Value(std::string("2023-11-14T22:13:20Z")), plist::Value(unixSeconds(kLaunch))}) {
        store(stored);
        delegate.applicationDidFinishLaunching();
        EXPECT_EQ(storedTime(), unixSeconds(kLaunch)) << stored.is<std::string>();
        dispatch::MainQueue::drain();
        EXPECT_EQ(visibleReminderWindows(), 1) << stored.is<std::string>();
    }
}

// Without the agent's delegate nothing is shown but the time is stored; a tick after the delegate
// is gone does nothing harmful.
TEST_F(NotificationSchedulerTest, WithoutTheAgentsDelegateNothingIsShownButTheTimeIsStored)
{
    AppDelegate::setApplicationDelegate(nullptr);
    delegate.applicationDidFinishLaunching();
    dispatch::MainQueue::drain();
    EXPECT_EQ(visibleReminderWindows(), 0);
    EXPECT_FALSE(delegate.notificationWindowController);
    EXPECT_EQ(storedTime(), unixSeconds(kLaunch));

    ASSERT_TRUE(agentDefaults().removeObject("lastNotificationTime"));
    auto shortLived = std::make_unique<AppDelegate>(scheduler);
    AppDelegate::setApplicationDelegate(shortLived.get());
    scheduler.start();
    shortLived.reset();
    EXPECT_EQ(AppDelegate::applicationDelegate(), nullptr);
    dispatch::MainQueue::drain();
    EXPECT_EQ(visibleReminderWindows(), 0);
}

TEST(MainLoopTimerTest, TicksAgainAndAgainOnTheEventLoopUntilDestroyed)
{
    int ticks = 0;
    auto timer = MainLoopTimer::start(1ms, [&] { ++ticks; });
    EXPECT_EQ(ticks, 0) << "the first tick comes from the event loop, not from start";
    ASSERT_TRUE(processEventsUntil([&] { return ticks >= 3; }));
    timer.reset();
    const int atDestruction = ticks;
    QCoreApplication::processEvents();
    EXPECT_EQ(ticks, atDestruction);
}

}  // namespace
