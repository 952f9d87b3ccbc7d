#include "platform/PathUtil.h"

#include <cstdlib>

// The user's folders as the XDG base directory rules name them.
namespace platform::path {

std::string configHome()
{
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/')
        return trimTrailingSlashes(xdg);
    return appending(homeDirectory(), ".config");
}

std::string runtimeDirectory()
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    // Without its trailing "/", or lstat would look through a link.
    const std::string folder = runtime ? trimTrailingSlashes(runtime) : std::string();
    return folder.size() > 1 && folder[0] == '/' ? folder : "";
}

}  // namespace platform::path
