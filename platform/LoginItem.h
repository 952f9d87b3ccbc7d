#pragma once

#include <string>

namespace platform {

// Login items of the running application, as XDG autostart entries: a helper application inside the
// main bundle's Contents/Library/LoginItems is started at login when its entry
// $XDG_CONFIG_HOME/autostart/<bundle identifier>.desktop exists.
class LoginItem {
public:
    // Enabling finds the helper bundle with that identifier and writes its entry; disabling removes
    // the entry. False when the helper is not in the main bundle (enabling) or the entry cannot be
    // written or removed.
    static bool setEnabled(const std::string& bundleIdentifier, bool enabled);
    // The same for the helpers of the bundle at `mainBundlePath`.
    static bool setEnabled(const std::string& bundleIdentifier, bool enabled, const std::string& mainBundlePath);
    static bool isEnabled(const std::string& bundleIdentifier);
    static std::string entryPath(const std::string& bundleIdentifier);
    // The helper's bundle in the main bundle, "" when there is none.
    static std::string helperBundlePath(const std::string& bundleIdentifier, const std::string& mainBundlePath);
    // One argument quoted for an Exec line of a desktop entry.
    static std::string quoteExecArgument(const std::string& argument);

private:
    // The backend's part: the entry that starts `program` (the helper's executable, shown as
    // `name`) at login, written or removed. False when that fails; removing a missing entry is not
    // a failure.
    static bool writeEntry(const std::string& bundleIdentifier, const std::string& name, const std::string& program);
    static bool removeEntry(const std::string& bundleIdentifier);
};

}  // namespace platform
