#include "Auxiliary/ByteCountFormatter.h"

#include <array>
#include <cmath>
#include <cstdio>

ByteCountParts byteCountParts(std::int64_t bytes)
{
    if (bytes == 0)
        return {"0", ""};
    const bool negative = bytes < 0;
    // The magnitude as unsigned: INT64_MIN has no positive counterpart.
    const std::uint64_t magnitude = negative ? ~static_cast<std::uint64_t>(bytes) + 1 : static_cast<std::uint64_t>(bytes);
    const std::string sign = negative ? "-" : "";
    if (magnitude < 1000)
        return {sign + std::to_string(magnitude), "bytes"};

    static constexpr std::array<const char*, 7> kUnits = {"bytes", "KB", "MB", "GB", "TB", "PB", "EB"};
    std::size_t unit = 1;
    long double divisor = 1000.0L;
    while (unit + 1 < kUnits.size() && static_cast<long double>(magnitude) >= divisor * 1000.0L) {
        divisor *= 1000.0L;
        ++unit;
    }
    for (;;) {
        const int decimals = unit == 1 ? 0 : unit == 2 ? 1 : 2;
        const long double scale = std::pow(10.0L, decimals);
        const long double rounded = std::round(static_cast<long double>(magnitude) / divisor * scale) / scale;
        if (rounded >= 1000.0L && unit + 1 < kUnits.size()) {
            divisor *= 1000.0L;
            ++unit;
            continue;
        }
        char text[64];
        std::snprintf(text, sizeof text, "%.*Lf", decimals, rounded);
        std::string number = text;
        if (number.find('.') != std::string::npos) {
            while (number.back() == '0')
                number.pop_back();
            if (number.back() == '.')
                number.pop_back();
        }
        return {sign + number, kUnits[unit]};
    }
}

std::string format2ByteCountString(std::int64_t bytes)
{
    const ByteCountParts parts = byteCountParts(bytes);
    if (parts.unit.empty())
        return "Zero KB";
    if (parts.unit == "bytes" && (parts.number == "1" || parts.number == "-1"))
        return parts.number + " byte";
    return parts.number + " " + parts.unit;
}
