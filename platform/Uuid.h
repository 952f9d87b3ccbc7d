#pragma once

#include <string>

namespace platform {

// A random (version 4) UUID in upper case with hyphens, as NSUUID prints it.
std::string makeUuidString();

}  // namespace platform
