#pragma once

#include "app/records/BundleFacts.h"

#include <memory>
#include <string>
#include <vector>

class UninstallApp;

// Reads what an application bundle says of itself: its Info.plist (the wrapped application's, for
// an iPhone or iPad application wrapped for the Mac), the name the system shows, its icon and the
// day it was last used. The path need not exist: a missing bundle gives no Info.plist, lastUsed "-"
// and its folder's name. Any thread.
class BundleReader {
public:
    static BundleFacts read(const std::string& path);
    // The record of the application at `path`, made from read(path).
    static std::shared_ptr<UninstallApp> record(const std::string& path);

    // The CFBundleIdentifier of the bundle at `path`, from the Info.plist read() reads; "" when none.
    static std::string identifierAt(const std::string& path);
    // The applications in the bundle's Contents/MacOS whose names contain ".app", in listing order.
    static std::vector<std::string> nestedApplications(const std::string& bundle);
    // The other applications and extensions inside the bundle, in this order: Contents/Helpers/*.app,
    // Contents/Library/LoginItems/*.app, Contents/PlugIns/*.appex and
    // Contents/Library/SystemExtensions/*.systemextension (extensions in any letter case).
    static std::vector<std::string> innerBundles(const std::string& bundle);
    // The application groups (com.apple.security.application-groups) the bundle declares: in the
    // code signature of Contents/MacOS/<executable>, else in the first readable entitlements file
    // that has the key, of Contents/Resources/Entitlements.plist, Contents/Entitlements.plist and
    // Contents/Resources/<executable>.entitlements.
    static std::vector<std::string> declaredGroups(const std::string& bundle, const std::string& executable);
};
