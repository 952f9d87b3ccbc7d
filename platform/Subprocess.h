#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// The one way the product runs a program and reads what it writes: argv[0] is run (no PATH
// search) with this process's environment, one of its outputs is read to the end, and the program
// is waited for. With a time-out, a program still running then is killed, before it is waited for:
// a pid is never signalled once it has been reaped, when it may already name another process.
// Blocks the calling thread; any thread may call.
class Subprocess {
public:
    struct Options {
        int capture = 1;                  // the output read: 1 (standard output) or 2 (standard error)
        bool silenceOtherOutput = false;  // the other of the two goes to /dev/null instead of ours
        std::optional<std::chrono::milliseconds> timeout;
    };
    struct Result {
        bool started = false;  // false: nothing ran (no pipe, no program to run)
        bool exited = false;   // it called exit; exitCode holds the status
        int exitCode = -1;
        int signal = 0;  // the signal that ended it, else 0
        bool timedOut = false;
        std::string output;
    };
    static Result run(const std::vector<std::string>& argv, const Options& options);
    static Result run(const std::vector<std::string>& argv) { return run(argv, Options{}); }
};

}  // namespace platform
