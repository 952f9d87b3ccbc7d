#pragma once

#include <cstdint>
#include <string>

// What a bundle holds at one moment, enough to tell whether something is still writing into it:
// a copy made file by file keeps adding files and bytes, and its Info.plist may come last.
class BundleSnapshot {
public:
    bool exists = false;
    // Whether its Info.plist names an identifier yet.
    bool readable = false;
    std::uint64_t entries = 0;
    std::uint64_t bytes = 0;
    // The latest change of anything in it, in nanoseconds.
    std::int64_t newestChange = 0;

    // Walks the bundle without following links.
    static BundleSnapshot of(const std::string& bundlePath);

    bool operator==(const BundleSnapshot&) const = default;
};
