#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>

namespace platform {

// The table of loaded kernel extensions (KextManagerCopyLoadedKextInfo) and their unloading. On
// Linux the loaded kernel modules stand for it; tests install a table of their own.
class KernelExtensionTable {
public:
    struct Extension {
        std::optional<std::string> bundlePath;  // "OSBundlePath"
        bool started = false;                   // "OSBundleStarted"
    };
    using Loaded = std::map<std::string, Extension>;

    virtual ~KernelExtensionTable() = default;
    // identifier -> information; nullopt when the table cannot be read.
    virtual std::optional<Loaded> loadedExtensions() const = 0;
    // 0 on success, an error number otherwise.
    virtual int unload(const std::string& identifier) = 0;

    static std::shared_ptr<KernelExtensionTable> current();
    // nullptr restores the machine's table.
    static void install(std::shared_ptr<KernelExtensionTable> table);
};

// /proc/modules: identifier = module name; started = state "Live"; path = the module file that
// modinfo names, when it can tell. Unloads with delete_module. A kernel without loadable modules
// gives an empty table.
class LinuxModuleTable : public KernelExtensionTable {
public:
    std::optional<Loaded> loadedExtensions() const override;
    int unload(const std::string& identifier) override;
};

}  // namespace platform
