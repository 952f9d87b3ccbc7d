#pragma once

#include <atomic>
#include <cstdint>
#include <string>

// The one size rule of every bundle and item Ostrova shows, in bytes: a folder's Spotlight size
// when at least 20480 bytes, else the sum of the logical sizes below it (links counted as
// themselves, each file once); a file's or link's own size; 0 when the path cannot be read. When
// `keepGoing` is given, a walk stops once it reads false (0 when it is false before the walk
// starts). Any thread.
std::int64_t fileSize(const std::string& path, const std::atomic<bool>* keepGoing = nullptr);
