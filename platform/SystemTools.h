#pragma once

#include <string>

// Where the tools and facts of the Mac that Linux lacks come from on this platform.
namespace platform::tools {

// The launchctl to run: OSTROVA_LAUNCHCTL when set, else the one shipped in the main bundle
// (Contents/Helpers/launchctl, the bundle found from the running executable's own path), else
// one beside the running executable; "" when there is none. Never a bare name looked up on PATH.
std::string launchctl();
// The administrators' group: "wheel" where it exists, "root" otherwise.
std::string adminGroup();
// The machine's serial number (the platform expert's IOPlatformSerialNumber): the DMI product
// serial when readable, else "".
std::string serialNumber();
// Writes one message to the system log.
void systemLog(const std::string& message);

}  // namespace platform::tools
