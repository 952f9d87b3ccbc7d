#include "platform/Authorization.h"

#include "platform/FileSystem.h"
#include "platform/ProcessIdentity.h"
#include "platform/Subprocess.h"

#include <chrono>
#include <optional>

namespace platform::authorization {

namespace {

// polkit's own tool: a fixed system path, never one from the environment or a bundle.
constexpr const char* kPkcheck = "/usr/bin/pkcheck";

// A password prompt waits for a person; a check without one answers at once.
constexpr std::chrono::minutes kPromptLimit{5};
constexpr std::chrono::seconds kCheckLimit{20};

// Field 22 of /proc/PID/stat, the process's start time in clock ticks after boot, which polkit pairs
// with the pid so that a pid handed on never inherits a grant. The command name (field 2) may hold
// spaces and parentheses, so the fields are counted after its last ')'.
std::optional<std::string> startTimeOf(pid_t pid)
{
    const auto stat = fs::readFile("/proc/" + std::to_string(pid) + "/stat", 4096);
    if (!stat)
        return std::nullopt;
    const auto close = stat->rfind(')');
    if (close == std::string::npos)
        return std::nullopt;
    std::size_t at = close + 2;  // field 3
    for (int field = 3; field < 22; ++field) {
        at = stat->find(' ', at);
        if (at == std::string::npos)
            return std::nullopt;
        ++at;
    }
    const auto end = stat->find(' ', at);
    std::string value = stat->substr(at, end == std::string::npos ? std::string::npos : end - at);
    if (value.empty() || value.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    return value;
}

}  // namespace

Answer check(const PeerCredentials& process, const std::string& right, bool mayAsk)
{
    if (process.pid <= 0 || right.empty() || right.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789.-") != std::string::npos)
        return Answer::failed;
    const auto started = startTimeOf(process.pid);
    // Read under the pid; it counts only while the pid still names the process that asked.
    if (!started || !process::stillRunning(process))
        return Answer::failed;
    std::vector<std::string> argv = {kPkcheck, "--process",
                                     std::to_string(process.pid) + "," + *started + "," + std::to_string(process.uid),
                                     "--action-id", right};
    if (mayAsk)
        argv.push_back("--allow-user-interaction");
    Subprocess::Options options;
    options.silenceOtherOutput = true;
    options.timeout = mayAsk ? std::chrono::duration_cast<std::chrono::milliseconds>(kPromptLimit)
                             : std::chrono::duration_cast<std::chrono::milliseconds>(kCheckLimit);
    const auto result = Subprocess::run(argv, options);
    if (!result.started || !result.exited)
        return Answer::failed;
    switch (result.exitCode) {
    case 0:
        return process::stillRunning(process) ? Answer::granted : Answer::failed;
    case 1:
        return Answer::refused;
    case 2:
        return Answer::noPrompt;
    case 3:
        return Answer::dismissed;
    default:
        return Answer::failed;
    }
}

}  // namespace platform::authorization
