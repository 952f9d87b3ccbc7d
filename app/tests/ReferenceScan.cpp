#include "ReferenceScan.h"

#include "Auxiliary/FileSize.h"
#include "app/catalogue/UninstallAppManager.h"
#include "app/locations/SearchFilePath.h"
#include "app/scanner/UninstallScaner.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "platform/PropertyList.h"

#include <unicode/regex.h>

#include <map>
#include <sstream>

namespace {

using Matches = std::vector<std::pair<std::string, std::string>>;

bool fullMatch(const std::string& pattern, const std::string& text)
{
    UErrorCode status = U_ZERO_ERROR;
    const icu::UnicodeString input = icu::UnicodeString::fromUTF8(text);  // read by reference while matching
    icu::RegexMatcher matcher(icu::UnicodeString::fromUTF8(pattern), input, 0, status);
    if (U_FAILURE(status))
        return false;
    const bool found = matcher.matches(status);
    return U_SUCCESS(status) && found;
}

void add(Matches& matches, const std::string& path, const std::string& name)
{
    for (auto& [p, n] : matches) {
        if (p == path) {
            n = name;
            return;
        }
    }
    matches.emplace_back(path, name);
}

bool isSharedFolder(const std::string& path)
{
    const std::string trimmed = platform::path::trimTrailingSlashes(path);
    for (const auto type : SearchFilePath::searchedCategories())
        for (const auto& folder : SearchFilePath::foldersForCategory(type))
            if (platform::path::trimTrailingSlashes(folder) == trimmed)
                return true;
    for (const auto& library : {SearchFilePath::resolveHomePath("/Library"), SearchFilePath::resolveHomePath("~/Library")})
        for (const auto& name : SearchFilePath::standardLibraryFolderNames())
            if (platform::path::toLower(library + "/" + name) == platform::path::toLower(trimmed))
                return true;
    return false;
}

bool carriesWhole(const std::string& name, const std::string& identifier)
{
    if (identifier.empty())
        return false;
    const std::string pattern = "(^|\\.)" + UninstallScaner::escapeForPattern(identifier) + "($|[._-])";
    UErrorCode status = U_ZERO_ERROR;
    const icu::UnicodeString input = icu::UnicodeString::fromUTF8(name);
    icu::RegexMatcher matcher(icu::UnicodeString::fromUTF8(pattern), input, 0, status);
    if (U_FAILURE(status))
        return false;
    const bool found = matcher.find(status);
    return U_SUCCESS(status) && found;
}

Matches matchFolders(const UninstallApp& app, const std::vector<std::string>& folders, const std::string& suffix,
                     const std::vector<std::string>& claimants)
{
    const auto norm = UninstallScaner::normalizeName;
    const auto esc = UninstallScaner::escapeForPattern;
    const std::string raw = app.bundleIdentifier();
    std::string vendor;
    {
        std::vector<std::string> pieces;
        std::stringstream stream(raw);
        std::string piece;
        while (std::getline(stream, piece, '.'))
            pieces.push_back(piece);
        if (!raw.empty() && raw.back() == '.')
            pieces.emplace_back();
        if (pieces.size() == 3)
            vendor = norm(pieces[1]);
    }
    const std::string namePattern = "\\b((" + esc(norm(app.infoName())) + ")|(" + esc(norm(app.executableName())) + ")|(" +
                                    esc(norm(app.displayName())) + "))" + suffix + "(\\..*){0,}";
    const std::string idPattern = "\\b((" + esc(norm(raw)) + ")|())" + suffix + "(\\..*){0,}";
    auto passes = [&](const std::string& key, const std::string& name) {
        if (!fullMatch(namePattern, key) && !fullMatch(idPattern, key) && !carriesWhole(name, raw))
            return false;
        for (const auto& other : claimants)
            if (other.size() > raw.size() && carriesWhole(name, other))
                return false;
        return true;
    };

    Matches matches;
    for (const auto& folder : folders) {
        const auto entries = platform::fs::listDirectory(folder);
        if (!entries)
            continue;
        for (const auto& name : *entries) {
            const std::string path = platform::path::appending(folder, name);
            const std::string key = norm(name);
            if (isSharedFolder(path))
                continue;
            if (passes(key, name)) {
                add(matches, path, name);
            } else if (!vendor.empty() && key == vendor && platform::fs::isDirectoryNoFollow(path)) {
                for (const auto& child : platform::fs::listDirectory(path).value_or(std::vector<std::string>{})) {
                    const std::string childPath = path + "/" + child;
                    if (!isSharedFolder(childPath) && passes(norm(child), child))
                        add(matches, childPath, child);
                }
            }
        }
    }
    return matches;
}

Matches checkLaunchItems(const Matches& candidates, const std::vector<ReferenceGroup>& collected)
{
    Matches kept;
    for (const auto& [path, name] : candidates) {
        const auto job = plist::readDictionary(path);
        if (!job)
            continue;
        const plist::Value* value = plist::find(*job, "Program");
        if (!value)
            value = plist::find(*job, "ProgramArguments");
        std::vector<std::string> programs;
        if (value && value->is<plist::Array>()) {
            for (const auto& element : *value->get<plist::Array>()) {
                const auto* text = element.get<std::string>();
                if (text && platform::fs::exists(*text))
                    programs.push_back(*text);
            }
        } else if (value && value->is<std::string>() && platform::fs::exists(*value->get<std::string>())) {
            programs.push_back(*value->get<std::string>());
        }
        bool keep = false;
        for (const auto& program : programs)
            for (const auto& group : collected)
                for (const auto& item : group.items)
                    keep = keep || program == item.path ||
                           platform::path::isInside(platform::path::trimTrailingSlashes(program),
                                                    platform::path::trimTrailingSlashes(item.path));
        if (keep)
            kept.emplace_back(path, name);
    }
    return kept;
}

}  // namespace

ReferenceResult referenceScan(const std::string& bundlePath, const std::vector<std::string>& installed)
{
    ReferenceResult result;
    const auto app = UninstallApp::create(bundlePath);
    std::vector<std::shared_ptr<UninstallApp>> queue{app};
    const std::string macos = platform::fs::resolveCaseInsensitive(bundlePath, "Contents/Macos");
    for (const auto& entry : platform::fs::listDirectory(macos).value_or(std::vector<std::string>{}))
        if (entry.find(".app") != std::string::npos)
            queue.push_back(UninstallApp::create(macos + "/" + entry));

    std::vector<std::string> claimants;
    for (const auto& identifier : installed) {
        bool ownFamily = false;
        for (const auto& queued : queue)
            ownFamily = ownFamily || queued->bundleIdentifier() == identifier;
        if (!ownFamily)
            claimants.push_back(identifier);
    }

    ReferenceGroup bundle{RkUninstallCategoryType::bundle, {}};
    for (const auto& queued : queue)
        bundle.items.push_back({*queued->bundlePath, queued->displayName(), platform::fs::isDirectoryNoFollow(*queued->bundlePath), 0});
    result.groups.push_back(bundle);

    auto groupFor = [&](RkUninstallCategoryType type) -> ReferenceGroup& {
        for (auto& group : result.groups)
            if (group.type == type)
                return group;
        result.groups.push_back({type, {}});
        return result.groups.back();
    };
    for (const auto& queued : queue) {
        for (const auto type : SearchFilePath::searchedCategories()) {
            Matches matches = matchFolders(*queued, SearchFilePath::foldersForCategory(type), SearchFilePath::suffixForCategory(type), claimants);
            if (type == RkUninstallCategoryType::daemon)
                matches = checkLaunchItems(matches, result.groups);
            if (matches.empty())
                continue;
            auto& group = groupFor(type);
            for (const auto& [path, name] : matches) {
                const std::int64_t size = fileSize(path);
                group.items.push_back({path, name, platform::fs::isDirectoryNoFollow(path), size});
                result.totalSize += size;
            }
        }
    }
    const auto manager = UninstallAppManager::make();
    result.bundleSize = UninstallAppManager::sizeOfPath(bundlePath, manager.get());
    for (auto& item : result.groups.front().items)
        item.size = item.path == bundlePath ? result.bundleSize : UninstallAppManager::sizeOfPath(item.path, manager.get());
    result.totalSize += result.bundleSize;
    return result;
}

ReferenceResult resultOf(const UninstallApp& app)
{
    ReferenceResult result;
    for (const auto& group : app.fileGroups) {
        ReferenceGroup copy{group->type, {}};
        for (const auto& item : group->fileItem)
            copy.items.push_back({item->filePath, item->fileName, item->isDir, item->size});
        result.groups.push_back(copy);
    }
    result.bundleSize = app.bundleSize;
    result.totalSize = app.totalSize;
    return result;
}

std::string describe(const ReferenceResult& result)
{
    std::ostringstream out;
    out << "bundle " << result.bundleSize << " total " << result.totalSize << "\n";
    for (const auto& group : result.groups) {
        out << "  " << categoryCaseName(group.type) << "\n";
        for (const auto& item : group.items)
            out << "    " << item.path << " [" << item.name << "] " << item.size << (item.isDir ? " dir" : "") << "\n";
    }
    return out.str();
}
