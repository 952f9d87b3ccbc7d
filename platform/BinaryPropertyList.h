#pragma once

#include "platform/PropertyList.h"

#include <optional>
#include <string_view>

namespace plist {

// Reads the binary property-list format ("bplist00") with every offset, count and reference checked
// against the bytes, nesting limited to kMaxDepth, and the values produced limited in number and in
// total size to a small multiple of the input (shared objects could otherwise multiply a small
// input into gigabytes). Keys may hold any bytes. nullopt for anything malformed,
// including a dictionary with a key that is not a string.
std::optional<Value> parseBinary(std::string_view bytes);

}  // namespace plist
