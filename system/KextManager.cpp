#include "system/KextManager.h"

#include "platform/FileSystem.h"
#include "platform/KernelExtensionTable.h"
#include "platform/SafeRemover.h"

namespace {

// The look-ups work on texts of at most 1023 bytes, as in a 1024-byte buffer.
std::string bounded(const std::string& text)
{
    return text.substr(0, 1023);
}

}  // namespace

KextManager& KextManager::shared()
{
    static auto* manager = new KextManager;
    return *manager;
}

std::optional<std::string> KextManager::GetKextBundeIdByPath(const std::optional<std::string>& path)
{
    if (!path || !platform::fs::linkStatus(*path))
        return std::nullopt;
    const std::string wanted = bounded(*path);
    const auto loaded = platform::KernelExtensionTable::current()->loadedExtensions();
    if (!loaded)
        return std::nullopt;
    std::string identifier;
    for (const auto& [id, extension] : *loaded) {
        if (extension.bundlePath && *extension.bundlePath == wanted)
            identifier = bounded(id);
    }
    return identifier;
}

std::optional<std::string> KextManager::GetKextPathByBundleId(const std::optional<std::string>& identifier)
{
    if (!identifier || identifier->empty())
        return std::nullopt;
    const std::string wanted = bounded(*identifier);
    const auto loaded = platform::KernelExtensionTable::current()->loadedExtensions();
    if (!loaded)
        return std::nullopt;
    std::string path;
    for (const auto& [id, extension] : *loaded) {
        if (id == wanted && extension.bundlePath)
            path = bounded(*extension.bundlePath);
    }
    return path;
}

bool KextManager::KextIsRunningByBundleId(const std::string& identifier)
{
    const auto loaded = platform::KernelExtensionTable::current()->loadedExtensions();
    if (!loaded)
        return false;
    const auto it = loaded->find(identifier);
    return it != loaded->end() && it->second.started;
}

bool KextManager::UnloadKextWithBundleId(const std::string& identifier)
{
    if (identifier.empty())
        return false;
    return platform::KernelExtensionTable::current()->unload(identifier) == 0;
}

bool KextManager::unloadIfStartedAndRemove(const std::string& identifier, const std::string& path)
{
    if (KextIsRunningByBundleId(identifier) && !UnloadKextWithBundleId(identifier))
        return false;
    return platform::SafeRemover::remove(path);
}

bool KextManager::UninstallKextWithPath(const std::optional<std::string>& path)
{
    if (!path || !platform::fs::linkStatus(*path))
        return false;
    const auto identifier = GetKextBundeIdByPath(path);
    if (!identifier || identifier->empty())
        return false;
    return unloadIfStartedAndRemove(*identifier, *path);
}

bool KextManager::UninstallKextWithBundleId(const std::optional<std::string>& identifier)
{
    if (!identifier || identifier->empty())
        return false;
    const auto path = GetKextPathByBundleId(identifier);
    if (!path || path->empty() || !platform::fs::linkStatus(*path))
        return false;
    return unloadIfStartedAndRemove(*identifier, *path);
}
