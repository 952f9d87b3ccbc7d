#pragma once

#include "app/bundles/BundleReader.h"
#include "app/catalogue/UninstallAppManager.h"
#include "app/scanner/UninstallScaner.h"
#include "fixtures/MacTree.h"

#include <algorithm>
#include <string>
#include <vector>

// Runs the real scanner on one bundle with a catalogue of its own.
inline std::shared_ptr<UninstallApp> scanBundle(const std::string& bundle,
                                                const std::shared_ptr<UninstallAppManager>& manager = UninstallAppManager::make())
{
    auto app = BundleReader::record(bundle);
    UninstallScaner scanner(manager->stopToken());
    scanner.scan(app);
    return app;
}

inline std::vector<std::string> pathsIn(const UninstallApp& app, RkUninstallCategoryType type)
{
    std::vector<std::string> paths;
    for (const auto& group : app.fileGroups)
        if (group->type == type)
            for (const auto& item : group->fileItem)
                paths.push_back(item->filePath);
    return paths;
}

inline std::vector<std::string> allPaths(const UninstallApp& app)
{
    std::vector<std::string> paths;
    for (const auto& group : app.fileGroups)
        for (const auto& item : group->fileItem)
            paths.push_back(item->filePath);
    return paths;
}

inline bool has(const std::vector<std::string>& paths, const std::string& path)
{
    return std::find(paths.begin(), paths.end(), path) != paths.end();
}
