#pragma once

#include <cstdint>
#include <optional>
#include <string>

// One process as the enumeration saw it.
class RkProcessInfo {
public:
    int pid = 0;
    int ppid = 0;
    unsigned int flag = 0;
    std::string userName;                      // "unknow" without a password entry
    std::string executableName;                // at most 32 bytes
    std::optional<std::string> executablePath; // nullopt when it cannot be read
    std::uint64_t startTime = 0;               // platform::ProcessTable::BsdInfo::startTime
};
