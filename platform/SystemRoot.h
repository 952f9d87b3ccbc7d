#pragma once

#include <string>
#include <string_view>

namespace platform {

// The folder that stands for "/" of the Mac: OSTROVA_ROOT when set and not empty, "/" otherwise.
// Read from the environment on every call so that tests can point it elsewhere.
std::string systemRoot();

// The one place that knows the root: maps a fixed system path ("/Applications", "/Library/Caches")
// to the path on this machine. Paths that are not absolute are returned unchanged.
std::string fixedPath(std::string_view macPath);

// The other way round: the Mac path of a path on this machine ("/Users/ann" for
// "<root>/Users/ann"); a path outside the root is returned unchanged.
std::string macPathOf(const std::string& hostPath);

}  // namespace platform
