#include "app/bundles/BundleReader.h"

#include "app/records/UninstallApp.h"
#include "platform/Bundle.h"
#include "platform/CodeSignature.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "platform/Spotlight.h"

#include <sys/stat.h>

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

std::string shownName(const std::string& path, const std::optional<platform::Bundle>& bundle, const std::optional<plist::Dictionary>& info)
{
    if (auto name = platform::Spotlight::provider()->displayName(path).value_or(""); !name.empty())
        return name;
    const auto infoString = [&](const plist::Dictionary* dictionary, const char* key) {
        return dictionary ? plist::stringValue(*dictionary, key) : std::string();
    };
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
    facts.displayName = shownName(bundle, opened, facts.info);
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

std::string BundleReader::identifierAt(const std::string& path)
{
    const auto bundle = platform::Bundle::atPath(path);
    if (!bundle)
        return "";
    const auto info = plist::readDictionarySafely(bundle->infoPlistPath(), platform::Bundle::kMaxInfoPlistBytes);
    return info ? plist::stringValue(*info, "CFBundleIdentifier") : "";
}

std::vector<std::string> BundleReader::nestedApplications(const std::string& bundle)
{
    std::vector<std::string> nested;
    if (bundle.empty())
        return nested;
    // A Mac volume ignores letter case; the folder is "Contents/MacOS" on disk.
    const std::string folder = platform::fs::resolveCaseInsensitive(bundle, "Contents/Macos");
    for (const auto& entry : platform::fs::listDirectory(folder).value_or(std::vector<std::string>{}))
        if (entry.find(".app") != std::string::npos)
            nested.push_back(folder + "/" + entry);
    return nested;
}

std::vector<std::string> BundleReader::innerBundles(const std::string& bundle)
{
    std::vector<std::string> inner;
    const std::string contents = bundle.empty() ? std::string() : platform::fs::resolveCaseInsensitive(bundle, "Contents");
    if (contents.empty())
        return inner;
    struct Place {
        const char* folder;
        const char* extension;
    };
    for (const auto& [folder, extension] : {Place{"Helpers", "app"}, Place{"Library/LoginItems", "app"}, Place{"PlugIns", "appex"},
                                            Place{"Library/SystemExtensions", "systemextension"}}) {
        const std::string path = contents + "/" + folder;
        for (const auto& entry : platform::fs::listDirectory(path).value_or(std::vector<std::string>{}))
            if (platform::path::toLower(platform::path::extension(entry)) == extension)
                inner.push_back(path + "/" + entry);
    }
    return inner;
}

std::vector<std::string> BundleReader::declaredGroups(const std::string& bundle, const std::string& executable)
{
    std::vector<std::string> groups;
    if (bundle.empty())
        return groups;
    const auto takeGroups = [&groups](const std::optional<plist::Dictionary>& entitlements) {
        const plist::Value* value = entitlements ? plist::find(*entitlements, "com.apple.security.application-groups") : nullptr;
        const auto* list = value ? value->get<plist::Array>() : nullptr;
        if (!list)
            return false;
        for (const auto& element : *list)
            if (const auto* group = element.get<std::string>(); group && !group->empty())
                groups.push_back(*group);
        return true;
    };
    const bool plainExecutable = !executable.empty() && executable.find('/') == std::string::npos;
    // A shipped application declares its groups in its executable's code signature; the readable
    // files, left by some builds, count when the signature declares none.
    if (plainExecutable &&
        takeGroups(platform::CodeSignature::entitlementsOf(platform::fs::resolveCaseInsensitive(bundle, "Contents/MacOS/" + executable))))
        return groups;
    const std::string contents = platform::fs::resolveCaseInsensitive(bundle, "Contents");
    std::vector<std::string> candidates = {contents + "/Resources/Entitlements.plist", contents + "/Entitlements.plist"};
    if (plainExecutable)
        candidates.push_back(contents + "/Resources/" + executable + ".entitlements");
    for (const auto& candidate : candidates) {
        const auto st = platform::fs::linkStatus(candidate);
        if (st && S_ISREG(st->st_mode) && takeGroups(plist::readDictionarySafely(candidate, platform::Bundle::kMaxInfoPlistBytes)))
            break;
    }
    return groups;
}
