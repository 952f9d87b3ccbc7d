#pragma once

#include "platform/KernelExtensionTable.h"

namespace platform {

// /proc/modules: identifier = module name; started = state "Live"; path = the module file that
// modinfo names, when it can tell. Unloads with delete_module. A kernel without loadable modules
// gives an empty table.
class LinuxModuleTable : public KernelExtensionTable {
public:
    std::optional<Loaded> loadedExtensions() const override;
    int unload(const std::string& identifier) override;
};

}  // namespace platform
