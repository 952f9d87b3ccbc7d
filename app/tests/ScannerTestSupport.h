#pragma once

#include "app/bundles/BundleReader.h"
#include "app/catalogue/UninstallAppManager.h"
#include "app/scanner/UninstallScaner.h"
#include "fixtures/MacTree.h"

#include <algorithm>
#include <string>
#include <vector>

inline fixtures::AppBlueprint blueprintOf(const std::string& name, const std::string& identifier, const std::string& executable = "")
{
    fixtures::AppBlueprint made;
    made.name = name;
    made.identifier = identifier;
    made.executable = executable;
    return made;
}

// A catalogue that has listed the tree's applications and run its scan loop.
inline std::shared_ptr<UninstallAppManager> scannedCatalogue(bool findsRemains = true)
{
    auto manager = UninstallAppManager::make();
    manager->setFindsRemains(findsRemains);
    manager->discoverApps();
    manager->runScanLoop();
    return manager;
}

inline std::shared_ptr<UninstallApp> withIdentifier(const UninstallAppManager::Apps& apps, const std::string& identifier)
{
    const auto found = std::find_if(apps.begin(), apps.end(), [&](const auto& app) { return app->bundleIdentifier() == identifier; });
    return found == apps.end() ? nullptr : *found;
}

// A launch job file that runs `program`.
inline void writeJob(const fixtures::MacTree& tree, const std::string& path, const std::string& program, const std::string& label = "job")
{
    tree.writePlist(path, plist::Value(plist::Dictionary{{"Label", label}, {"ProgramArguments", plist::Array{plist::Value(program)}}}));
}

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
