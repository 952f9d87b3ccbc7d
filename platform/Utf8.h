#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// UTF-8 helpers shared by the readers and writers of text.
namespace platform::utf8 {

void append(std::string& out, std::uint32_t codePoint);
// Length of the well-formed sequence that starts at `at` (shortest form, no surrogates), 0 when
// the bytes there are not one.
std::size_t sequenceLength(std::string_view text, std::size_t at);
bool isValid(std::string_view text);

}  // namespace platform::utf8
