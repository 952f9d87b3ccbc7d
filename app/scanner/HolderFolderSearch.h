#pragma once

#include "app/locations/SearchFilePath.h"
#include "app/scanner/InstalledClaims.h"
#include "app/scanner/MatchSet.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

class FolderSnapshot;
class ScanIndex;
class ScanTokens;

// An application's entries one level inside the folders that hold one entry per application
// (SearchFilePath::holderFolders): by its identifier, where the folder is named so by its exact
// name too, decided between the installed applications by the strongest evidence.
class HolderFolderSearch {
public:
    // `claimedBy` learns what claimed each entry found.
    HolderFolderSearch(ScanIndex& index, ScanTokens& tokens, InstalledClaims::Owner owner,
                       std::unordered_map<std::string, Evidence::Strength>& claimedBy);

    MatchSet find(const SearchFilePath::Holder& holder);

    // The tail a name may carry in a holder that names its entries "<Name>-<account>".
    static const std::string& accountSuffix();

private:
    // The entries of `folder` that can pass, in order: every one where names count too.
    std::vector<std::uint32_t> candidates(FolderSnapshot& folder, const SearchFilePath::Holder& holder) const;

    ScanIndex& index_;
    ScanTokens& tokens_;
    InstalledClaims::Owner owner_;
    std::unordered_map<std::string, Evidence::Strength>& claimedBy_;
};
