#include "app/bundles/BundleReader.h"

#include "app/records/UninstallApp.h"
#include "platform/Bundle.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "platform/Spotlight.h"

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

std::string shownName(const std::string& path, const std::optional<plist::Dictionary>& info)
{
    if (auto name = platform::Spotlight::provider()->displayName(path).value_or(""); !name.empty())
        return name;
    const auto infoString = [&](const plist::Dictionary* dictionary, const char* key) {
        return dictionary ? plist::stringValue(*dictionary, key) : std::string();
    };
    const auto bundle = platform::Bundle::atPath(path);
    const auto localized = bundle ? bundle->localizedInfoDictionary() : std::nullopt;
    const plist::Dictionary* own = info ? &*info : nullptr;
    if (localized) {
        for (const char* key : {"CFBundleDisplayName", "CFBundleName"})
            if (auto name = infoString(&*localized, key); !name.empty())
                return name;
    } else if (auto name = infoString(own, "CFBundleDisplayName"); !name.empty()) {
        return name;
    }
    if (auto name = infoString(own, "CFBundleName"); !name.empty())
        return name;
    return platform::path::lastComponent(path);
}

}  // namespace

BundleFacts BundleReader::read(const std::string& path)
{
    BundleFacts facts;
    facts.path = platform::path::trimTrailingSlashes(path);
    const std::string& bundle = facts.path;

    // The bundle decides which Info.plist describes it (a wrapped iPhone or iPad application's is
    // the inner bundle's); the record keeps the outer path, which the user sees and removal takes.
    const auto opened = platform::Bundle::atPath(bundle);
    const std::string infoPath = opened ? opened->infoPlistPath() : "";
    if (!infoPath.empty() && platform::fs::exists(infoPath)) {
        facts.info = plist::readDictionarySafely(infoPath, platform::Bundle::kMaxInfoPlistBytes);
        if (!facts.info)
            facts.info = plist::Dictionary{};
    }
    facts.displayName = shownName(bundle, facts.info);
    facts.icon = platform::Workspace::iconForFile(bundle);

    const auto spotlight = platform::Spotlight::provider();
    if (spotlight->canCreateItem(bundle) && platform::fs::exists(bundle)) {
        if (const auto date = spotlight->lastUsedDate(bundle))
            facts.lastUsed = formatDay(*date);
    }
    return facts;
}

std::shared_ptr<UninstallApp> BundleReader::record(const std::string& path)
{
    return UninstallApp::make(read(path));
}
