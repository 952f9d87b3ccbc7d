#include "platform/Bundle.h"
#include "platform/FileSystem.h"

namespace platform {

std::string Bundle::executablePath()
{
    return fs::readLink("/proc/self/exe").value_or("");
}

}  // namespace platform
