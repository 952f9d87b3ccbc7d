#pragma once

#include "platform/PropertyList.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The entitlements a Mach-O executable carries in its embedded code signature: the XML property
// list of the signature's entitlements blob. A shipped application often declares its groups only
// there. Thin executables of either word size and byte order and universal ones (each slice tried in
// turn) are read. Every offset and length in the file is checked before it is used, and only the
// bytes needed are read, so a hostile, huge or sparse file costs a few small reads.
class CodeSignature {
public:
    static constexpr std::size_t kMaxEntitlementsBytes = 1u << 20;
    static constexpr std::uint32_t kMaxSlices = 8;
    static constexpr std::uint32_t kMaxLoadCommands = 4096;
    static constexpr std::uint32_t kMaxLoadCommandBytes = 1u << 20;
    static constexpr std::uint32_t kMaxBlobs = 64;

    // The entitlements of the executable at `path`: opened without following a link and without
    // blocking, read only when it is a regular file. nullopt when it is anything else, carries no
    // signature or no entitlements, or they are not a property-list dictionary.
    static std::optional<plist::Dictionary> entitlementsOf(const std::string& path);
    // The same for an executable's bytes in memory.
    static std::optional<plist::Dictionary> entitlementsIn(std::string_view executable);
};

}  // namespace platform
