#include "platform/Workspace.h"

#include "platform/Bundle.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"

#include <array>
#include <string_view>

namespace platform {
namespace {
constexpr std::array<std::string_view, 26> kPackageExtensions = {
    "app",       "bundle",  "framework", "plugin",    "kext",   "appex",     "xpc",
    "prefpane",  "qlgenerator", "mdimporter", "saver", "wdgt",  "component", "vst",
    "vst3",      "mpkg",    "pkg",       "rtfd",      "photoslibrary", "musiclibrary", "imovielibrary",
    "systemextension", "driver", "ideplugin", "docset", "playground"};
}  // namespace

bool Workspace::isPackageExtension(const std::string& extension)
{
    const std::string lower = path::toLower(extension);
    for (const auto candidate : kPackageExtensions) {
        if (lower == candidate)
            return true;
    }
    return false;
}

bool Workspace::isFilePackageAtPath(const std::string& path)
{
    return isPackageExtension(path::extension(path)) && fs::isDirectory(path);
}

FileIcon Workspace::iconForFile(const std::string& path)
{
    const auto st = fs::status(path);
    if (!st)
        return {"", "unknown"};
    if (!S_ISDIR(st->st_mode))
        return {"", "text-x-generic"};
    if (!isFilePackageAtPath(path))
        return {"", "folder"};
    if (const auto bundle = Bundle::atPath(path)) {
        const auto info = bundle->infoDictionary();
        std::string iconName = plist::stringValue(info, "CFBundleIconFile");
        if (iconName.empty())
            iconName = plist::stringValue(info, "CFBundleIconName");
        if (!iconName.empty()) {
            const bool hasExtension = !path::extension(iconName).empty();
            const auto file = hasExtension ? bundle->pathForResource(iconName, "")
                                           : bundle->pathForResource(iconName, "icns");
            if (file)
                return {*file, ""};
        }
    }
    return {"", path::toLower(path::extension(path)) == "app" ? "application-x-executable" : "package-x-generic"};
}

}  // namespace platform
