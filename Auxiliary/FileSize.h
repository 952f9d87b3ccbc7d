#pragma once

#include <cstdint>
#include <string>

// Size in bytes of a file or folder: a folder's Spotlight size when at least 20480 bytes, else the
// sum of the logical sizes below it (links counted as themselves); a file's own size; 0 when the
// path cannot be read. Any thread.
std::int64_t fileSize(const std::string& path);
