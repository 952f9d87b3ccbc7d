#include "app/scanner/ScanIndex.h"

#include "app/bundles/BundleReader.h"
#include "app/records/UninstallApp.h"
#include "app/locations/SearchFilePath.h"
#include "app/scanner/SizeWalk.h"
#include "app/scanner/WholeIdentifier.h"
#include "platform/BundleIdentifier.h"
#include "platform/FileSystem.h"
#include "platform/LaunchJobFile.h"
#include "platform/PathUtil.h"

#include <sys/stat.h>

#include <algorithm>

namespace {

std::vector<std::shared_ptr<UninstallApp>> findNestedApps(const UninstallApp& app)
{
    std::vector<std::shared_ptr<UninstallApp>> nested;
    for (const auto& path : BundleReader::nestedApplications(app.bundlePath.value_or("")))
        nested.push_back(BundleReader::record(path));
    return nested;
}

}  // namespace

ScanIndex::ScanIndex(const std::vector<std::shared_ptr<UninstallApp>>& apps,
                     const std::vector<std::shared_ptr<UninstallApp>>& otherInstalled)
{
    for (const auto& app : apps)
        addOwner(app, true);
    for (const auto& app : otherInstalled)
        addOwner(app, false);
    substrings_ = std::make_unique<SubstringIndex>(identifiers_);

    for (const auto type : SearchFilePath::searchedCategories()) {
        for (const auto& folder : SearchFilePath::foldersForCategory(type))
            sharedFolders_.insert(platform::path::trimTrailingSlashes(folder));
    }
    for (const auto& folder : SearchFilePath::ownRuleFolders())
        sharedFolders_.insert(platform::path::trimTrailingSlashes(folder));
    holders_ = SearchFilePath::holderFolders();
    for (const auto& holder : holders_)
        sharedFolders_.insert(platform::path::trimTrailingSlashes(holder.path));
    for (const auto& library : {SearchFilePath::resolveHomePath("/Library"), SearchFilePath::resolveHomePath("~/Library")}) {
        for (const auto& name : SearchFilePath::standardLibraryFolderNames())
            sharedFolders_.insert(platform::path::toLower(platform::path::appending(library, name)));
    }
}

void ScanIndex::addOwner(const std::shared_ptr<UninstallApp>& app, bool scanned)
{
    // Copies of one application (one identifier) are one owner.
    const std::string identifier = app->bundleIdentifier();
    const std::string key = identifier.empty() ? "/" + app->bundlePath.value_or("") : BundleIdentifier(identifier).key();
    const auto owner = ownerKeys_.emplace(key, static_cast<InstalledClaims::Owner>(ownerKeys_.size())).first->second;
    owners_[app.get()] = owner;
    auto nested = findNestedApps(*app);
    addIdentifier(identifier);
    claims_.add(owner, *app, app->displayName());
    for (const auto& inner : nested) {
        owners_[inner.get()] = owner;
        addIdentifier(inner->bundleIdentifier());
        claims_.add(owner, *inner, inner->displayName());
    }
    for (const auto& inner : innerIdentifiers(*app)) {
        addIdentifier(inner);
        claims_.addIdentifier(owner, inner);
    }
    for (const auto& group : declaredGroups(*app)) {
        groupDeclarers_[group].push_back(identifier);
        claims_.addIdentifier(owner, group);
    }
    for (const auto& inner : nested) {
        for (const auto& group : declaredGroups(*inner)) {
            groupDeclarers_[group].push_back(inner->bundleIdentifier());
            claims_.addIdentifier(owner, group);
        }
    }
    if (scanned)
        nested_.emplace(app.get(), std::move(nested));
}

InstalledClaims::Owner ScanIndex::ownerOf(const UninstallApp& app) const
{
    const auto it = owners_.find(&app);
    return it == owners_.end() ? InstalledClaims::kNobody : it->second;
}

const std::vector<std::string>& ScanIndex::innerIdentifiers(const UninstallApp& app)
{
    auto it = inner_.find(&app);
    if (it != inner_.end())
        return it->second;
    std::vector<std::string> identifiers;
    const std::string own = app.bundleIdentifier();
    for (const auto& inner : BundleReader::innerBundles(app.bundlePath.value_or(""))) {
        const std::string& identifier = bundleIdentifierAt(inner);
        if (!identifier.empty() && identifier != own && std::find(identifiers.begin(), identifiers.end(), identifier) == identifiers.end())
            identifiers.push_back(identifier);
    }
    return inner_.emplace(&app, std::move(identifiers)).first->second;
}

void ScanIndex::addIdentifier(const std::string& raw)
{
    if (raw.empty() || identifierIds_.count(raw))
        return;
    identifierIds_.emplace(raw, static_cast<std::uint32_t>(identifiers_.size()));
    identifiers_.push_back(raw);
}

bool ScanIndex::knows(const UninstallApp& app) const
{
    return nested_.count(&app) != 0;
}

const std::vector<std::shared_ptr<UninstallApp>>& ScanIndex::nestedApps(const UninstallApp& app)
{
    auto it = nested_.find(&app);
    if (it == nested_.end())
        it = nested_.emplace(&app, findNestedApps(app)).first;
    return it->second;
}

FolderSnapshot& ScanIndex::folder(const std::string& path)
{
    auto it = folders_.find(path);
    if (it == folders_.end()) {
        it = folders_.emplace(path, std::make_unique<FolderSnapshot>(path, *substrings_)).first;
        it->second->markShared([this](const std::string& entry) { return isSharedFolder(entry); });
    }
    return *it->second;
}

const std::vector<std::string>& ScanIndex::foldersFor(RkUninstallCategoryType category)
{
    auto it = categoryFolders_.find(static_cast<int>(category));
    if (it == categoryFolders_.end())
        it = categoryFolders_.emplace(static_cast<int>(category), SearchFilePath::foldersForCategory(category)).first;
    return it->second;
}

std::optional<std::uint32_t> ScanIndex::identifierId(const std::string& rawIdentifier) const
{
    const auto it = identifierIds_.find(rawIdentifier);
    if (it == identifierIds_.end())
        return std::nullopt;
    return it->second;
}

bool ScanIndex::claimedByMoreSpecific(std::string_view name, std::string_view own, const std::vector<std::string>& family) const
{
    for (const auto id : substrings_->find(name)) {
        const std::string& other = identifiers_[id];
        if (other.size() <= own.size() || std::find(family.begin(), family.end(), other) != family.end())
            continue;
        if (WholeIdentifier::isCarriedBy(name, other))
            return true;
    }
    return false;
}

const std::vector<std::string>& ScanIndex::declaredGroups(const UninstallApp& app)
{
    const std::string bundle = app.bundlePath.value_or("");
    auto it = declaredGroups_.find(bundle);
    if (it == declaredGroups_.end())
        it = declaredGroups_.emplace(bundle, BundleReader::declaredGroups(bundle, app.executableName())).first;
    return it->second;
}

bool ScanIndex::groupDeclaredElsewhere(const std::string& group, const std::vector<std::string>& family)
{
    const auto it = groupDeclarers_.find(group);
    if (it == groupDeclarers_.end())
        return false;
    return std::any_of(it->second.begin(), it->second.end(), [&](const std::string& declarer) {
        return std::find(family.begin(), family.end(), declarer) == family.end();
    });
}

const std::vector<std::string>& ScanIndex::plugInFolders()
{
    if (!plugInFolders_)
        plugInFolders_ = SearchFilePath::plugInFolders();
    return *plugInFolders_;
}

const std::string& ScanIndex::bundleIdentifierAt(const std::string& bundlePath)
{
    auto it = bundleIdentifiers_.find(bundlePath);
    if (it == bundleIdentifiers_.end())
        it = bundleIdentifiers_.emplace(bundlePath, BundleReader::identifierAt(bundlePath)).first;
    return it->second;
}

void ScanIndex::measureBundlesAhead(std::vector<std::string> paths, std::weak_ptr<StopToken> stop)
{
    bundleSizes_ = std::make_unique<BundleSizes>(std::move(paths), std::move(stop));
}

std::int64_t ScanIndex::bundleSize(const std::string& path, const StopToken* stop)
{
    return bundleSizes_ ? bundleSizes_->sizeOf(path) : SizeWalk::sizeOfPath(path, stop);
}

const std::optional<std::vector<std::string>>& ScanIndex::launchPrograms(const std::string& jobPath)
{
    auto it = launchJobs_.find(jobPath);
    if (it != launchJobs_.end())
        return it->second;
    std::optional<std::vector<std::string>> programs;
    std::string why;
    if (const auto file = platform::LaunchJobFile::read(jobPath, false, why))
        programs = platform::LaunchJobFile::programsOf(file->job);
    return launchJobs_.emplace(jobPath, std::move(programs)).first->second;
}

bool ScanIndex::isSharedFolder(const std::string& path) const
{
    const std::string trimmed = platform::path::trimTrailingSlashes(path);
    return sharedFolders_.count(trimmed) != 0 || sharedFolders_.count(platform::path::toLower(trimmed)) != 0;
}

std::string ScanIndex::canonical(const std::string& path)
{
    std::string joined;
    for (const auto& part : platform::path::components(path)) {
        if (part == "/") {
            joined.assign(1, '/');
            continue;
        }
        if (!joined.empty() && joined != "/")
            joined.push_back('/');
        joined.append(part);
    }
    return joined;
}

const std::vector<ScanIndex::LaunchRef>* ScanIndex::launchJobsFiledUnder(const std::string& key,
                                                                         const std::vector<std::string>& folders,
                                                                         const std::string& pattern)
{
    if (!launchFiled_) {
        launchFiled_ = true;
        for (const auto& path : folders) {
            FolderSnapshot& snapshot = folder(path);
            for (const auto position : snapshot.matchedBy(pattern)) {
                const auto& programs = launchPrograms(snapshot.fullPath(position));
                if (!programs)
                    continue;
                std::unordered_set<std::string> keys;
                for (const auto& program : *programs) {
                    keys.insert("=" + program);
                    const auto parts = platform::path::components(platform::path::trimTrailingSlashes(program));
                    std::string ancestor;
                    for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
                        if (i > 0 && !ancestor.empty() && ancestor != "/")
                            ancestor.push_back('/');
                        ancestor.append(parts[i]);
                        keys.insert("<" + ancestor);
                    }
                }
                for (const auto& filed : keys)
                    launchFiling_[filed].push_back({&snapshot, position});
            }
        }
    }
    const auto it = launchFiling_.find(key);
    return it == launchFiling_.end() ? nullptr : &it->second;
}

void ScanIndex::buildRunTables()
{
    runTablesBuilt_ = true;
    for (const auto type : SearchFilePath::searchedCategories()) {
        const bool crash = type == RkUninstallCategoryType::crashReporter;
        for (const auto& path : foldersFor(type)) {
            FolderSnapshot& snapshot = folder(path);
            if (!covered_.insert(&snapshot).second)
                continue;
            auto file = [&](auto& into, const auto& table) {
                for (const auto& [key, positions] : table) {
                    auto& refs = into[key];
                    for (const auto position : positions)
                        refs.push_back({&snapshot, position});
                }
            };
            file(runDotted_, snapshot.dotPrefixTable());
            file(runKeys_, snapshot.keyTable());
            file(runIdentifiers_, snapshot.identifierTable());
            if (crash)
                file(runUnderscored_, snapshot.underscorePrefixTable());
        }
    }
}

bool ScanIndex::coversFolder(const FolderSnapshot& snapshot) const
{
    return covered_.count(&snapshot) != 0;
}

void ScanIndex::prepareRunTables()
{
    if (!runTablesBuilt_)
        buildRunTables();
}

ScanIndex::Candidates ScanIndex::candidatesFor(const std::vector<const std::string*>& tokens,
                                               const std::string& rawIdentifier, const std::string& vendor)
{
    prepareRunTables();
    Candidates found;
    auto take = [](std::vector<Ref>& into, const auto& table, const auto& key) {
        const auto it = table.find(key);
        if (it != table.end())
            into.insert(into.end(), it->second.begin(), it->second.end());
    };
    std::unordered_set<std::string> seen;
    for (const std::string* token : tokens) {
        if (token->empty() || !seen.insert(*token).second)
            continue;
        take(found.dotted, runDotted_, *token);
        take(found.underscored, runUnderscored_, *token);
    }
    if (const auto id = identifierId(rawIdentifier))
        take(found.containing, runIdentifiers_, *id);
    if (!vendor.empty())
        take(found.vendor, runKeys_, vendor);
    for (const auto* refs : {&found.dotted, &found.underscored, &found.containing, &found.vendor})
        for (const auto& ref : *refs)
            found.folders.push_back(ref.folder);
    std::sort(found.folders.begin(), found.folders.end());
    found.folders.erase(std::unique(found.folders.begin(), found.folders.end()), found.folders.end());
    return found;
}

bool ScanIndex::Candidates::mentions(const FolderSnapshot* folder) const
{
    return std::binary_search(folders.begin(), folders.end(), folder);
}
