// Resets one application as the window does: the catalogue ticks every related item but the bundle,
// quits the application and takes the items to the Trash, through the daemon where the user's
// rights fall short. Copied into Ostrova's bundle and run as the unprivileged user; prints what it
// ticked. Exit 0 when the application was found.
#include "app/catalogue/UninstallAppManager.h"

#include <iostream>

namespace {

class AgreeingDelegate : public UninstallDelegate {
public:
    void appsDidLoad() override {}
    void appDidScan(const std::shared_ptr<UninstallApp>&) override {}
    void allAppsDidScan() override {}
    void uninstallProgress(UninstallType, double, double) override {}
    bool shouldForceQuit(const std::shared_ptr<UninstallApp>&) override { return true; }
};

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    const auto manager = UninstallAppManager::make();
    const auto delegate = std::make_shared<AgreeingDelegate>();
    manager->setDelegate(delegate);
    manager->setFindsRemains(false);
    manager->discoverApps();
    manager->runScanLoop();
    for (const auto& app : manager->allApps()) {
        if (app->bundleIdentifier() != argv[1])
            continue;
        UninstallAppManager::selectForReset(*app);
        for (const auto& group : app->fileGroups)
            for (const auto& item : group->fileItem)
                if (item->isSelected)
                    std::cout << item->filePath << "\n";
        UninstallAppManager::RemovalOptions options;
        options.keepsBundle = true;
        manager->removeApps({app}, options);
        manager->waitForRemovals();
        return 0;
    }
    std::cerr << "not found: " << argv[1] << "\n";
    return 3;
}
