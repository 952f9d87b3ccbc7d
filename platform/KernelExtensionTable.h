#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>

namespace platform {

// The table of loaded kernel extensions (KextManagerCopyLoadedKextInfo) and their unloading. Each
// system's backend gives its own (on Linux the loaded kernel modules stand for it); tests install a
// table of their own.
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
    // The machine's own table.
    static std::shared_ptr<KernelExtensionTable> systemTable();
    // nullptr restores the machine's table.
    static void install(std::shared_ptr<KernelExtensionTable> table);
};

}  // namespace platform
