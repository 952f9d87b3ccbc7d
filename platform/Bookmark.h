#pragma once

#include "platform/PropertyList.h"

#include <optional>
#include <string>

namespace platform {

// Bookmark data and file-reference URLs. A bookmark records the folder's path with its device,
// inode and birth time; it resolves through the path and is stale when another file now stands
// there. A file-reference URL names the device and inode: file:///.file/id=DEV.INODE.
class Bookmark {
public:
    struct Resolved {
        std::string path;
        bool isStale = false;
        bool securityScoped = false;
    };

    static std::optional<std::string> fileReferenceURL(const std::string& path);
    static std::optional<plist::Data> create(const std::string& path, bool securityScope);
    // nullopt when the data is not a bookmark or nothing exists at its path any more.
    static std::optional<Resolved> resolve(const plist::Data& data, bool securityScope);
};

}  // namespace platform
