#pragma once

#include <optional>
#include <string>

namespace platform {

// The links a Mac puts above everyone's files (/var, /tmp and /etc into /private): links that only
// root could have made or could change. A link counts as such a system link when it and every
// folder above it belong to root and no group or other user may write those folders; a sticky
// folder writable by others (like /tmp) counts when the entry below it belongs to root, since
// nobody else may replace that entry. Any other link on the way is one a user could have made or
// changed, and is never passed.
class SystemLinks {
public:
    // The path with every system link among its parent folders replaced by what it points to,
    // resolved once; the last component is left as it is (a link there is the item itself).
    // Components that do not exist are kept as they are. nullopt (with a reason) when the path is
    // not canonical or another link lies among the parents.
    static std::optional<std::string> resolveParents(const std::string& path, std::string& why);
    // The same for a folder: every component resolved, the last one too.
    static std::optional<std::string> resolveFolder(const std::string& path, std::string& why);
};

}  // namespace platform
