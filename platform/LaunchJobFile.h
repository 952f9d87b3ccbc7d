#pragma once

#include "platform/PropertyList.h"

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

namespace platform {

// A launchd job file, read the one way that is safe for root: opened without following a link and
// without blocking (a FIFO never stalls the reader), accepted only as a regular file of at most
// kMaxBytes, and read once; the identity is that of the file whose bytes were read.
struct LaunchJobFile {
    static constexpr std::size_t kMaxBytes = 1u << 20;

    plist::Dictionary job;
    dev_t device = 0;
    ino_t inode = 0;
    uid_t owner = 0;

    // nullopt with a reason for anything else. With `noLinkOnTheWay`, no folder on the way from "/"
    // may be a link either (the daemon's rule); launchctl itself only refuses a linked job file.
    static std::optional<LaunchJobFile> read(const std::string& path, bool noLinkOnTheWay, std::string& why);
    // What launchd runs: "Program" when the job has one, else the first of "ProgramArguments" (the
    // other arguments are the program's); "" for neither.
    static std::string programOf(const plist::Dictionary& job);
    // The files a job runs that exist: its program, and for a job without "Program" also the other
    // strings of "ProgramArguments" that name files (a job that runs /usr/bin/open on an
    // application's helper runs that helper), in the job's order.
    static std::vector<std::string> programsOf(const plist::Dictionary& job);
};

}  // namespace platform
