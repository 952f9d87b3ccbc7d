#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

// The daemon made sure of once for a removal run, and a wait for it that the run's Cancel ends:
// the starter (which may wait for an administrator's password and for the daemon to answer) runs
// on a thread of its own the first time the run needs the daemon; every caller waits until it has
// ended or the run was cancelled. Copies share one start.
class DaemonStart {
public:
    DaemonStart(std::function<void()> starter, std::shared_ptr<std::atomic<bool>> cancelled);

    // Starts the starter the first time; true once it has ended, false when the run was cancelled
    // before (the starter then ends on its own, unwaited for).
    bool await() const;

private:
    struct State {
        std::mutex mutex;
        std::condition_variable ended;
        bool started = false;
        bool done = false;
    };
    std::function<void()> starter_;
    std::shared_ptr<std::atomic<bool>> cancelled_;
    std::shared_ptr<State> state_ = std::make_shared<State>();
};
