#include "platform/Bundle.h"

#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "platform/StringsFile.h"

#include <algorithm>
#include <cstdlib>

namespace platform {

std::optional<Bundle> Bundle::atPath(const std::string& path)
{
    if (path.empty() || !fs::isDirectory(path))
        return std::nullopt;
    return Bundle(path::trimTrailingSlashes(path));
}

std::string Bundle::enclosingAppBundle(const std::string& executable)
{
    const auto parts = path::components(executable);
    // Innermost first: agent.app inside Ostrova.app is the agent's own bundle.
    for (std::size_t i = parts.size(); i-- > 1;) {
        if (path::toLower(path::extension(parts[i])) == "app" && i + 1 < parts.size() &&
            path::toLower(parts[i + 1]) == "contents") {
            std::string bundle;
            for (std::size_t j = 0; j <= i; ++j)
                bundle = j == 0 ? parts[0] : path::appending(bundle, parts[j]);
            return bundle;
        }
    }
    return "";
}

std::optional<Bundle> Bundle::mainBundle()
{
    const std::string exe = executablePath();
    if (exe.empty())
        return std::nullopt;
    const std::string app = enclosingAppBundle(exe);
    return atPath(app.empty() ? path::deletingLastComponent(exe) : app);
}

std::string Bundle::contentsPath() const
{
    return fs::resolveCaseInsensitive(path_, "Contents");
}

std::string Bundle::wrappedBundlePath() const
{
    // Only "Wrapper/<name>.app" inside this bundle, reached without a link: the link may not take
    // the description from anywhere else.
    const auto target = fs::readLink(fs::resolveCaseInsensitive(path_, "WrappedBundle"));
    if (!target)
        return "";
    const auto parts = path::components(*target);
    if (parts.size() != 2 || path::toLower(parts[0]) != "wrapper" || parts[1] == ".." ||
        path::toLower(path::extension(parts[1])) != "app")
        return "";
    const std::string wrapper = fs::resolveCaseInsensitive(path_, parts[0]);
    const std::string inner = fs::resolveCaseInsensitive(wrapper, parts[1]);
    return fs::isDirectoryNoFollow(wrapper) && fs::isDirectoryNoFollow(inner) ? inner : "";
}

std::string Bundle::topLevelFolder() const
{
    if (fs::exists(fs::resolveCaseInsensitive(path_, "Contents/Info.plist")))
        return "";
    for (const std::string& folder : {wrappedBundlePath(), path_}) {
        if (!folder.empty() && fs::exists(fs::resolveCaseInsensitive(folder, "Info.plist")))
            return folder;
    }
    return "";
}

std::string Bundle::resourcePath() const
{
    const std::string top = topLevelFolder();
    return top.empty() ? fs::resolveCaseInsensitive(path_, "Contents/Resources") : top;
}

std::string Bundle::infoPlistPath() const
{
    const std::string top = topLevelFolder();
    return top.empty() ? fs::resolveCaseInsensitive(path_, "Contents/Info.plist") : fs::resolveCaseInsensitive(top, "Info.plist");
}

plist::Dictionary Bundle::infoDictionary() const
{
    auto dict = plist::readDictionarySafely(infoPlistPath(), kMaxInfoPlistBytes);
    return dict ? std::move(*dict) : plist::Dictionary{};
}

std::vector<std::string> Bundle::localizations() const
{
    std::vector<std::string> found;
    if (const auto entries = fs::listDirectory(resourcePath())) {
        for (const auto& entry : *entries) {
            if (path::toLower(path::extension(entry)) == "lproj")
                found.push_back(entry.substr(0, entry.size() - 6));
        }
    }
    return found;
}

std::optional<plist::Dictionary> Bundle::localizedInfoDictionary() const
{
    const auto available = localizations();
    if (available.empty())
        return std::nullopt;
    std::vector<std::string> wanted = preferredLanguages();
    const auto info = infoDictionary();
    if (auto region = plist::optionalString(info, "CFBundleDevelopmentRegion"))
        wanted.push_back(*region);
    for (const char* fallback : {"en", "English", "Base"})
        wanted.emplace_back(fallback);

    for (const auto& language : wanted) {
        const auto match = std::find_if(available.begin(), available.end(), [&](const std::string& l) {
            return path::toLower(l) == path::toLower(language);
        });
        if (match == available.end())
            continue;
        const std::string folder = path::appending(resourcePath(), *match + ".lproj");
        const auto strings = fs::findEntryIgnoringCase(folder, "InfoPlist.strings");
        if (!strings)
            continue;
        const auto bytes = fs::readSmallRegularFile(path::appending(folder, *strings), kMaxInfoPlistBytes);
        if (!bytes)
            continue;
        if (auto table = parseStringsFile(*bytes))
            return table;
    }
    return std::nullopt;
}

std::optional<std::string> Bundle::bundleIdentifier() const
{
    auto identifier = plist::optionalString(infoDictionary(), "CFBundleIdentifier");
    if (identifier && identifier->empty())
        return std::nullopt;
    return identifier;
}

std::optional<std::string> Bundle::pathForResource(const std::string& name, const std::string& type) const
{
    if (name.empty())
        return std::nullopt;
    const std::string file = type.empty() ? name : name + "." + type;
    const std::string resources = resourcePath();
    if (const auto entry = fs::findEntryIgnoringCase(resources, file)) {
        const std::string candidate = path::appending(resources, *entry);
        if (fs::exists(candidate))
            return candidate;
    }
    return std::nullopt;
}

std::vector<std::string> preferredLanguages()
{
    std::vector<std::string> raw;
    if (const char* list = std::getenv("LANGUAGE"); list && *list) {
        std::string all(list);
        std::size_t start = 0;
        while (start <= all.size()) {
            const auto colon = all.find(':', start);
            raw.push_back(all.substr(start, colon == std::string::npos ? std::string::npos : colon - start));
            if (colon == std::string::npos)
                break;
            start = colon + 1;
        }
    }
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        if (const char* value = std::getenv(name); value && *value) {
            raw.emplace_back(value);
            break;
        }
    }
    std::vector<std::string> result;
    auto add = [&](const std::string& code) {
        if (!code.empty() && code != "C" && code != "POSIX" &&
            std::find(result.begin(), result.end(), code) == result.end())
            result.push_back(code);
    };
    for (std::string code : raw) {
        code = code.substr(0, code.find_first_of(".@"));
        add(code);
        std::string dashed = code;
        std::replace(dashed.begin(), dashed.end(), '_', '-');
        add(dashed);
        add(code.substr(0, code.find_first_of("_-")));
    }
    return result;
}

}  // namespace platform
