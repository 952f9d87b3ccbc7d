#include "platform/TreeSize.h"

#include "platform/Statistics.h"
#include "platform/SystemCalls.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <condition_variable>
#include <cstring>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <utility>
#include <thread>
#include <vector>

namespace platform {
namespace {

using sys::calls;
using sys::restarting;

constexpr int kOpenFolder = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

bool isDotOrDotDot(const char* name)
{
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// Threads that lend a hand to the walks that ask. More keep more reads in flight for a cold walk,
// but on two cores they slow the warm scan and the walk for installed bundles beside it
// (bench/README.md): one helper.
class WalkHelper {
public:
    static constexpr int kThreads = 1;

    static WalkHelper& instance()
    {
        static auto* helper = new WalkHelper;  // lives until exit; its thread is detached
        return *helper;
    }

    void assist(std::function<void()> job)
    {
        std::lock_guard lock(mutex_);
        jobs_.push_back(std::move(job));
        wake_.notify_one();
    }

private:
    WalkHelper()
    {
        for (int i = 0; i < kThreads; ++i)
            std::thread([this] { run(); }).detach();
    }

    void run()
    {
        for (;;) {
            std::function<void()> job;
            {
                std::unique_lock lock(mutex_);
                wake_.wait(lock, [&] { return !jobs_.empty(); });
                job = std::move(jobs_.front());
                jobs_.pop_front();
            }
            job();
        }
    }

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> jobs_;
};

// A walk shared by up to two threads: the caller and, once a folder holds another folder, the
// helper. Each thread walks the subtree it holds depth first, opening folders relative to their
// parent (no path is looked up again); whenever the other thread waits for work, the folders it
// comes across go to the shared list instead. The state is shared with the helper's job so that it
// outlives a helper that is still leaving when the caller returns.
class Walk : public std::enable_shared_from_this<Walk> {
public:
    explicit Walk(const std::atomic<bool>* keepGoing) : keepGoing_(keepGoing) {}

    std::int64_t run(const std::string& root)
    {
        {
            std::lock_guard lock(mutex_);
            shared_.push_back(root);
        }
        work(true);
        std::unique_lock lock(mutex_);
        finished_ = true;  // a helper that has not started yet stays out
        changed_.wait(lock, [&] { return helpers_ == 0; });
        return total_;
    }

private:
    // Beyond this depth a subtree is handed over by path, so open folders stay few.
    static constexpr int kMaxOpenDepth = 48;
    static constexpr std::uint64_t kEntriesBeforeHelp = 256;
    static constexpr std::size_t kFoldersBeforeHelp = 4;

    struct Tally {
        std::int64_t bytes = 0;
        std::uint64_t entries = 0;
    };

    bool going() const { return keepGoing_ == nullptr || keepGoing_->load(std::memory_order_relaxed); }

    void work(bool owner)
    {
        Tally tally;
        std::unique_lock lock(mutex_);
        if (!owner) {
            if (finished_)
                return;
            ++helpers_;
        }
        for (;;) {
            if (!shared_.empty() && going()) {
                std::string path = std::move(shared_.back());
                shared_.pop_back();
                ++walking_;
                lock.unlock();
                const int fd = restarting([&] { return calls().open(path.c_str(), kOpenFolder, 0); });
                if (fd >= 0)
                    walkFolder(fd, path, 0, tally);
                lock.lock();
                --walking_;
                changed_.notify_all();
                continue;
            }
            if (walking_ == 0 || !going())
                break;
            ++waiting_;
            wantsWork_.store(true, std::memory_order_relaxed);
            changed_.wait(lock);
            --waiting_;
            wantsWork_.store(waiting_ > 0, std::memory_order_relaxed);
        }
        total_ += tally.bytes;
        if (!owner)
            --helpers_;
        changed_.notify_all();
    }

    // True the first time a file (device and inode) is met in this walk.
    bool firstSighting(const struct stat& st)
    {
        std::lock_guard lock(linksMutex_);
        return linked_.insert({static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)}).second;
    }

    // Hands the folders to the other thread when it waits for work; the first time there is more
    // than one, the helper is asked to join. False when nobody takes them.
    bool handOver(std::vector<std::string>& paths, const Tally& tally)
    {
        if (!wantsWork_.load(std::memory_order_relaxed) && askedForHelp_.load(std::memory_order_relaxed))
            return false;
        // Waking the helper costs more than a small folder takes to walk alone: it is asked once a
        // walk has shown some width.
        if (!askedForHelp_.load(std::memory_order_relaxed) && tally.entries < kEntriesBeforeHelp &&
            paths.size() < kFoldersBeforeHelp)
            return false;
        std::lock_guard lock(mutex_);
        if (!askedForHelp_.exchange(true)) {
            // The helpers take these when they come; if this thread is done first, it takes them back.
            for (int i = 0; i < WalkHelper::kThreads; ++i)
                WalkHelper::instance().assist([self = shared_from_this()] { self->work(false); });
        } else if (waiting_ == 0) {
            return false;
        }
        for (auto& path : paths)
            shared_.push_back(std::move(path));
        paths.clear();
        changed_.notify_all();
        return true;
    }

    // Sums the folder open as `fd` (at `path`) and everything below it; closes `fd`.
    void walkFolder(int fd, const std::string& path, int depth, Tally& tally)
    {
        statistics::directoryListings.fetch_add(1, std::memory_order_relaxed);
        std::vector<std::string> subfolders;
        alignas(8) char buffer[32768];
        bool stop = false;
        while (!stop) {
            const long n = restarting([&] { return calls().readFolder(fd, buffer, sizeof buffer); });
            if (n <= 0)
                break;
            sys::FolderRecords records(buffer, n);
            for (sys::FolderEntry entry; records.next(entry);) {
                if (isDotOrDotDot(entry.name))
                    continue;
                if (!going()) {
                    stop = true;
                    break;
                }
                ++tally.entries;
                unsigned char type = entry.type;
                struct stat st {};
                if (type != DT_DIR) {
                    if (restarting([&] { return calls().fstatat(fd, entry.name, &st, AT_SYMLINK_NOFOLLOW); }) != 0)
                        continue;
                    type = S_ISDIR(st.st_mode) ? DT_DIR : DT_REG;
                }
                if (type == DT_DIR) {
                    subfolders.emplace_back(entry.name);
                    continue;
                }
                // The size of a walk is the space its removal frees: a file with several links
                // inside it counts once, as du counts it.
                if (st.st_nlink > 1 && !firstSighting(st))
                    continue;
                tally.bytes += st.st_size;
            }
        }
        auto childPath = [&](const std::string& name) {
            std::string child = path;
            if (child.back() != '/')
                child += '/';
            return child + name;
        };
        std::size_t keep = subfolders.size();
        if (depth + 1 >= kMaxOpenDepth) {
            keep = 0;
        } else if (subfolders.size() > 1 && going()) {
            keep = (subfolders.size() + 1) / 2;  // the other half may go to the other thread
        }
        if (keep < subfolders.size()) {
            std::vector<std::string> given;
            for (std::size_t i = keep; i < subfolders.size(); ++i)
                given.push_back(childPath(subfolders[i]));
            if (depth + 1 >= kMaxOpenDepth) {
                std::lock_guard lock(mutex_);
                for (auto& child : given)
                    shared_.push_back(std::move(child));
            } else if (!handOver(given, tally)) {
                keep = subfolders.size();
            }
        }
        for (std::size_t i = 0; i < keep && !stop && going(); ++i) {
            const int child = restarting([&] { return calls().openat(fd, subfolders[i].c_str(), kOpenFolder, 0); });
            if (child >= 0)
                walkFolder(child, childPath(subfolders[i]), depth + 1, tally);
        }
        calls().close(fd);
    }

    const std::atomic<bool>* keepGoing_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::string> shared_;
    std::atomic<bool> wantsWork_{false};
    std::atomic<bool> askedForHelp_{false};
    int walking_ = 0;
    int waiting_ = 0;
    int helpers_ = 0;
    bool finished_ = false;
    std::int64_t total_ = 0;
    std::mutex linksMutex_;
    std::set<std::pair<std::uint64_t, std::uint64_t>> linked_;  // files with several links met so far
};

}  // namespace

std::int64_t TreeSize::measure(const std::string& path, const std::atomic<bool>* keepGoing)
{
    struct stat st {};
    if (path.empty() || restarting([&] { return calls().lstat(path.c_str(), &st); }) != 0)
        return 0;
    if (!S_ISDIR(st.st_mode))
        return st.st_size;
    return std::make_shared<Walk>(keepGoing)->run(path);
}

}  // namespace platform
