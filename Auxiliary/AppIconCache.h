#pragma once

#include "platform/Workspace.h"

#include <QIcon>

#include <optional>

// The icons of applications and files, decoded once per process and kept in memory: the flow
// screens still show an application's icon after its bundle, and the icon file with it, has gone.
// Main thread only (it makes pixmaps).
class AppIconCache {
public:
    // The icon file's images up to 256 pixels (an .icns holds several sizes), else its smallest image
    // scaled to 64; without a readable file, the theme icon of that name or the generic folder or
    // file icon. Never null.
    static QIcon iconFor(const std::optional<platform::FileIcon>& icon, bool isDir);
};
