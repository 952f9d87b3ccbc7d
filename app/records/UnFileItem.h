#pragma once

#include "app/records/RkUninstallCategoryType.h"
#include "platform/Workspace.h"

#include <sys/types.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

class UnFileGroup;

// One related file or folder of an application. The group owns it; `group` is a back reference.
class UnFileItem {
public:
    std::string identifier;
    std::weak_ptr<UnFileGroup> group;
    std::string fileName;
    std::string filePath;
    bool isDir = false;
    std::int64_t size = 0;
    std::optional<platform::FileIcon> icon;
    bool isSelected = false;
    RkUninstallCategoryType type = RkUninstallCategoryType::other;
    // What made it the application's: "identifier", "name", "executable" (its name alone), "rule"
    // (a place with a rule of its own: a helper a job runs, a receipt, a plug-in, a declared group,
    // a launch job by its program, a remain by the identifier it carries) or "bundle".
    std::string claimedBy = "rule";
    // The file the scan found at filePath (its last component not followed), for the remains of
    // gone applications: removed only while the same file lies there. 0 and 0 when not noted.
    dev_t device = 0;
    ino_t inode = 0;
};
