#include "app/scanner/UninstallScaner.h"

#include "Auxiliary/FileSize.h"
#include "app/locations/FolderAccess.h"
#include "app/locations/ReviewManager.h"
#include "app/records/UninstallApp.h"
#include "app/scanner/HolderFolderSearch.h"
#include "app/scanner/ScanIndex.h"
#include "app/scanner/NameText.h"
#include "app/scanner/OwnRuleSearch.h"
#include "app/scanner/ScanTokens.h"
#include "app/scanner/SizeWalk.h"
#include "app/scanner/StopToken.h"
#include "app/scanner/WholeIdentifier.h"
#include "app/locations/SearchFilePath.h"
#include "system/Utility.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "platform/Statistics.h"
#include "platform/SystemRoot.h"
#include "platform/Uuid.h"

#include <algorithm>
#include <chrono>
#include <optional>
#include <array>
#include <unordered_set>

namespace {

const std::string& crashSuffix()
{
    static const std::string suffix = SearchFilePath::suffixForCategory(RkUninstallCategoryType::crashReporter);
    return suffix;
}

const std::string& launchSuffix()
{
    static const std::string suffix = SearchFilePath::suffixForCategory(RkUninstallCategoryType::daemon);
    return suffix;
}

// The identifier pattern with no identifier: what every application's identifier pattern matches
// through its always-empty second alternative.
const std::string& applicationIndependentPattern(const std::string& suffix)
{
    static const std::string crash = NamePattern::identifierPattern("", crashSuffix());
    static const std::string launch = NamePattern::identifierPattern("", launchSuffix());
    return suffix == launchSuffix() ? launch : crash;
}

void append(std::vector<std::uint32_t>& into, const FolderSnapshot::Positions* positions)
{
    if (positions)
        into.insert(into.end(), positions->begin(), positions->end());
}

}  // namespace

UninstallScaner::UninstallScaner(std::weak_ptr<StopToken> manager, std::shared_ptr<ScanIndex> index)
    : mgr(std::move(manager)), index_(std::move(index))
{
}

UninstallScaner::~UninstallScaner() = default;

std::string UninstallScaner::normalizeName(const std::string& name)
{
    return nametext::normalizeName(name);
}

std::string UninstallScaner::escapeForPattern(const std::string& token)
{
    return nametext::escapeForPattern(token);
}

bool UninstallScaner::keepGoing() const
{
    const auto manager = mgr.lock();
    return manager && manager->keepGoing();
}

ScanTokens& UninstallScaner::tokensFor(const UninstallApp& app)
{
    for (auto& [owner, tokens] : tokens_) {
        if (owner == &app)
            return *tokens;
    }
    tokens_.emplace_back(&app, std::make_unique<ScanTokens>(app));
    return *tokens_.back().second;
}

void UninstallScaner::scan(const std::shared_ptr<UninstallApp>& app)
{
    current = app;
    cacheQueue = {app};
    if (!index_ || !index_->knows(*app))
        index_ = std::make_shared<ScanIndex>(std::vector<std::shared_ptr<UninstallApp>>{app});
    for (const auto& nested : index_->nestedApps(*app))
        cacheQueue.push_back(nested);
    family_.clear();
    for (const auto& queued : cacheQueue)
        family_.push_back(queued->bundleIdentifier());
    const auto& inner = index_->innerIdentifiers(*app);
    family_.insert(family_.end(), inner.begin(), inner.end());
    owner_ = index_->ownerOf(*app);

    if (mgr.expired())
        return;
    withStoredFolderAccess(SearchFilePath::accessRootForCategory(RkUninstallCategoryType::bundle), [&](bool granted) {
        if (!granted)
            return;
        auto bundleGroup = std::make_shared<UnFileGroup>();
        bundleGroup->type = RkUninstallCategoryType::bundle;
        bundleGroup->app = app;
        MatchSet bundles;
        for (const auto& queued : cacheQueue)
            bundles.add(queued->bundlePath.value_or(""), queued->displayName());
        addItems(bundleGroup, bundles);
        app->fileGroups.push_back(bundleGroup);

        for (const auto& searched : cacheQueue) {
            if (keepGoing()) {
                for (const auto category : SearchFilePath::searchedCategories()) {
                    if (category == RkUninstallCategoryType::other)
                        continue;
                    if (!keepGoing())
                        break;
                    // Helper tools first: the launch daemons that run them are kept for it.
                    if (category == RkUninstallCategoryType::daemon)
                        addNew(RkUninstallCategoryType::other, OwnRuleSearch(*index_, tokensFor(*searched), *searched, family_).helperTools());
                    const MatchSet matches =
                        category == RkUninstallCategoryType::daemon
                            ? matchLaunchItems(*searched)
                            : matchFolders(*searched, index_->foldersFor(category),
                                           SearchFilePath::suffixForCategory(category), category);
                    if (!matches.empty())
                        addItems(groupForCategory(category), matches);
                }
            }
            const MatchSet others =
                matchFolders(*searched, index_->foldersFor(RkUninstallCategoryType::other), "", RkUninstallCategoryType::other);
            if (!others.empty())
                addItems(groupForCategory(RkUninstallCategoryType::other), others);
            matchHolders(tokensFor(*searched));
            if (searched == app)
                matchInnerIdentifiers(*app);
            if (keepGoing()) {
                OwnRuleSearch places(*index_, tokensFor(*searched), *searched, family_);
                addNew(RkUninstallCategoryType::other, places.receipts());
                addNew(RkUninstallCategoryType::other, places.plugIns());
                addNew(RkUninstallCategoryType::Sandbox, places.declaredGroups());
            }
        }

        const auto manager = mgr.lock();
        const std::string bundlePath = app->bundlePath.value_or("");
        app->bundleSize = index_->bundleSize(bundlePath, manager.get());
        for (const auto& group : app->fileGroups) {
            if (group->type != RkUninstallCategoryType::bundle)
                continue;
            for (auto& item : group->fileItem)
                item->size = item->filePath == bundlePath ? app->bundleSize
                                                          : SizeWalk::sizeOfPath(item->filePath, manager.get());
            break;
        }
        app->totalSize += app->bundleSize;
    });
}

void UninstallScaner::matchInnerIdentifiers(const UninstallApp& app)
{
    // The applications and extensions inside the bundle count by their identifiers alone; their
    // launch jobs are the bundle's by what they run.
    for (const auto& identifier : index_->innerIdentifiers(app)) {
        ScanTokens tokens = ScanTokens::identifierOnly(identifier);
        for (const auto category : SearchFilePath::searchedCategories()) {
            if (!keepGoing())
                return;
            if (category == RkUninstallCategoryType::daemon)
                continue;
            addNew(category, collect(tokens, index_->foldersFor(category), SearchFilePath::suffixForCategory(category), category, nullptr));
        }
        matchHolders(tokens);
    }
}

void UninstallScaner::matchHolders(ScanTokens& tokens)
{
    HolderFolderSearch search(*index_, tokens, owner_, claimedBy_);
    for (const auto& holder : index_->holderFolders()) {
        if (!keepGoing())
            return;
        if (!Utility::isSandboxed()) {
            addNew(holder.category, search.find(holder));
            continue;
        }
        withStoredFolderAccess(SearchFilePath::accessRootForCategory(holder.category), [&](bool granted) {
            if (granted)
                addNew(holder.category, search.find(holder));
        });
    }
}

MatchSet UninstallScaner::matchFolders(const UninstallApp& app, const std::vector<std::string>& folders,
                                       const std::string& suffix, RkUninstallCategoryType category)
{
    if (!index_)
        index_ = std::make_shared<ScanIndex>(std::vector<std::shared_ptr<UninstallApp>>{});
    return collect(tokensFor(app), folders, suffix, category, nullptr);
}

MatchSet UninstallScaner::collect(ScanTokens& tokens, const std::vector<std::string>& folders,
                                  const std::string& suffix, RkUninstallCategoryType category, const LaunchFilter* filter)
{
    MatchSet matches;
    const auto manager = mgr.lock();
    if (!manager)
        return matches;
    const bool going = manager->keepGoing();
    if (!index_)
        index_ = std::make_shared<ScanIndex>(std::vector<std::shared_ptr<UninstallApp>>{});
    auto search = [&](const std::string& folder) {
        matchFolder(index_->folder(folder), tokens, suffix, matches, filter);
    };
    // Outside the sandbox the gate would run every search at once; asking it once is enough.
    const bool gated = Utility::isSandboxed();
    const std::string root = gated ? SearchFilePath::accessRootForCategory(category) : std::string();
    if (!gated)
        index_->prepareRunTables();
    for (const auto& folder : folders) {
        if (!going)
            break;
        if (!gated) {
            search(folder);
            continue;
        }
        withStoredFolderAccess(root, [&](bool granted) {
            if (granted)
                search(folder);
        });
    }
    return matches;
}

void UninstallScaner::matchFolder(FolderSnapshot& folder, ScanTokens& tokens, const std::string& suffix,
                                  MatchSet& matches, const LaunchFilter* filter)
{
    if (!folder.listed())
        return;
    const bool launch = suffix == launchSuffix();
    const bool exhaustive = tokens.hasLineBreak() || !(suffix.empty() || suffix == crashSuffix() || launch);
    const auto rawId = tokens.raw.empty() ? std::nullopt : index_->identifierId(tokens.raw);
    const FolderQuery query{tokens, suffix, launch, exhaustive, rawId};
    // Most folders hold nothing of a given application: leave those at once.
    if (!exhaustive && suffix.empty() && (rawId || tokens.raw.empty()) && index_->coversFolder(folder)) {
        if (!tokens.runCandidates)
            tokens.runCandidates = index_->candidatesFor(
                {&tokens.infoName, &tokens.executable, &tokens.display, &tokens.identifier}, tokens.raw, tokens.vendor);
        if (!tokens.runCandidates->mentions(&folder))
            return;
    }

    const FolderSnapshot::Positions* independent =
        launch && !exhaustive ? &folder.matchedBy(applicationIndependentPattern(suffix)) : nullptr;
    for (const auto position : candidatesIn(folder, query, true)) {
        // A launch job the caller's check would drop anyway is not even named.
        if (filter && independent && std::binary_search(independent->begin(), independent->end(), position) &&
            !filter->count({&folder, position}))
            continue;
        const auto& entry = folder.entries()[position];
        if (folder.isShared(position))
            continue;
        if (const auto ours = claim(folder, position, query)) {
            if (*ours)
                matches.add(folder.fullPath(position), entry.name);
            continue;
        }
        if (tokens.vendor.empty() || entry.key != tokens.vendor)
            continue;
        const std::string path = folder.fullPath(position);
        if (!platform::fs::isDirectoryNoFollow(path))
            continue;
        FolderSnapshot& vendor = index_->folder(path);
        for (const auto child : candidatesIn(vendor, query, false)) {
            const auto& inner = vendor.entries()[child];
            if (vendor.isShared(child))
                continue;
            if (claim(vendor, child, query).value_or(false))
                matches.add(vendor.fullPath(child), inner.name);
        }
    }
}

// Candidates: every entry that can pass one of the tests; the tests themselves decide (claim).
std::vector<std::uint32_t> UninstallScaner::candidatesIn(FolderSnapshot& snapshot, const FolderQuery& query, bool withVendor)
{
    ScanTokens& tokens = query.tokens;
    const std::string& suffix = query.suffix;
    const bool launch = query.launch;
    const bool exhaustive = query.exhaustive;
    const auto& rawId = query.rawId;
    std::vector<std::uint32_t> candidates;
    if (exhaustive) {
        candidates.resize(snapshot.entries().size());
        for (std::uint32_t i = 0; i < candidates.size(); ++i)
            candidates[i] = i;
        return candidates;
    }
    const bool tokensIndexed = rawId.has_value() || tokens.raw.empty();
    if (tokensIndexed && index_->coversFolder(snapshot)) {
        // The application's names were looked up once in the run's tables; keep this folder's.
        if (!tokens.runCandidates)
            tokens.runCandidates = index_->candidatesFor(
                {&tokens.infoName, &tokens.executable, &tokens.display, &tokens.identifier}, tokens.raw, tokens.vendor);
        const auto& found = *tokens.runCandidates;
        auto keep = [&](const std::vector<ScanIndex::Ref>& refs) {
            for (const auto& ref : refs)
                if (ref.folder == &snapshot)
                    candidates.push_back(ref.position);
        };
        if (launch || !suffix.empty())
            append(candidates, &snapshot.matchedBy(applicationIndependentPattern(suffix)));
        if (suffix.empty())
            keep(found.dotted);
        else if (!launch)
            keep(found.underscored);
        keep(found.containing);
        if (withVendor)
            keep(found.vendor);
    } else if (launch) {
        append(candidates, &snapshot.matchedBy(applicationIndependentPattern(suffix)));
    } else {
        const char separator = suffix.empty() ? '.' : '_';
        for (const std::string* token : {&tokens.infoName, &tokens.executable, &tokens.display, &tokens.identifier}) {
            if (token->empty())
                continue;
            if (suffix.empty())
                append(candidates, snapshot.withKey(*token));
            append(candidates, snapshot.withPrefix(*token, separator));
        }
        if (!suffix.empty())
            append(candidates, &snapshot.matchedBy(applicationIndependentPattern(suffix)));
    }
    if (!(tokensIndexed && index_->coversFolder(snapshot))) {
        if (rawId) {
            append(candidates, snapshot.containing(*rawId));
        } else if (!tokens.raw.empty()) {
            // An identifier outside the run's index: test every name.
            for (std::uint32_t i = 0; i < snapshot.entries().size(); ++i)
                candidates.push_back(i);
        }
        if (withVendor && !tokens.vendor.empty())
            append(candidates, snapshot.withKey(tokens.vendor));
    }
    std::sort(candidates.begin(), candidates.end());
    candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());
    return candidates;
}

// For launch folders the name and identifier tests together pass exactly the entries the
// application-independent pattern matches (its ".{1,}" takes up any token).
bool UninstallScaner::passesNameTests(FolderSnapshot& snapshot, std::uint32_t position, const FolderQuery& query)
{
    ScanTokens& tokens = query.tokens;
    const std::string& suffix = query.suffix;
    const bool launch = query.launch;
    const bool exhaustive = query.exhaustive;
    const std::string& key = snapshot.entries()[position].key;
    if (launch && !exhaustive) {
        const auto& independent = snapshot.matchedBy(applicationIndependentPattern(suffix));
        return std::binary_search(independent.begin(), independent.end(), position);
    }
    if (tokens.matchesName(key, suffix))
        return true;
    return tokens.matchesIdentifier(key, suffix);
}

// Whether the entry is ours: nullopt when we make no claim on it at all. Launch jobs are judged
// by what they run afterwards; every other entry by the strongest evidence of all installed
// applications.
std::optional<bool> UninstallScaner::claim(FolderSnapshot& snapshot, std::uint32_t position, const FolderQuery& query)
{
    ScanTokens& tokens = query.tokens;
    const std::string& suffix = query.suffix;
    const auto& entry = snapshot.entries()[position];
    if (query.launch) {
        if (!passesNameTests(snapshot, position, query) && !WholeIdentifier::isCarriedBy(entry.name, tokens.raw))
            return std::nullopt;
        return ownedAgainstClaims(entry.name, tokens);
    }
    const Evidence evidence = tokens.evidenceOn(entry.key, entry.name, suffix);
    if (!evidence)
        return std::nullopt;
    if (!index_->claims().wins(tokens, owner_, entry.key, entry.name, suffix))
        return false;
    claimedBy_[snapshot.fullPath(position)] = evidence.strength;
    return true;
}

std::string UninstallScaner::claimOf(const std::string& path, RkUninstallCategoryType type) const
{
    if (type == RkUninstallCategoryType::bundle)
        return "bundle";
    const auto it = claimedBy_.find(path);
    if (it == claimedBy_.end())
        return "rule";
    switch (it->second) {
    case Evidence::Strength::identifier:
        return "identifier";
    case Evidence::Strength::name:
        return "name";
    case Evidence::Strength::executable:
        return "executable";
    default:
        return "rule";
    }
}

bool UninstallScaner::ownedAgainstClaims(const std::string& name, const ScanTokens& tokens) const
{
    return !index_->claimedByMoreSpecific(name, tokens.raw, family_);
}

bool UninstallScaner::programInsideCollectedItem(const std::vector<std::string>& programs) const
{
    const auto app = current.lock();
    if (!app)
        return false;
    for (const auto& program : programs) {
        const auto programParts = platform::path::components(platform::path::trimTrailingSlashes(program));
        for (const auto& group : app->fileGroups) {
            for (const auto& item : group->fileItem) {
                if (program == item->filePath)
                    return true;
                const auto itemParts = platform::path::components(platform::path::trimTrailingSlashes(item->filePath));
                if (itemParts.size() < programParts.size() &&
                    std::equal(itemParts.begin(), itemParts.end(), programParts.begin()))
                    return true;
            }
        }
    }
    return false;
}

MatchSet UninstallScaner::checkLaunchItems(const MatchSet& candidates)
{
    MatchSet kept;
    if (!keepGoing())
        return kept;
    if (!index_)
        index_ = std::make_shared<ScanIndex>(std::vector<std::shared_ptr<UninstallApp>>{});
    for (const auto& [path, name] : candidates) {
        const auto& programs = index_->launchPrograms(path);
        if (programs && programInsideCollectedItem(*programs))
            kept.add(path, name);
    }
    return kept;
}

MatchSet UninstallScaner::matchLaunchItems(const UninstallApp& app)
{
    const auto owner = current.lock();
    if (!keepGoing() || !owner)
        return {};
    if (!index_)
        index_ = std::make_shared<ScanIndex>(std::vector<std::shared_ptr<UninstallApp>>{});
    const auto& folders = index_->foldersFor(RkUninstallCategoryType::daemon);
    const std::string& pattern = applicationIndependentPattern(launchSuffix());

    // Jobs whose program is, or lies in, an item collected so far.
    LaunchFilter filedHere;
    for (const auto& group : owner->fileGroups) {
        for (const auto& item : group->fileItem) {
            for (const std::string& key : {"=" + item->filePath, "<" + ScanIndex::canonical(item->filePath)}) {
                if (const auto* refs = index_->launchJobsFiledUnder(key, folders, pattern))
                    for (const auto& ref : *refs)
                        filedHere.insert({ref.folder, ref.position});
            }
        }
    }

    // What matchFolders and checkLaunchItems give together; the filter only spares naming the
    // application-independent matches that the check would drop.
    const MatchSet candidates = collect(tokensFor(app), folders, launchSuffix(), RkUninstallCategoryType::daemon, &filedHere);
    return checkLaunchItems(candidates);
}

std::shared_ptr<UnFileGroup> UninstallScaner::groupForCategory(RkUninstallCategoryType type)
{
    const auto app = current.lock();
    if (!app)
        return std::make_shared<UnFileGroup>();
    for (const auto& group : app->fileGroups) {
        if (group->type == type) {
            if (group->app.expired())
                group->app = app;
            return group;
        }
    }
    auto group = std::make_shared<UnFileGroup>();
    group->type = type;
    group->app = app;
    app->fileGroups.push_back(group);
    return group;
}

void UninstallScaner::addNew(RkUninstallCategoryType category, const MatchSet& matches)
{
    const auto app = current.lock();
    if (!app || matches.empty())
        return;
    MatchSet fresh;
    for (const auto& [path, name] : matches) {
        bool known = false;
        for (const auto& group : app->fileGroups)
            for (const auto& item : group->fileItem)
                known = known || item->filePath == path;
        if (!known)
            fresh.add(path, name);
    }
    if (!fresh.empty())
        addItems(groupForCategory(category), fresh);
}

void UninstallScaner::addItems(const std::shared_ptr<UnFileGroup>& group, const MatchSet& matches)
{
    for (const auto& [path, name] : matches)
        group->fileItem.push_back(makeItem(path, name, group));
}

std::shared_ptr<UnFileItem> UninstallScaner::makeItem(const std::string& path, const std::string& name,
                                                      const std::shared_ptr<UnFileGroup>& group)
{
    auto item = std::make_shared<UnFileItem>();
    item->type = group->type;
    item->fileName = name;
    item->filePath = path;
    item->isDir = platform::fs::isDirectoryNoFollow(path);
    item->size = group->type == RkUninstallCategoryType::bundle ? 0 : fileSize(path);
    item->group = group;
    item->identifier = platform::makeUuidString();
    item->isSelected = false;
    item->claimedBy = claimOf(path, group->type);
    if (const auto app = current.lock())
        app->totalSize += item->size;
    return item;
}
