#pragma once

#include <optional>
#include <string>

// Loaded kernel extensions: look-up by path or identifier, the started state, unloading, and
// removal of an extension's bundle after unloading it. Over the platform's table of loaded
// extensions; unloading needs root. Any thread.
class KextManager {
public:
    static KextManager& shared();

    // The identifier of the loaded extension at `path`; "" when none; nullopt for no path, a path
    // with nothing on disk or an unreadable table.
    static std::optional<std::string> GetKextBundeIdByPath(const std::optional<std::string>& path);
    // The path of the loaded extension `identifier`; "" when not loaded; nullopt for no or an empty
    // identifier or an unreadable table.
    static std::optional<std::string> GetKextPathByBundleId(const std::optional<std::string>& identifier);
    static bool KextIsRunningByBundleId(const std::string& identifier);
    static bool UnloadKextWithBundleId(const std::string& identifier);
    static bool UninstallKextWithPath(const std::optional<std::string>& path);
    static bool UninstallKextWithBundleId(const std::optional<std::string>& identifier);

private:
    KextManager() = default;
    static bool unloadIfStartedAndRemove(const std::string& identifier, const std::string& path);
};
