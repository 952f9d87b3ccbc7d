#pragma once

#include "app/records/RkUninstallCategoryType.h"
#include "app/scanner/InstalledClaims.h"
#include "app/scanner/MatchSet.h"

#include <cstdint>
#include <optional>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

class ScanIndex;
class ScanTokens;
class FolderSnapshot;
class UninstallApp;
class StopToken;
class UnFileGroup;
class UnFileItem;

// Finds what one application left outside its bundle, by name, in the folders of the search table,
// and fills its file groups and sizes. One scanner serves one application once; it runs on the
// catalogue's scan queue. Folders are read through the run's ScanIndex, so a whole scan run lists
// each folder once; the results are those of testing every entry of every folder in turn.
class UninstallScaner {
public:
    // `index` is the scan run's; without one (or one made for other applications) the scanner makes
    // its own.
    explicit UninstallScaner(std::weak_ptr<StopToken> manager, std::shared_ptr<ScanIndex> index = nullptr);
    ~UninstallScaner();

    std::weak_ptr<UninstallApp> current;
    // The stop token of the catalogue that owns the scan.
    std::weak_ptr<StopToken> mgr;
    std::vector<std::shared_ptr<UninstallApp>> cacheQueue;

    void scan(const std::shared_ptr<UninstallApp>& app);
    MatchSet matchFolders(const UninstallApp& app, const std::vector<std::string>& folders, const std::string& suffix,
                          RkUninstallCategoryType category);
    MatchSet checkLaunchItems(const MatchSet& candidates);
    // The launch-folder search and its launch-item check in one pass: what checkLaunchItems gives
    // for matchFolders over the launch folders, without naming the jobs the check would drop.
    MatchSet matchLaunchItems(const UninstallApp& app);
    std::shared_ptr<UnFileGroup> groupForCategory(RkUninstallCategoryType type);
    void addItems(const std::shared_ptr<UnFileGroup>& group, const MatchSet& matches);
    // Adds the matches that no group of `current` holds yet to the group of `category`.
    void addNew(RkUninstallCategoryType category, const MatchSet& matches);
    std::shared_ptr<UnFileItem> makeItem(const std::string& path, const std::string& name,
                                         const std::shared_ptr<UnFileGroup>& group);

    // Forwards to the name rules of NameText.h.
    static std::string normalizeName(const std::string& name);
    static std::string escapeForPattern(const std::string& token);


private:
    // Launch-folder entries (folder, position) worth naming; the others cannot pass the launch check.
    using LaunchFilter = std::set<std::pair<const FolderSnapshot*, std::uint32_t>>;

    bool keepGoing() const;
    MatchSet collect(ScanTokens& tokens, const std::vector<std::string>& folders, const std::string& suffix,
                     RkUninstallCategoryType category, const LaunchFilter* filter);
    void matchInnerIdentifiers(const UninstallApp& app);
    void matchHolders(ScanTokens& tokens);
    void matchFolder(FolderSnapshot& folder, ScanTokens& tokens, const std::string& suffix, MatchSet& matches,
                     const LaunchFilter* filter);
    // One folder search: the application's tokens and the kind of entries looked for.
    struct FolderQuery {
        ScanTokens& tokens;
        const std::string& suffix;
        bool launch;      // the launch folders, judged by what their jobs run
        bool exhaustive;  // every entry is a candidate
        std::optional<std::uint32_t> rawId;  // the identifier in the run's index
    };
    std::vector<std::uint32_t> candidatesIn(FolderSnapshot& snapshot, const FolderQuery& query, bool withVendor);
    bool passesNameTests(FolderSnapshot& snapshot, std::uint32_t position, const FolderQuery& query);
    std::optional<bool> claim(FolderSnapshot& snapshot, std::uint32_t position, const FolderQuery& query);
    bool programInsideCollectedItem(const std::vector<std::string>& programs) const;
    ScanTokens& tokensFor(const UninstallApp& app);

    // Whether the entry is ours by the identifier rules: not claimed by a more specific application.
    bool ownedAgainstClaims(const std::string& name, const ScanTokens& tokens) const;

    std::shared_ptr<ScanIndex> index_;
    // The identifiers of cacheQueue: entries of the applications inside the bundle are the bundle's.
    std::vector<std::string> family_;
    InstalledClaims::Owner owner_ = InstalledClaims::kNobody;
    // What claimed each entry found by name or identifier; the others were found by rules of their own.
    std::unordered_map<std::string, Evidence::Strength> claimedBy_;
    std::string claimOf(const std::string& path, RkUninstallCategoryType type) const;
    std::vector<std::pair<const UninstallApp*, std::unique_ptr<ScanTokens>>> tokens_;
};
