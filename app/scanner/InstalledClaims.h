#pragma once

#include "app/scanner/Evidence.h"

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

class ScanTokens;
class SubstringIndex;
class UninstallApp;

// Every installed application's claims, for deciding who an entry belongs to when several
// applications' names or identifiers fit it. An owner is one installed application (copies with
// one identifier are one owner) with the applications and extensions inside its bundle. The
// strongest evidence wins; at equal strength the longer token; a tie gives the entry to nobody.
// An executable's name claims only when no other owner's executable has that name and it is not
// a framework's generic one. Built once a scan run; used from the scan queue only.
class InstalledClaims {
public:
    using Owner = std::uint32_t;
    static constexpr Owner kNobody = UINT32_MAX;

    InstalledClaims();
    ~InstalledClaims();

    // One bundle of `owner` with all its names (`displayName` the bundle's), or one that counts by
    // its identifier alone.
    void add(Owner owner, const UninstallApp& app, const std::string& displayName);
    void addIdentifier(Owner owner, const std::string& rawIdentifier);

    // Whether `tokens` (a bundle of `owner`) make the strongest claim on the entry. A name in a
    // folder of `suffix` (see SearchFilePath::suffixForCategory); `key` is its normalised form.
    bool wins(ScanTokens& tokens, Owner owner, const std::string& key, const std::string& name, const std::string& suffix);
    // The claim `tokens` make on the entry, "none" for an executable's name that may not claim alone.
    Evidence validClaim(ScanTokens& tokens, Owner owner, const std::string& key, const std::string& name,
                        const std::string& suffix);

private:
    struct Member {
        Owner owner;
        std::unique_ptr<ScanTokens> tokens;
    };
    void file(std::uint32_t member);
    bool executableClaimsAlone(const std::string& executable, Owner owner) const;
    std::vector<std::uint32_t> candidates(const std::string& key, const std::string& name, const std::string& suffix);

    std::vector<Member> members_;
    std::unordered_map<std::string, std::vector<std::uint32_t>> byToken_;  // normalised token -> members
    std::unordered_map<std::string, std::set<Owner>> executableOwners_;
    std::vector<std::string> rawIdentifiers_;
    std::vector<std::vector<std::uint32_t>> rawIdentifierMembers_;
    std::unordered_map<std::string, std::uint32_t> rawIdentifierIds_;
    std::unique_ptr<SubstringIndex> substrings_;
};
