#pragma once

#include "platform/PropertyList.h"
#include "platform/Workspace.h"

#include <optional>
#include <string>

// What one application bundle says of itself, read once by BundleReader. Plain data.
struct BundleFacts {
    // The bundle's path, without trailing slashes.
    std::string path;
    // Its Info.plist; nullopt when there is none, empty when it cannot be read.
    std::optional<plist::Dictionary> info;
    // The name the system shows for it (Spotlight's, the localized one, the Info.plist's, the
    // folder's), never empty for a bundle that has a folder name.
    std::string displayName;
    std::optional<platform::FileIcon> icon;
    // The day it was last used, as "yyyy-MM-dd"; "-" when unknown.
    std::string lastUsed = "-";
};
