#pragma once

#include <chrono>
#include <map>
#include <mutex>
#include <string>
#include <string_view>

// The daemon's log: standard output, which launchd sends to the job's log file. Clients can make
// the daemon write, so every line kind is rate-limited (kBurst lines per kInterval; what was held
// back is counted and said once the interval is over) and every text a client supplied goes in
// escaped. Any thread may write.
class DaemonLog {
public:
    static constexpr std::size_t kBurst = 5;
    static constexpr std::chrono::seconds kInterval{10};

    static DaemonLog& shared();

    // Writes "OstrovaDaemon: <line>" unless lines of this kind are over their rate.
    void write(const std::string& kind, const std::string& line);

    // Client-supplied text made safe for one log line: control characters, backslashes and bytes
    // that are not UTF-8 are written as escapes ("\n", "\\", "\x1b").
    static std::string escaped(std::string_view text);

private:
    struct Rate {
        std::chrono::steady_clock::time_point start{};
        std::size_t written = 0;
        std::size_t heldBack = 0;
    };
    std::mutex mutex_;
    std::map<std::string, Rate> rates_;
};
