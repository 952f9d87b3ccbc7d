#pragma once

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

class StopToken;

// Measures the bundles of a scan run ahead of the scan, a few at a time. A size walk waits on the
// disk for each folder and inode it reads when they are not cached; walking several bundles at
// once keeps several reads in flight, which a cold disk answers in about the time of one. The scan
// takes a bundle's size when it reaches the application: the result when the walk is done, the
// walk's end when it runs, and otherwise it walks the bundle itself.
class BundleSizes {
public:
    static constexpr int kThreads = 6;

    // `paths` in the order the scan will ask for them; `stop` ends every walk.
    BundleSizes(std::vector<std::string> paths, std::weak_ptr<StopToken> stop, int threads = kThreads);
    ~BundleSizes();
    BundleSizes(const BundleSizes&) = delete;
    BundleSizes& operator=(const BundleSizes&) = delete;

    // SizeWalk::sizeOfPath's answer for `path`; 0 once the run is stopped (or its token gone).
    std::int64_t sizeOf(const std::string& path);

    // Waits until the threads have nothing left to take: every bundle walked, or the run stopped.
    // Call from one thread only.
    void waitForWalks();
    // How many walks the threads of this run made (the others were made by the callers).
    int walkedAhead() const;

private:
    enum class State { waiting, walking, done };
    struct Slot {
        std::string path;
        State state = State::waiting;
        std::int64_t size = 0;
    };

    void work();
    // Walks a waiting slot's bundle with `lock` released meanwhile; its size.
    std::int64_t walk(Slot& slot, std::unique_lock<std::mutex>& lock);
    std::int64_t measure(const std::string& path) const;
    bool going() const;

    std::weak_ptr<StopToken> stop_;
    std::vector<Slot> slots_;
    std::unordered_map<std::string, std::size_t> slotOf_;
    mutable std::mutex mutex_;
    std::condition_variable done_;
    std::size_t next_ = 0;
    int walkedAhead_ = 0;
    bool leaving_ = false;
    std::vector<std::thread> threads_;
};
