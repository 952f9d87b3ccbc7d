#include "app/scanner/HolderFolderSearch.h"

#include "app/scanner/ScanIndex.h"
#include "app/scanner/ScanTokens.h"

#include <algorithm>
#include <vector>

HolderFolderSearch::HolderFolderSearch(ScanIndex& index, ScanTokens& tokens, InstalledClaims::Owner owner,
                                       std::unordered_map<std::string, Evidence::Strength>& claimedBy)
    : index_(index), tokens_(tokens), owner_(owner), claimedBy_(claimedBy)
{
}

const std::string& HolderFolderSearch::accountSuffix()
{
    static const std::string suffix = "(-.*)?";
    return suffix;
}

MatchSet HolderFolderSearch::find(const SearchFilePath::Holder& holder)
{
    MatchSet found;
    FolderSnapshot& folder = index_.folder(holder.path);
    if (!folder.listed())
        return found;
    const std::string& suffix = holder.byName ? accountSuffix() : std::string();
    for (const auto i : candidates(folder, holder)) {
        const auto& entry = folder.entries()[i];
        const Evidence evidence = tokens_.evidenceOn(entry.key, entry.name, suffix);
        const bool named = evidence.strength == Evidence::Strength::name || evidence.strength == Evidence::Strength::executable;
        if (!evidence || (named && !holder.byName) || folder.isShared(i))
            continue;
        if (index_.claims().wins(tokens_, owner_, entry.key, entry.name, suffix)) {
            found.add(folder.fullPath(i), entry.name);
            claimedBy_[folder.fullPath(i)] = evidence.strength;
        }
    }
    return found;
}

std::vector<std::uint32_t> HolderFolderSearch::candidates(FolderSnapshot& folder, const SearchFilePath::Holder& holder) const
{
    std::vector<std::uint32_t> positions;
    const auto rawId = tokens_.raw.empty() ? std::nullopt : index_.identifierId(tokens_.raw);
    if (holder.byName || (!tokens_.raw.empty() && !rawId)) {
        positions.resize(folder.entries().size());
        for (std::uint32_t i = 0; i < positions.size(); ++i)
            positions[i] = i;
        return positions;
    }
    // Where only the identifier counts, an entry passes only when its name is the identifier with
    // nothing or a dotted tail, or carries it whole: the folder's tables name those.
    for (const auto* filed : {folder.withPrefix(tokens_.identifier, '.'), rawId ? folder.containing(*rawId) : nullptr})
        if (filed)
            positions.insert(positions.end(), filed->begin(), filed->end());
    std::sort(positions.begin(), positions.end());
    positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
    return positions;
}
