#include "app/records/UninstallApp.h"

#include "platform/Bundle.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "platform/Spotlight.h"
#include "platform/Uuid.h"

#include <algorithm>
#include <ctime>

namespace {

std::string formatDay(std::chrono::system_clock::time_point when)
{
    const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
    std::tm local{};
    if (localtime_r(&seconds, &local) == nullptr)
        return "-";
    char text[32];
    if (std::strftime(text, sizeof text, "%Y-%m-%d", &local) == 0)
        return "-";
    return text;
}

std::string nonEmpty(const std::optional<std::string>& value)
{
    return value.value_or("");
}

}  // namespace

std::shared_ptr<UninstallApp> UninstallApp::create(const std::string& path)
{
    std::shared_ptr<UninstallApp> app(new UninstallApp);
    app->identifier = platform::makeUuidString();
    app->bundlePath = platform::path::trimTrailingSlashes(path);
    const std::string& bundle = *app->bundlePath;

    // The bundle decides which Info.plist describes it (a wrapped iPhone or iPad application's is
    // the inner bundle's); the record keeps the outer path, which the user sees and removal takes.
    const auto opened = platform::Bundle::atPath(bundle);
    const std::string infoPath = opened ? opened->infoPlistPath() : "";
    if (!infoPath.empty() && platform::fs::exists(infoPath)) {
        app->appInfo = plist::readDictionarySafely(infoPath, platform::Bundle::kMaxInfoPlistBytes);
        if (!app->appInfo)
            app->appInfo = plist::Dictionary{};
    }

    app->icon = platform::Workspace::iconForFile(bundle);

    const auto spotlight = platform::Spotlight::provider();
    app->lastUsed = "-";
    if (spotlight->canCreateItem(bundle) && platform::fs::exists(bundle)) {
        if (const auto date = spotlight->lastUsedDate(bundle))
            app->lastUsed = formatDay(*date);
    }
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
    if (isGone())
        return infoName();
    const std::string path = bundlePath.value_or("");
    if (auto spotlightName = nonEmpty(platform::Spotlight::provider()->displayName(path)); !spotlightName.empty())
        return spotlightName;
    const auto bundle = platform::Bundle::atPath(path);
    const auto localized = bundle ? bundle->localizedInfoDictionary() : std::nullopt;
    if (localized) {
        for (const char* key : {"CFBundleDisplayName", "CFBundleName"}) {
            if (auto name = plist::stringValue(*localized, key); !name.empty())
                return name;
        }
    } else if (auto name = infoDisplayName(); !name.empty()) {
        return name;
    }
    if (auto name = infoName(); !name.empty())
        return name;
    return platform::path::lastComponent(path);
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

void UninstallApp::removeMissingFiles()
{
    for (auto& group : fileGroups) {
        auto& items = group->fileItem;
        items.erase(std::remove_if(items.begin(), items.end(),
                                   [](const auto& item) { return !platform::fs::linkStatus(item->filePath); }),
                    items.end());
    }
    fileGroups.erase(std::remove_if(fileGroups.begin(), fileGroups.end(),
                                    [](const auto& group) { return group->fileItem.empty(); }),
                     fileGroups.end());
}
