#include "app/scanner/BundleSizes.h"

#include "app/scanner/SizeWalk.h"
#include "app/scanner/StopToken.h"

#include <algorithm>
#include <chrono>

BundleSizes::BundleSizes(std::vector<std::string> paths, std::weak_ptr<StopToken> stop, int threads)
    : stop_(std::move(stop))
{
    for (auto& path : paths) {
        if (path.empty() || slotOf_.count(path))
            continue;
        slotOf_.emplace(path, slots_.size());
        slots_.push_back(Slot{std::move(path)});
    }
    const auto count = std::min(static_cast<std::size_t>(std::max(threads, 0)), slots_.size());
    for (std::size_t i = 0; i < count; ++i)
        threads_.emplace_back([this] { work(); });
}

BundleSizes::~BundleSizes()
{
    {
        std::lock_guard lock(mutex_);
        leaving_ = true;
    }
    // Walks under way end with the bundle they measure; none starts after this.
    waitForWalks();
}

void BundleSizes::waitForWalks()
{
    for (auto& thread : threads_)
        if (thread.joinable())
            thread.join();
}

bool BundleSizes::going() const
{
    const auto stop = stop_.lock();
    return stop && stop->keepGoing();
}

std::int64_t BundleSizes::measure(const std::string& path) const
{
    const auto stop = stop_.lock();
    return stop ? SizeWalk::sizeOfPath(path, stop.get()) : 0;
}

void BundleSizes::work()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        while (next_ < slots_.size() && slots_[next_].state != State::waiting)
            ++next_;
        if (leaving_ || next_ == slots_.size() || !going())
            return;
        ++walkedAhead_;
        walk(slots_[next_++], lock);
    }
}

std::int64_t BundleSizes::walk(Slot& slot, std::unique_lock<std::mutex>& lock)
{
    slot.state = State::walking;
    lock.unlock();
    const std::int64_t size = measure(slot.path);
    lock.lock();
    slot.size = size;
    slot.state = State::done;
    done_.notify_all();
    return size;
}

std::int64_t BundleSizes::sizeOf(const std::string& path)
{
    std::unique_lock lock(mutex_);
    const auto found = slotOf_.find(path);
    if (found == slotOf_.end()) {
        lock.unlock();
        return measure(path);
    }
    Slot& slot = slots_[found->second];
    if (slot.state == State::waiting)
        return walk(slot, lock);
    // A stopped walk ends at its next entry; looking at the token now and then keeps a stop prompt
    // even if that entry is slow to come.
    while (slot.state != State::done && going())
        done_.wait_for(lock, std::chrono::milliseconds(50));
    return slot.state == State::done ? slot.size : 0;
}

int BundleSizes::walkedAhead() const
{
    std::lock_guard lock(mutex_);
    return walkedAhead_;
}
