#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace dispatch {

// NSConditionLock: a lock that carries an integer condition. lockWhenCondition waits until the
// condition has the value and then holds the lock; unlockWithCondition sets a new value and releases.
class ConditionLock {
public:
    explicit ConditionLock(int condition = 0) : condition_(condition) {}

    void lock();
    void unlock();
    void lockWhenCondition(int condition);
    // false when the time ran out without the condition (the lock is then not held).
    bool lockWhenCondition(int condition, std::chrono::milliseconds timeout);
    void unlockWithCondition(int condition);
    int condition() const;

private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    bool held_ = false;
    int condition_;
};

}  // namespace dispatch
