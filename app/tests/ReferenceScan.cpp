#include "ReferenceScan.h"

#include "Auxiliary/FileSize.h"
#include "app/bundles/BundleReader.h"
#include "app/catalogue/UninstallAppManager.h"
#include "app/locations/SearchFilePath.h"
#include "app/scanner/GenericExecutables.h"
#include "app/scanner/UninstallScaner.h"
#include "platform/Bundle.h"
#include "platform/CodeSignature.h"
#include "platform/FileSystem.h"
#include "platform/LaunchJobFile.h"
#include "platform/PathUtil.h"
#include "platform/PropertyList.h"

#include <gtest/gtest.h>
#include <unicode/regex.h>

#include <algorithm>
#include <functional>
#include <map>
#include <sstream>

namespace {

using Matches = std::vector<std::pair<std::string, std::string>>;

// A job file, read as the scan reads it.
std::optional<plist::Dictionary> readJob(const std::string& path)
{
    std::string why;
    auto file = platform::LaunchJobFile::read(path, false, why);
    return file ? std::optional<plist::Dictionary>(std::move(file->job)) : std::nullopt;
}

// Whether the pattern matches the whole text, or (`whole` false) somewhere in it.
bool regexTest(const std::string& pattern, const std::string& text, bool whole = true)
{
    UErrorCode status = U_ZERO_ERROR;
    const icu::UnicodeString input = icu::UnicodeString::fromUTF8(text);  // read by reference while matching
    icu::RegexMatcher matcher(icu::UnicodeString::fromUTF8(pattern), input, 0, status);
    if (U_FAILURE(status))
        return false;
    const bool found = whole ? matcher.matches(status) : matcher.find(status);
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
    for (const auto& holder : SearchFilePath::holderFolders())
        if (platform::path::trimTrailingSlashes(holder.path) == trimmed)
            return true;
    for (const auto& library : {SearchFilePath::resolveHomePath("/Library"), SearchFilePath::resolveHomePath("~/Library")})
        for (const auto& name : SearchFilePath::standardLibraryFolderNames())
            if (platform::path::toLower(library + "/" + name) == platform::path::toLower(trimmed))
                return true;
    return false;
}

bool carriesWhole(const std::string& name, const std::string& identifier)
{
    return !identifier.empty() &&
           regexTest("(^|\\.)" + UninstallScaner::escapeForPattern(identifier) + "($|[._-])", name, false);
}

// One bundle whose names claim entries: an installed application, one inside its bundle, or an
// identifier that counts as its own (an extension's, a declared group).
struct Claimant {
    std::string owner;  // lower-case identifier of the outer application, or its path
    std::string raw;
    std::string identifier;
    std::string infoName;
    std::string display;
    std::string executable;
    bool declaredGroup = false;
};

Claimant claimantOf(const UninstallApp& app, const std::string& owner)
{
    const auto norm = UninstallScaner::normalizeName;
    return {owner, app.bundleIdentifier(), norm(app.bundleIdentifier()), norm(app.infoName()), norm(app.displayName()),
            norm(app.executableName())};
}

Claimant identifierClaimant(const std::string& raw, const std::string& owner, bool declaredGroup = false)
{
    return {owner, raw, UninstallScaner::normalizeName(raw), "", "", "", declaredGroup};
}

bool tokenFits(const std::string& token, const std::string& suffix, const std::string& key)
{
    return !token.empty() && regexTest("\\b((" + UninstallScaner::escapeForPattern(token) + "))" + suffix + "(\\..*){0,}", key);
}

// Strength (identifier 3, name 2, executable 1) and the length of the token that fits.
using Claim = std::pair<int, std::size_t>;

Claim claimOf(const Claimant& who, const std::string& key, const std::string& name, const std::string& suffix)
{
    if (tokenFits(who.identifier, suffix, key) || carriesWhole(name, who.raw)) {
        // A team or "group." prefix makes an identifier no more specific.
        const bool prefixed = regexTest("(group|[A-Z0-9]{10})\\..*", who.raw);
        return {3, prefixed ? who.raw.size() - who.raw.find('.') - 1 : who.raw.size()};
    }
    std::size_t named = 0;
    for (const auto* token : {&who.infoName, &who.display})
        if (tokenFits(*token, suffix, key))
            named = std::max(named, token->size());
    if (named > 0)
        return {2, named};
    if (tokenFits(who.executable, suffix, key))
        return {1, who.executable.size()};
    return {0, 0};
}


// The claim, unless it rests on an executable's name that other owners share or that a framework
// gives every application.
Claim validClaimOf(const Claimant& who, const std::vector<Claimant>& everyone, const std::string& key,
                   const std::string& name, const std::string& suffix)
{
    const Claim claim = claimOf(who, key, name, suffix);
    if (claim.first != 1)
        return claim;
    if (GenericExecutables::contains(who.executable))
        return {0, 0};
    for (const auto& other : everyone)
        if (other.owner != who.owner && other.executable == who.executable)
            return {0, 0};
    return claim;
}

// The name tests of one bundle for one suffix. Launch jobs: a name pattern, the identifier pattern or
// the whole identifier, unless a longer installed identifier is carried whole. Everything else: the
// bundle's evidence must beat that of every other installed application; nullopt means no claim.
std::function<std::optional<bool>(const std::string&, const std::string&)>
nameTests(const Claimant& me, const std::string& suffix, const std::vector<Claimant>& everyone, bool launch)
{
    return [=](const std::string& key, const std::string& name) -> std::optional<bool> {
        if (launch) {
            const auto esc = UninstallScaner::escapeForPattern;
            const std::string namePattern = "\\b((" + esc(me.infoName) + ")|(" + esc(me.executable) + ")|(" + esc(me.display) + "))" +
                                            suffix + "(\\..*){0,}";
            const std::string idPattern = "\\b((" + esc(me.identifier) + ")|())" + suffix + "(\\..*){0,}";
            if (!regexTest(namePattern, key) && !regexTest(idPattern, key) && !carriesWhole(name, me.raw))
                return std::nullopt;
            for (const auto& other : everyone)
                if (other.owner != me.owner && !other.declaredGroup && other.raw.size() > me.raw.size() &&
                    carriesWhole(name, other.raw))
                    return false;
            return true;
        }
        if (claimOf(me, key, name, suffix).first == 0)
            return std::nullopt;
        const Claim mine = validClaimOf(me, everyone, key, name, suffix);
        if (mine.first == 0)
            return false;
        for (const auto& other : everyone)
            if (other.owner != me.owner && validClaimOf(other, everyone, key, name, suffix) >= mine)
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
    return pieces.size() >= 3 ? UninstallScaner::normalizeName(pieces[1]) : std::string();
}

Matches matchFolders(const Claimant& me, const std::vector<std::string>& folders, const std::string& suffix,
                     const std::vector<Claimant>& everyone, bool launch)
{
    const auto norm = UninstallScaner::normalizeName;
    const std::string vendor = vendorOf(me.raw);
    const auto passes = nameTests(me, suffix, everyone, launch);
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
            if (const auto ours = passes(key, name)) {
                if (*ours)
                    add(matches, path, name);
            } else if (!vendor.empty() && key == vendor && platform::fs::isDirectoryNoFollow(path)) {
                for (const auto& child : platform::fs::listDirectory(path).value_or(std::vector<std::string>{})) {
                    const std::string childPath = path + "/" + child;
                    if (!isSharedFolder(childPath) && passes(norm(child), child).value_or(false))
                        add(matches, childPath, child);
                }
            }
        }
    }
    return matches;
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

std::vector<std::string> existingPrograms(const std::string& jobPath)
{
    std::vector<std::string> programs;
    const auto job = readJob(jobPath);
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

Matches checkLaunchItems(const Matches& candidates, const std::vector<ReferenceGroup>& collected)
{
    Matches kept;
    for (const auto& [path, name] : candidates) {
        bool keep = false;
        for (const auto& program : existingPrograms(path))
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

std::vector<std::string> groupsDeclaredBy(const UninstallApp& app)
{
    if (!app.bundlePath)
        return {};
    const std::string contents = platform::fs::resolveCaseInsensitive(*app.bundlePath, "Contents");
    const std::string executable = app.executableName();
    const auto signature = executable.empty() || executable.find('/') != std::string::npos
                               ? std::nullopt
                               : platform::CodeSignature::entitlementsOf(contents + "/MacOS/" + executable);
    const plist::Value* inSignature = signature ? plist::find(*signature, "com.apple.security.application-groups") : nullptr;
    if (inSignature && inSignature->is<plist::Array>())
        return stringsOf(inSignature);
    for (const auto& candidate : {contents + "/Resources/Entitlements.plist", contents + "/Entitlements.plist",
                                  contents + "/Resources/" + app.executableName() + ".entitlements"}) {
        if (platform::fs::isSymbolicLink(candidate) || platform::fs::isDirectoryNoFollow(candidate))
            continue;
        const auto entitlements = plist::readDictionarySafely(candidate, platform::Bundle::kMaxInfoPlistBytes);
        if (entitlements && plist::find(*entitlements, "com.apple.security.application-groups"))
            return stringsOf(plist::find(*entitlements, "com.apple.security.application-groups"));
    }
    return {};
}

Matches helperTools(const UninstallApp& app, const Claimant& me, const std::vector<Claimant>& everyone)
{
    Matches matches;
    const auto passes = nameTests(me, "", everyone, false);
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
        if (!passes(UninstallScaner::normalizeName(job), job).value_or(false))
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
                const auto dictionary = plist::readDictionarySafely(path + info, platform::Bundle::kMaxInfoPlistBytes);
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

std::vector<std::shared_ptr<UninstallApp>> withNestedApps(const std::string& bundlePath)
{
    std::vector<std::shared_ptr<UninstallApp>> apps{BundleReader::record(bundlePath)};
    const std::string macos = platform::fs::resolveCaseInsensitive(bundlePath, "Contents/Macos");
    for (const auto& entry : entriesOf(macos))
        if (entry.find(".app") != std::string::npos)
            apps.push_back(BundleReader::record(macos + "/" + entry));
    return apps;
}

// The identifiers of the helpers, login items and extensions inside a bundle, other than its own.
std::vector<std::string> innerIdentifiers(const UninstallApp& app)
{
    std::vector<std::string> found;
    const std::string contents = platform::fs::resolveCaseInsensitive(*app.bundlePath, "Contents");
    for (const auto& [folder, extension] : std::vector<std::pair<std::string, std::string>>{
             {"Helpers", "app"}, {"Library/LoginItems", "app"}, {"PlugIns", "appex"}, {"Library/SystemExtensions", "systemextension"}}) {
        for (const auto& entry : entriesOf(contents + "/" + folder)) {
            if (platform::path::toLower(platform::path::extension(entry)) != extension)
                continue;
            const auto info = plist::readDictionarySafely(contents + "/" + folder + "/" + entry + "/Contents/Info.plist",
                                                          platform::Bundle::kMaxInfoPlistBytes);
            const auto* value = info ? plist::find(*info, "CFBundleIdentifier") : nullptr;
            const auto* text = value ? value->get<std::string>() : nullptr;
            if (text && !text->empty() && *text != app.bundleIdentifier() && std::find(found.begin(), found.end(), *text) == found.end())
                found.push_back(*text);
        }
    }
    return found;
}

std::string ownerOf(const UninstallApp& app)
{
    const std::string identifier = app.bundleIdentifier();
    return identifier.empty() ? "/" + app.bundlePath.value_or("") : platform::path::toLower(identifier);
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

}  // namespace

ReferenceResult referenceScan(const std::string& bundlePath, const std::vector<std::string>& installedBundles)
{
    ReferenceResult result;
    const auto queue = withNestedApps(bundlePath);
    const auto& app = queue.front();
    const std::string own = ownerOf(*app);

    // Every claimant: the scanned bundle's and every other installed application's.
    std::vector<Claimant> everyone;
    std::vector<Claimant> mine;
    for (const auto& queued : queue)
        mine.push_back(claimantOf(*queued, own));
    for (const auto& inner : innerIdentifiers(*app))
        mine.push_back(identifierClaimant(inner, own));
    everyone = mine;
    std::vector<std::string> claimants;
    std::vector<std::shared_ptr<UninstallApp>> others;
    std::vector<std::string> family;
    for (const auto& claimant : mine)
        family.push_back(claimant.raw);
    for (const auto& other : installedBundles) {
        const auto apps = withNestedApps(other);
        const std::string owner = ownerOf(*apps.front());
        for (const auto& installed : apps) {
            if (owner != own)
                everyone.push_back(claimantOf(*installed, owner));
            for (const auto& group : groupsDeclaredBy(*installed))
                if (owner != own)
                    everyone.push_back(identifierClaimant(group, owner, true));
            if (std::find(family.begin(), family.end(), installed->bundleIdentifier()) == family.end()) {
                claimants.push_back(installed->bundleIdentifier());
                others.push_back(installed);
            }
        }
        for (const auto& inner : innerIdentifiers(*apps.front())) {
            if (owner != own)
                everyone.push_back(identifierClaimant(inner, owner));
            if (std::find(family.begin(), family.end(), inner) == family.end())
                claimants.push_back(inner);
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
    // The folders that hold one entry per application: by identifier, some by exact name too.
    auto addHolders = [&](const Claimant& me) {
        for (const auto& holder : SearchFilePath::holderFolders()) {
            const std::string suffix = holder.byName ? "(-.*)?" : "";
            const auto passes = nameTests(me, suffix, everyone, false);
            Matches matches;
            for (const auto& child : entriesOf(holder.path)) {
                const std::string key = UninstallScaner::normalizeName(child);
                const std::string path = holder.path + "/" + child;
                if (isSharedFolder(path) || (!holder.byName && claimOf(me, key, child, suffix).first != 3))
                    continue;
                if (passes(key, child).value_or(false))
                    add(matches, path, child);
            }
            addTo(holder.category, matches, true);
        }
    };
    for (std::size_t i = 0; i < queue.size(); ++i) {
        const auto& queued = queue[i];
        for (const auto type : SearchFilePath::searchedCategories()) {
            const bool launch = type == RkUninstallCategoryType::daemon;
            if (launch)
                addTo(RkUninstallCategoryType::other, helperTools(*queued, mine[i], everyone), true);
            Matches matches = matchFolders(mine[i], SearchFilePath::foldersForCategory(type), SearchFilePath::suffixForCategory(type),
                                           everyone, launch);
            if (launch)
                matches = checkLaunchItems(matches, result.groups);
            addTo(type, matches, false);
        }
        addHolders(mine[i]);
        if (i == 0) {
            for (std::size_t inner = queue.size(); inner < mine.size(); ++inner) {
                for (const auto type : SearchFilePath::searchedCategories())
                    if (type != RkUninstallCategoryType::daemon)
                        addTo(type, matchFolders(mine[inner], SearchFilePath::foldersForCategory(type),
                                                 SearchFilePath::suffixForCategory(type), everyone, false),
                              true);
                addHolders(mine[inner]);
            }
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

void expectPlainScanResults(const std::vector<std::shared_ptr<UninstallApp>>& apps,
                            const std::vector<std::shared_ptr<UninstallApp>>& alsoInstalled)
{
    std::vector<std::string> installed;
    for (const auto* list : {&apps, &alsoInstalled})
        for (const auto& app : *list)
            installed.push_back(*app->bundlePath);
    for (const auto& app : apps) {
        const ReferenceResult expected = referenceScan(*app->bundlePath, installed);
        const ReferenceResult actual = resultOf(*app);
        EXPECT_EQ(actual, expected) << *app->bundlePath << "\nexpected:\n" << describe(expected) << "actual:\n" << describe(actual);
    }
}
