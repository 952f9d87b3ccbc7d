#pragma once

#include "platform/PropertyList.h"

#include <optional>
#include <string_view>

namespace platform {

// A localised strings table (InfoPlist.strings): a property list (XML or binary) or the classic
// text form `"key" = "value";`, in UTF-8 or in UTF-16 with a byte-order mark. nullopt when the bytes
// are none of these.
std::optional<plist::Dictionary> parseStringsFile(std::string_view bytes);

}  // namespace platform
