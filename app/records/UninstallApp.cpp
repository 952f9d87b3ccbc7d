#include "app/records/UninstallApp.h"

#include "platform/Uuid.h"

#include <algorithm>

std::shared_ptr<UninstallApp> UninstallApp::make(BundleFacts facts)
{
    std::shared_ptr<UninstallApp> app(new UninstallApp);
    app->identifier = platform::makeUuidString();
    app->bundlePath = std::move(facts.path);
    app->appInfo = std::move(facts.info);
    app->displayName_ = std::move(facts.displayName);
    app->icon = std::move(facts.icon);
    app->lastUsed = std::move(facts.lastUsed);
    return app;
}

std::shared_ptr<UninstallApp> UninstallApp::gone(const std::string& bundleIdentifier, const std::string& displayName)
{
    std::shared_ptr<UninstallApp> app(new UninstallApp);
    app->identifier = platform::makeUuidString();
    app->appInfo = plist::Dictionary{{"CFBundleIdentifier", plist::Value(bundleIdentifier)},
                                     {"CFBundleName", plist::Value(displayName)}};
    app->lastUsed = "-";
    return app;
}

std::string UninstallApp::infoString(const char* key) const
{
    return appInfo ? plist::stringValue(*appInfo, key) : "";
}

std::string UninstallApp::displayName() const
{
    return isGone() ? infoName() : displayName_;
}

std::string UninstallApp::bundleIdentifier() const { return infoString("CFBundleIdentifier"); }
std::string UninstallApp::executableName() const { return infoString("CFBundleExecutable"); }
std::string UninstallApp::shortVersion() const { return infoString("CFBundleShortVersionString"); }
std::string UninstallApp::infoName() const { return infoString("CFBundleName"); }
std::string UninstallApp::infoDisplayName() const { return infoString("CFBundleDisplayName"); }

std::string UninstallApp::executablePath() const
{
    if (!bundlePath)
        return "";
    return *bundlePath + "/Contents/MacOS/" + executableName();
}

SelectionState UninstallApp::selectionState() const
{
    if (fileGroups.empty())
        return kSelectionOff;
    const SelectionState first = fileGroups.front()->selectionState();
    if (first == kSelectionMixed)
        return kSelectionMixed;
    for (const auto& group : fileGroups) {
        if (group->selectionState() != first)
            return kSelectionMixed;
    }
    return first;
}

void UninstallApp::setSelectionState(int state)
{
    for (auto& group : fileGroups)
        group->setSelectionState(state);
}

void UninstallApp::dropItems(const std::function<bool(const UnFileItem&)>& gone)
{
    for (auto& group : fileGroups) {
        auto& items = group->fileItem;
        items.erase(std::remove_if(items.begin(), items.end(), [&](const auto& item) { return gone(*item); }), items.end());
    }
    fileGroups.erase(std::remove_if(fileGroups.begin(), fileGroups.end(),
                                    [](const auto& group) { return group->fileItem.empty(); }),
                     fileGroups.end());
}
