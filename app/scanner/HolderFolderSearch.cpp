#include "app/scanner/HolderFolderSearch.h"

#include "app/scanner/ScanIndex.h"
#include "app/scanner/ScanTokens.h"

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
    for (std::uint32_t i = 0; i < folder.entries().size(); ++i) {
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
