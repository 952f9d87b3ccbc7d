#include "ReferenceScan.h"

#include "Auxiliary/FileSize.h"
#include "app/catalogue/UninstallAppManager.h"
#include "app/locations/SearchFilePath.h"
#include "app/scanner/UninstallScaner.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "platform/PropertyList.h"

#include <unicode/regex.h>

#include <algorithm>
#include <functional>
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
    for (const auto& folder : SearchFilePath::ownRuleFolders())
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

// The name tests of one application for one suffix: a name pattern, the identifier pattern or the
// whole identifier, unless a longer claimant identifier is carried whole.
std::function<bool(const std::string&, const std::string&)> nameTests(const UninstallApp& app, const std::string& suffix,
                                                                      const std::vector<std::string>& claimants)
{
    const auto norm = UninstallScaner::normalizeName;
    const auto esc = UninstallScaner::escapeForPattern;
    const std::string raw = app.bundleIdentifier();
    const std::string namePattern = "\\b((" + esc(norm(app.infoName())) + ")|(" + esc(norm(app.executableName())) + ")|(" +
                                    esc(norm(app.displayName())) + "))" + suffix + "(\\..*){0,}";
    const std::string idPattern = "\\b((" + esc(norm(raw)) + ")|())" + suffix + "(\\..*){0,}";
    return [=](const std::string& key, const std::string& name) {
        if (!fullMatch(namePattern, key) && !fullMatch(idPattern, key) && !carriesWhole(name, raw))
            return false;
        for (const auto& other : claimants)
            if (other.size() > raw.size() && carriesWhole(name, other))
                return false;
        return true;
    };
}

std::string vendorOf(const std::string& raw)
{
    std::vector<std::string> pieces;
    std::stringstream stream(raw);
    std::string piece;
    while (std::getline(stream, piece, '.'))
        pieces.push_back(piece);
    if (!raw.empty() && raw.back() == '.')
        pieces.emplace_back();
    return pieces.size() == 3 ? UninstallScaner::normalizeName(pieces[1]) : std::string();
}

Matches matchFolders(const UninstallApp& app, const std::vector<std::string>& folders, const std::string& suffix,
                     const std::vector<std::string>& claimants)
{
    const auto norm = UninstallScaner::normalizeName;
    const std::string vendor = vendorOf(app.bundleIdentifier());
    const auto passes = nameTests(app, suffix, claimants);
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

std::vector<std::string> entriesOf(const std::string& folder)
{
    return platform::fs::listDirectory(folder).value_or(std::vector<std::string>{});
}

bool longerClaimantCarried(const std::string& name, const std::string& raw, const std::vector<std::string>& claimants)
{
    for (const auto& other : claimants)
        if (other.size() > raw.size() && carriesWhole(name, other))
            return true;
    return false;
}

bool isOrExtends(const std::string& candidate, const std::string& raw)
{
    return !raw.empty() && (candidate == raw || candidate.rfind(raw + ".", 0) == 0);
}

std::vector<std::string> stringsOf(const plist::Value* value)
{
    std::vector<std::string> strings;
    if (const auto* list = value ? value->get<plist::Array>() : nullptr)
        for (const auto& element : *list)
            if (const auto* text = element.get<std::string>())
                strings.push_back(*text);
    return strings;
}

std::vector<std::string> groupsDeclaredBy(const UninstallApp& app)
{
    if (!app.bundlePath)
        return {};
    const std::string contents = platform::fs::resolveCaseInsensitive(*app.bundlePath, "Contents");
    for (const auto& candidate : {contents + "/Resources/Entitlements.plist", contents + "/Entitlements.plist",
                                  contents + "/Resources/" + app.executableName() + ".entitlements"}) {
        if (platform::fs::isSymbolicLink(candidate) || platform::fs::isDirectoryNoFollow(candidate))
            continue;
        const auto entitlements = plist::readDictionary(candidate);
        if (entitlements && plist::find(*entitlements, "com.apple.security.application-groups"))
            return stringsOf(plist::find(*entitlements, "com.apple.security.application-groups"));
    }
    return {};
}

std::vector<std::string> existingPrograms(const std::string& jobPath)
{
    std::vector<std::string> programs;
    const auto job = plist::readDictionary(jobPath);
    if (!job)
        return programs;
    const plist::Value* value = plist::find(*job, "Program");
    if (!value)
        value = plist::find(*job, "ProgramArguments");
    if (value && value->is<std::string>())
        programs.push_back(*value->get<std::string>());
    else
        programs = stringsOf(value);
    std::erase_if(programs, [](const std::string& program) { return !platform::fs::exists(program); });
    return programs;
}

Matches helperTools(const UninstallApp& app, const std::vector<std::string>& claimants)
{
    Matches matches;
    const auto passes = nameTests(app, "", claimants);
    const std::string tools = platform::path::trimTrailingSlashes(SearchFilePath::helperToolFolders().front());
    if (app.appInfo)
        if (const auto* value = plist::find(*app.appInfo, "SMPrivilegedExecutables"))
            if (const auto* keys = value->get<plist::Dictionary>())
                for (const auto& entry : entriesOf(tools))
                    for (const auto& [key, ignored] : *keys)
                        if (key == entry)
                            add(matches, tools + "/" + entry, entry);
    const std::string daemons = SearchFilePath::resolveHomePath("/Library/LaunchDaemons");
    for (const auto& job : entriesOf(daemons)) {
        if (!passes(UninstallScaner::normalizeName(job), job))
            continue;
        for (const auto& program : existingPrograms(daemons + "/" + job)) {
            const std::string tidy = platform::path::trimTrailingSlashes(program);
            if (platform::path::deletingLastComponent(tidy) == tools)
                add(matches, tidy, platform::path::lastComponent(tidy));
        }
    }
    return matches;
}

Matches receipts(const UninstallApp& app, const std::vector<std::string>& claimants)
{
    Matches matches;
    const std::string raw = app.bundleIdentifier();
    const std::string folder = SearchFilePath::receiptFolders().front();
    for (const auto& name : entriesOf(folder)) {
        std::string package;
        if (name.size() > 4 && name.substr(name.size() - 4) == ".bom")
            package = name.substr(0, name.size() - 4);
        else if (name.size() > 6 && name.substr(name.size() - 6) == ".plist")
            package = name.substr(0, name.size() - 6);
        else
            continue;
        if (isOrExtends(package, raw) && !longerClaimantCarried(package, raw, claimants))
            add(matches, folder + "/" + name, name);
    }
    return matches;
}

Matches plugIns(const UninstallApp& app, const std::vector<std::string>& claimants)
{
    Matches matches;
    const std::string raw = app.bundleIdentifier();
    for (const auto& folder : SearchFilePath::plugInFolders()) {
        for (const auto& name : entriesOf(folder)) {
            const std::string path = folder + "/" + name;
            std::string identifier;
            for (const char* info : {"/Contents/Info.plist", "/Info.plist"}) {
                const auto dictionary = plist::readDictionary(path + info);
                const auto* value = dictionary ? plist::find(*dictionary, "CFBundleIdentifier") : nullptr;
                if (value && value->is<std::string>()) {
                    identifier = *value->get<std::string>();
                    break;
                }
            }
            if (identifier != raw && isOrExtends(identifier, raw) && !longerClaimantCarried(identifier, raw, claimants))
                add(matches, path, name);
        }
    }
    return matches;
}

Matches declaredGroups(const UninstallApp& app, const std::vector<std::shared_ptr<UninstallApp>>& others)
{
    Matches matches;
    const std::string folder = SearchFilePath::resolveHomePath("~/Library/Group Containers");
    const auto groups = groupsDeclaredBy(app);
    for (const auto& name : entriesOf(folder)) {
        if (std::find(groups.begin(), groups.end(), name) == groups.end())
            continue;
        bool shared = false;
        for (const auto& other : others) {
            const auto theirs = groupsDeclaredBy(*other);
            shared = shared || std::find(theirs.begin(), theirs.end(), name) != theirs.end();
        }
        if (!shared)
            add(matches, folder + "/" + name, name);
    }
    return matches;
}

}  // namespace

ReferenceResult referenceScan(const std::string& bundlePath, const std::vector<std::string>& installedBundles)
{
    ReferenceResult result;
    const auto app = UninstallApp::create(bundlePath);
    std::vector<std::shared_ptr<UninstallApp>> queue{app};
    const std::string macos = platform::fs::resolveCaseInsensitive(bundlePath, "Contents/Macos");
    for (const auto& entry : platform::fs::listDirectory(macos).value_or(std::vector<std::string>{}))
        if (entry.find(".app") != std::string::npos)
            queue.push_back(UninstallApp::create(macos + "/" + entry));

    std::vector<std::shared_ptr<UninstallApp>> installed;
    for (const auto& other : installedBundles) {
        installed.push_back(UninstallApp::create(other));
        const std::string folder = platform::fs::resolveCaseInsensitive(other, "Contents/Macos");
        for (const auto& entry : entriesOf(folder))
            if (entry.find(".app") != std::string::npos)
                installed.push_back(UninstallApp::create(folder + "/" + entry));
    }
    std::vector<std::string> claimants;
    std::vector<std::shared_ptr<UninstallApp>> others;
    for (const auto& other : installed) {
        bool ownFamily = false;
        for (const auto& queued : queue)
            ownFamily = ownFamily || queued->bundleIdentifier() == other->bundleIdentifier();
        if (!ownFamily) {
            claimants.push_back(other->bundleIdentifier());
            others.push_back(other);
        }
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
    auto addTo = [&](RkUninstallCategoryType type, const Matches& matches, bool onlyNew) {
        for (const auto& [path, name] : matches) {
            bool known = false;
            for (const auto& group : result.groups)
                for (const auto& item : group.items)
                    known = known || item.path == path;
            if (onlyNew && known)
                continue;
            const std::int64_t size = fileSize(path);
            groupFor(type).items.push_back({path, name, platform::fs::isDirectoryNoFollow(path), size});
            result.totalSize += size;
        }
    };
    for (const auto& queued : queue) {
        for (const auto type : SearchFilePath::searchedCategories()) {
            if (type == RkUninstallCategoryType::daemon)
                addTo(RkUninstallCategoryType::other, helperTools(*queued, claimants), true);
            Matches matches = matchFolders(*queued, SearchFilePath::foldersForCategory(type), SearchFilePath::suffixForCategory(type), claimants);
            if (type == RkUninstallCategoryType::daemon)
                matches = checkLaunchItems(matches, result.groups);
            addTo(type, matches, false);
        }
        addTo(RkUninstallCategoryType::other, receipts(*queued, claimants), true);
        addTo(RkUninstallCategoryType::other, plugIns(*queued, claimants), true);
        addTo(RkUninstallCategoryType::Sandbox, declaredGroups(*queued, others), true);
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
