#include "platform/DispatchQueue.h"

#include <deque>
#include <memory>
#include <vector>

namespace dispatch {

SerialQueue::SerialQueue(std::string label)
    : label_(std::move(label)), state_(std::make_shared<State>()), thread_([state = state_] { run(state); })
{
}

SerialQueue::~SerialQueue()
{
    {
        std::lock_guard lock(state_->mutex);
        state_->stopping = true;
    }
    state_->wake.notify_all();
    if (thread_.joinable()) {
        if (thread_.get_id() == std::this_thread::get_id())
            thread_.detach();
        else
            thread_.join();
    }
}

void SerialQueue::async(Task task)
{
    asyncAfter(std::chrono::duration<double>(0), std::move(task));
}

void SerialQueue::asyncAfter(std::chrono::duration<double> delay, Task task)
{
    const auto due = Clock::now() + std::chrono::duration_cast<Clock::duration>(delay);
    {
        std::lock_guard lock(state_->mutex);
        if (state_->stopping)
            return;
        state_->tasks.emplace(std::make_pair(due, state_->sequence++), std::move(task));
    }
    state_->wake.notify_all();
}

void SerialQueue::sync(const Task& task)
{
    std::mutex doneMutex;
    std::condition_variable doneSignal;
    bool done = false;
    async([&] {
        task();
        std::lock_guard lock(doneMutex);
        done = true;
        doneSignal.notify_all();
    });
    std::unique_lock lock(doneMutex);
    doneSignal.wait(lock, [&] { return done; });
}

bool SerialQueue::isCurrent() const
{
    return thread_.get_id() == std::this_thread::get_id();
}

void SerialQueue::run(const std::shared_ptr<State>& state)
{
    std::unique_lock lock(state->mutex);
    while (!state->stopping) {
        if (state->tasks.empty()) {
            state->wake.wait(lock);
            continue;
        }
        const auto due = state->tasks.begin()->first.first;
        if (due > Clock::now()) {
            state->wake.wait_until(lock, due);
            continue;
        }
        Task task = std::move(state->tasks.begin()->second);
        state->tasks.erase(state->tasks.begin());
        lock.unlock();
        task();
        task = nullptr;  // what it held (perhaps the queue's owner) goes before the lock is taken
        lock.lock();
    }
}

namespace {

// Global work runs on a few lazily made serial lanes; a delayed task does not hold up a lane.
class GlobalPool {
public:
    static GlobalPool& instance()
    {
        static auto* pool = new GlobalPool;  // lives until exit: tasks may be queued from anywhere
        return *pool;
    }
    void async(Task task)
    {
        std::lock_guard lock(mutex_);
        const std::size_t lane = next_++ % lanes_.size();
        if (!lanes_[lane])
            lanes_[lane] = std::make_unique<SerialQueue>("global." + std::to_string(lane));
        lanes_[lane]->async(std::move(task));
    }
    void asyncAfter(std::chrono::duration<double> delay, Task task)
    {
        timer_.asyncAfter(delay, [this, task = std::move(task)]() mutable { async(std::move(task)); });
    }

private:
    GlobalPool() : lanes_(std::max(2u, std::thread::hardware_concurrency())) {}
    std::mutex mutex_;
    std::vector<std::unique_ptr<SerialQueue>> lanes_;
    std::size_t next_ = 0;
    SerialQueue timer_{"global.timer"};
};

struct MainState {
    std::mutex mutex;
    MainQueue::Executor executor;
    std::deque<Task> pending;
    std::condition_variable arrived;
};

MainState& mainState()
{
    static auto* state = new MainState;
    return *state;
}

}  // namespace

void GlobalQueue::async(Task task)
{
    GlobalPool::instance().async(std::move(task));
}

void GlobalQueue::asyncAfter(std::chrono::duration<double> delay, Task task)
{
    GlobalPool::instance().asyncAfter(delay, std::move(task));
}

void MainQueue::setExecutor(Executor executor)
{
    auto& state = mainState();
    std::lock_guard lock(state.mutex);
    state.executor = std::move(executor);
}

void MainQueue::async(Task task)
{
    auto& state = mainState();
    std::unique_lock lock(state.mutex);
    if (state.executor) {
        auto executor = state.executor;
        lock.unlock();
        executor(std::move(task));
        return;
    }
    state.pending.push_back(std::move(task));
    state.arrived.notify_all();
}

void MainQueue::asyncAfter(std::chrono::duration<double> delay, Task task)
{
    GlobalQueue::asyncAfter(delay, [task = std::move(task)]() mutable { MainQueue::async(std::move(task)); });
}

std::size_t MainQueue::drain()
{
    auto& state = mainState();
    std::deque<Task> batch;
    {
        std::lock_guard lock(state.mutex);
        batch.swap(state.pending);
    }
    for (auto& task : batch)
        task();
    return batch.size();
}

bool MainQueue::runUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout)
{
    auto& state = mainState();
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        drain();
        if (done())
            return true;
        std::unique_lock lock(state.mutex);
        if (Clock::now() >= deadline)
            return false;
        state.arrived.wait_until(lock, std::min(deadline, Clock::now() + std::chrono::milliseconds(20)),
                                 [&] { return !state.pending.empty(); });
    }
}

}  // namespace dispatch
