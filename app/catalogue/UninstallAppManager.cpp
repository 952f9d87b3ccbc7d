#include "app/catalogue/UninstallAppManager.h"

#include "app/scanner/SearchFilePath.h"

#include <unordered_set>

const std::shared_ptr<UninstallAppManager>& UninstallAppManager::shared()
{
    static auto* instance = new std::shared_ptr<UninstallAppManager>(make());
    return *instance;
}

std::shared_ptr<UninstallAppManager> UninstallAppManager::make()
{
    return std::shared_ptr<UninstallAppManager>(new UninstallAppManager);
}

void UninstallAppManager::loadApps()
{
    std::unordered_set<std::string> seen;
    for (const auto& bundle : SearchFilePath::applicationBundles()) {
        if (!seen.insert(bundle).second)
            continue;
        allApps.push_back(UninstallApp::create(bundle));
    }
    if (auto target = delegate.lock())
        target->appsDidLoad();
}
