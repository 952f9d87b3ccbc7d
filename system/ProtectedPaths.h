#pragma once

#include <string>

// Paths no removal ever touches and no shell command ever names: "/", "/Library", "/Volumes",
// "/usr", "/Users", "/Applications", "/private" (under the system root), and anything ending in
// "*".
bool isProtectedPath(const std::string& path);
