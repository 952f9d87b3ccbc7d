#pragma once

#include <mutex>

// A value with a lock of its own: every read and every write takes the lock. An increment is a
// read followed by a write, not one locked step.
template <typename T>
class LockedValue {
public:
    explicit LockedValue(T initial = T{}) : value_(std::move(initial)) {}

    T get() const
    {
        std::lock_guard guard(lock_);
        return value_;
    }
    void set(T value)
    {
        std::lock_guard guard(lock_);
        value_ = std::move(value);
    }

private:
    mutable std::mutex lock_;
    T value_;
};
