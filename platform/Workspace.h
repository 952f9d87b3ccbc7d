#pragma once

#include <string>
#include <vector>

namespace platform {

// What a screen needs to draw a file's icon: an image file when the file has one of its own (a
// bundle's .icns), otherwise the name of a freedesktop theme icon.
struct FileIcon {
    std::string imagePath;
    std::string themeName;
    bool operator==(const FileIcon&) const = default;
};

// The workspace services the core uses.
class Workspace {
public:
    // A folder whose extension names a package type (app, bundle, framework, plugin, kext, ...).
    static bool isFilePackageAtPath(const std::string& path);
    static bool isPackageExtension(const std::string& extension);
    static FileIcon iconForFile(const std::string& path);

    // The .app bundle whose CFBundleIdentifier is `bundleIdentifier` (letter case ignored), looked
    // for in "/Applications" under the system root and then in "~/Applications", with their plain
    // sub-folders; "" when there is none.
    static std::string urlForApplicationWithBundleIdentifier(const std::string& bundleIdentifier);
    // Starts Contents/MacOS/<CFBundleExecutable> of the bundle, with `arguments`, as a process of its
    // own session that nobody has to wait for; true when the program was executed.
    static bool openApplication(const std::string& bundlePath, const std::vector<std::string>& arguments = {});
};

}  // namespace platform
