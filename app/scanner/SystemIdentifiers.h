#pragma once

#include <string_view>

// The identifiers that belong to the system, the platform's shared parts or Ostrova itself, so that
// no entry carrying one is ever offered as the remains of a removed application. The one list of
// such names in the project.
class SystemIdentifiers {
public:
    // Whether `identifier` (letter case ignored) is one of the listed names or extends one by
    // whole dotted parts ("com.apple.Safari", "com.qzt.ostrova.agent").
    static bool isSystem(std::string_view identifier);
};
