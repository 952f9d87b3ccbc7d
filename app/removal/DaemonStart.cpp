#include "app/removal/DaemonStart.h"

#include <chrono>
#include <system_error>
#include <thread>

DaemonStart::DaemonStart(std::function<void()> starter, std::shared_ptr<std::atomic<bool>> cancelled)
    : starter_(std::move(starter)), cancelled_(std::move(cancelled))
{
}

bool DaemonStart::await() const
{
    std::unique_lock lock(state_->mutex);
    if (!state_->started) {
        state_->started = true;
        auto finish = [state = state_, starter = starter_] {
            if (starter)
                starter();
            std::lock_guard done(state->mutex);
            state->done = true;
            state->ended.notify_all();
        };
        try {
            std::thread(finish).detach();
        } catch (const std::system_error&) {
            // No thread to be had: the start is waited for here, without a Cancel.
            lock.unlock();
            finish();
            lock.lock();
        }
    }
    // Cancel only sets a flag: it is looked at a few times a second.
    while (!state_->done && !cancelled_->load())
        state_->ended.wait_for(lock, std::chrono::milliseconds(50));
    return state_->done && !cancelled_->load();
}
