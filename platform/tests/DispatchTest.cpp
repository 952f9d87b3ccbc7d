#include "platform/ConditionLock.h"
#include "platform/DispatchQueue.h"
#include "platform/OneReply.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

TEST(SerialQueue, RunsTasksOneAtATimeInOrderOnItsOwnThread)
{
    dispatch::SerialQueue queue("test.serial");
    std::vector<int> order;
    std::atomic<int> running{0};
    std::atomic<bool> overlapped{false};
    for (int i = 0; i < 50; ++i) {
        queue.async([&, i] {
            if (running.fetch_add(1) != 0)
                overlapped = true;
            EXPECT_TRUE(queue.isCurrent());
            order.push_back(i);
            running.fetch_sub(1);
        });
    }
    queue.sync([] {});
    ASSERT_EQ(order.size(), 50u);
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(order[static_cast<std::size_t>(i)], i);
    EXPECT_FALSE(overlapped);
    EXPECT_FALSE(queue.isCurrent());
}

TEST(SerialQueue, DelayedTasksRunByDueTime)
{
    dispatch::SerialQueue queue("test.delay");
    std::vector<int> order;
    const auto start = dispatch::Clock::now();
    const auto ranAt = dispatch::OneReply<dispatch::Clock::time_point>::make();
    queue.asyncAfter(0.15s, [&, ranAt] {
        order.push_back(3);
        ranAt->answer(dispatch::Clock::now());
    });
    queue.asyncAfter(0.05s, [&] { order.push_back(2); });
    queue.async([&] { order.push_back(1); });
    const auto ran = ranAt->waitFor(10s);
    ASSERT_TRUE(ran.has_value());
    queue.sync([] {});
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
    EXPECT_GE(*ran - start, 150ms);
}

// Destruction drops the waiting tasks, and may come from a task of the queue itself.
TEST(SerialQueue, DestructionDropsWaitingTasksAndATaskMayDestroyItsOwnQueue)
{
    std::atomic<int> dropped{0};
    {
        dispatch::SerialQueue queue("test.drop");
        queue.asyncAfter(10s, [&] { ++dropped; });
    }
    EXPECT_EQ(dropped.load(), 0);

    auto queue = std::make_shared<dispatch::SerialQueue>("test.self");
    std::atomic<bool> ran{false};
    std::weak_ptr<dispatch::SerialQueue> watch = queue;
    queue->async([owned = queue, &ran]() mutable {
        ran = true;
        owned.reset();  // the last reference: the queue goes on its own thread
    });
    queue.reset();
    for (int i = 0; i < 200 && !watch.expired(); ++i)
        std::this_thread::sleep_for(5ms);
    EXPECT_TRUE(ran);
    EXPECT_TRUE(watch.expired());
}

TEST(MainQueue, TasksWaitUntilTheMainThreadDrainsAndAConditionLockForItsCondition)
{
    std::atomic<int> ran{0};
    dispatch::GlobalQueue::async([&] { dispatch::MainQueue::async([&] { ++ran; }); });
    EXPECT_TRUE(dispatch::MainQueue::runUntil([&] { return ran.load() == 1; }, 5000ms));
    EXPECT_FALSE(dispatch::MainQueue::runUntil([] { return false; }, 30ms));

    dispatch::ConditionLock lock(0);
    EXPECT_FALSE(lock.lockWhenCondition(1, 30ms));
    std::thread answer([&] {
        std::this_thread::sleep_for(20ms);
        lock.lock();
        lock.unlockWithCondition(1);
    });
    EXPECT_TRUE(lock.lockWhenCondition(1, 5000ms));
    EXPECT_EQ(lock.condition(), 1);
    lock.unlockWithCondition(0);
    answer.join();
    EXPECT_EQ(lock.condition(), 0);
}

}  // namespace

TEST(OneReply, TheFirstAnswerCountsAndAWaiterMayGiveUp)
{
    const auto reply = dispatch::OneReply<int>::make();
    EXPECT_FALSE(reply->waitFor(20ms).has_value());
    std::thread answering([reply] {
        EXPECT_TRUE(reply->answer(7));
        EXPECT_FALSE(reply->answer(8));
    });
    EXPECT_EQ(reply->wait(), 7);
    answering.join();
    EXPECT_EQ(reply->waitFor(0ms), 7);

    // An answer that comes after the waiter left finds the reply alive.
    std::thread late;
    std::weak_ptr<dispatch::OneReply<std::string>> watch;
    {
        const auto abandoned = dispatch::OneReply<std::string>::make();
        watch = abandoned;
        late = std::thread([abandoned] { EXPECT_TRUE(abandoned->answer(std::string(1000, 'x'))); });
    }
    late.join();
    EXPECT_TRUE(watch.expired());
}
