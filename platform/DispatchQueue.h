#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>

namespace dispatch {

using Task = std::function<void()>;
using Clock = std::chrono::steady_clock;

// A serial queue with a thread of its own: tasks run one at a time, in the order of their due time
// and, for equal times, of submission. Destroying the queue finishes the running task, drops the
// ones still waiting and joins the thread.
class SerialQueue {
public:
    explicit SerialQueue(std::string label);
    ~SerialQueue();
    SerialQueue(const SerialQueue&) = delete;
    SerialQueue& operator=(const SerialQueue&) = delete;

    const std::string& label() const { return label_; }
    void async(Task task);
    void asyncAfter(std::chrono::duration<double> delay, Task task);
    // Runs the task on the queue and waits for it. Must not be called from the queue itself.
    void sync(const Task& task);
    bool isCurrent() const;

private:
    // Shared with the queue's thread, so that a task that drops the last reference to the queue's
    // owner (and so destroys the queue on its own thread) leaves the loop something to finish on.
    struct State {
        std::mutex mutex;
        std::condition_variable wake;
        std::multimap<std::pair<Clock::time_point, std::uint64_t>, Task> tasks;
        std::uint64_t sequence = 0;
        bool stopping = false;
    };
    static void run(const std::shared_ptr<State>& state);

    std::string label_;
    std::shared_ptr<State> state_;
    std::thread thread_;
};

// The global concurrent queue: each task runs on a thread of a small pool.
class GlobalQueue {
public:
    static void async(Task task);
    static void asyncAfter(std::chrono::duration<double> delay, Task task);
};

// The main queue. Programs with an event loop install an executor that posts to it; without one,
// tasks wait in a queue that the owner of the main thread drains (tests do so with drain/runUntil).
class MainQueue {
public:
    using Executor = std::function<void(Task)>;
    static void setExecutor(Executor executor);
    static void async(Task task);
    static void asyncAfter(std::chrono::duration<double> delay, Task task);
    // Runs the tasks queued so far; returns how many ran.
    static std::size_t drain();
    // Drains until the predicate holds or the time is up; answers the predicate's last value.
    static bool runUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);
};

}  // namespace dispatch
