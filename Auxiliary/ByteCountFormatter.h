#pragma once

#include <cstdint>
#include <string>

// The text the Finder shows for a size: decimal units, no decimals for KB, one for MB, two from GB
// up, trailing zeros dropped; "Zero KB" for 0, "1 byte" and "N bytes" below 1000.
std::string format2ByteCountString(std::int64_t bytes);
