#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

// How many installed applications were last opened more than kDays ago: the bundles directly in
// the application folders and in the plain folders there (as the window lists them), by the same
// last-used date the window shows. Applications without a date are not counted.
class UnusedApplications {
public:
    static constexpr int kDays = 90;

    // std::nullopt when none of the folders could be listed.
    static std::optional<int> count(const std::vector<std::string>& folders, std::chrono::system_clock::time_point now);
};
