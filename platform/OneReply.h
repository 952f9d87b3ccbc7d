#pragma once

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>

namespace dispatch {

// One answer handed from the thread that has it to the thread that waits for it. The first answer
// counts and later ones are dropped; the waiter may give up after a time limit. Made shared, so an
// answer that comes after the waiter left still finds it alive.
template <typename T>
class OneReply {
public:
    static std::shared_ptr<OneReply> make() { return std::make_shared<OneReply>(); }

    // Returns whether this was the first answer.
    bool answer(T value)
    {
        {
            std::lock_guard guard(mutex_);
            if (value_)
                return false;
            value_.emplace(std::move(value));
        }
        arrived_.notify_all();
        return true;
    }

    T wait()
    {
        std::unique_lock guard(mutex_);
        arrived_.wait(guard, [&] { return value_.has_value(); });
        return *value_;
    }

    // The answer, or nothing when none came within `limit`.
    std::optional<T> waitFor(std::chrono::milliseconds limit)
    {
        std::unique_lock guard(mutex_);
        if (!arrived_.wait_for(guard, limit, [&] { return value_.has_value(); }))
            return std::nullopt;
        return value_;
    }

private:
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::optional<T> value_;
};

}  // namespace dispatch
