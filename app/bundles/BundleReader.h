#pragma once

#include "app/records/BundleFacts.h"

#include <memory>
#include <string>

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
};
