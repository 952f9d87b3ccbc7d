#pragma once

#include <cstdint>
#include <string>

// The text the Finder shows for a size: decimal units, no decimals for KB, one for MB, two from GB
// up, trailing zeros dropped; "Zero KB" for 0, "1 byte" and "N bytes" below 1000.
std::string format2ByteCountString(std::int64_t bytes);

// The same size in parts: the number as the text writes it (a "." before decimals, "-" for a
// negative size) and its unit ("bytes" below 1000, also for one byte; "" for 0).
struct ByteCountParts {
    std::string number;
    std::string unit;
};
ByteCountParts byteCountParts(std::int64_t bytes);
