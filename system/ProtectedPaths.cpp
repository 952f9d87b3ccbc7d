#include "system/ProtectedPaths.h"

#include "platform/PathUtil.h"
#include "platform/SystemRoot.h"

bool isProtectedPath(const std::string& path)
{
    if (!path.empty() && path.back() == '*')
        return true;
    const std::string trimmed = platform::path::trimTrailingSlashes(path);
    for (const char* fixed : {"/", "/Library", "/Volumes", "/usr", "/Users", "/Applications", "/private"}) {
        if (trimmed == platform::fixedPath(fixed) || trimmed == fixed)
            return true;
    }
    return false;
}
