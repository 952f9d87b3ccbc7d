#include "Auxiliary/ByteCountFormatter.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

// Negative values keep their sign before the text of their size.
TEST(ByteCountFormatter, FileStyleTable)
{
    const std::vector<std::pair<std::int64_t, std::string>> table = {
        {0, "Zero KB"}, {1, "1 byte"}, {2, "2 bytes"}, {999, "999 bytes"}, {1000, "1 KB"}, {1499, "1 KB"}, {1500, "2 KB"},
        {20480, "20 KB"}, {999499, "999 KB"}, {999500, "1 MB"}, {1000000, "1 MB"}, {1234567, "1.2 MB"}, {1250001, "1.3 MB"},
        {10000000, "10 MB"}, {999949999, "999.9 MB"}, {999950000, "1 GB"}, {1234567890, "1.23 GB"}, {1500000000, "1.5 GB"},
        {1000000000000, "1 TB"}, {2718281828459, "2.72 TB"}, {1000000000000000, "1 PB"}, {4567000000000000, "4.57 PB"},
        {std::numeric_limits<std::int64_t>::max(), "9.22 EB"}, {-1, "-1 byte"}, {-999, "-999 bytes"}, {-1500, "-2 KB"},
        {-1234567, "-1.2 MB"}, {std::numeric_limits<std::int64_t>::min(), "-9.22 EB"},
    };
    for (const auto& [bytes, text] : table)
        EXPECT_EQ(format2ByteCountString(bytes), text) << bytes;
}

}  // namespace
