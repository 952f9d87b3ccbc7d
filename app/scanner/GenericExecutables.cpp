#include "app/scanner/GenericExecutables.h"

#include <algorithm>
#include <array>

namespace {

// Normalised: lower case, spaces taken out.
constexpr std::array<std::string_view, 31> kGeneric = {
    "electron",   "nwjs",          "nw",         "node",        "java",        "javaapplauncher",
    "javaapplicationstub", "universaljavaapplicationstub", "jre", "python",   "python2",     "python3",
    "pythonw",    "ruby",          "perl",       "wine",        "wine64",      "wine-preloader",
    "wineserver", "mono",          "applet",     "droplet",     "launcher",    "run",
    "main",       "app",           "qemu",       "tclsh",       "wish",        "osascript",
    "chromiumembeddedframework",
};

}  // namespace

bool GenericExecutables::contains(std::string_view normalized)
{
    return std::find(kGeneric.begin(), kGeneric.end(), normalized) != kGeneric.end();
}
