#include "platform/SystemTools.h"

#include "platform/FileSystem.h"

namespace platform::tools {

std::string serialNumber()
{
    const auto serial = fs::readFile("/sys/class/dmi/id/product_serial", 4096);
    if (!serial)
        return "";
    std::string text = serial->substr(0, 255);
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ' || text.back() == '\0'))
        text.pop_back();
    return text;
}

}  // namespace platform::tools
