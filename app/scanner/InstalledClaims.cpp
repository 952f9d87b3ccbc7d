#include "app/scanner/InstalledClaims.h"

#include "app/scanner/GenericExecutables.h"
#include "app/scanner/ScanTokens.h"
#include "app/scanner/SubstringIndex.h"

#include <algorithm>

InstalledClaims::InstalledClaims() = default;
InstalledClaims::~InstalledClaims() = default;

void InstalledClaims::add(Owner owner, const UninstallApp& app, const std::string& displayName)
{
    members_.push_back({owner, std::make_unique<ScanTokens>(app, displayName)});
    file(static_cast<std::uint32_t>(members_.size() - 1));
}

void InstalledClaims::addIdentifier(Owner owner, const std::string& rawIdentifier)
{
    members_.push_back({owner, std::make_unique<ScanTokens>(ScanTokens::identifierOnly(rawIdentifier))});
    file(static_cast<std::uint32_t>(members_.size() - 1));
}

void InstalledClaims::file(std::uint32_t member)
{
    const ScanTokens& tokens = *members_[member].tokens;
    for (const std::string* token : {&tokens.identifier, &tokens.infoName, &tokens.display, &tokens.executable}) {
        if (token->empty())
            continue;
        auto& filed = byToken_[*token];
        if (filed.empty() || filed.back() != member)
            filed.push_back(member);
    }
    if (!tokens.executable.empty())
        executableOwners_[tokens.executable].insert(members_[member].owner);
    if (!tokens.raw.empty()) {
        auto [it, added] = rawIdentifierIds_.emplace(tokens.raw, static_cast<std::uint32_t>(rawIdentifiers_.size()));
        if (added) {
            rawIdentifiers_.push_back(tokens.raw);
            rawIdentifierMembers_.emplace_back();
        }
        rawIdentifierMembers_[it->second].push_back(member);
        substrings_.reset();
    }
}

bool InstalledClaims::executableClaimsAlone(const std::string& executable, Owner owner) const
{
    if (GenericExecutables::contains(executable))
        return false;
    const auto it = executableOwners_.find(executable);
    return it == executableOwners_.end() || std::all_of(it->second.begin(), it->second.end(), [owner](Owner other) { return other == owner; });
}

std::vector<std::uint32_t> InstalledClaims::candidates(const std::string& key, const std::string& name, const std::string& suffix)
{
    // A token can only fit a key it starts, ending where the key does or at a separator that
    // begins a tail (".", or "_" and "-" of crash reports and accounts); an identifier can also be
    // carried whole anywhere in the name.
    std::vector<std::uint32_t> found;
    auto take = [&](const std::string& prefix) {
        const auto it = byToken_.find(prefix);
        if (it != byToken_.end())
            found.insert(found.end(), it->second.begin(), it->second.end());
    };
    take(key);
    for (std::size_t i = 0; i < key.size(); ++i)
        if (key[i] == '.' || (!suffix.empty() && (key[i] == '_' || key[i] == '-')))
            take(key.substr(0, i));
    if (!substrings_)
        substrings_ = std::make_unique<SubstringIndex>(rawIdentifiers_);
    for (const auto id : substrings_->find(name))
        found.insert(found.end(), rawIdentifierMembers_[id].begin(), rawIdentifierMembers_[id].end());
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    return found;
}

Evidence InstalledClaims::validClaim(ScanTokens& tokens, Owner owner, const std::string& key, const std::string& name,
                                     const std::string& suffix)
{
    const Evidence evidence = tokens.evidenceOn(key, name, suffix);
    if (evidence.strength == Evidence::Strength::executable && !executableClaimsAlone(tokens.executable, owner))
        return {};
    return evidence;
}

bool InstalledClaims::wins(ScanTokens& tokens, Owner owner, const std::string& key, const std::string& name,
                           const std::string& suffix)
{
    const Evidence own = validClaim(tokens, owner, key, name, suffix);
    if (!own)
        return false;
    for (const auto member : candidates(key, name, suffix)) {
        const Member& other = members_[member];
        if (other.owner == owner)
            continue;
        if (validClaim(*other.tokens, other.owner, key, name, suffix) >= own)
            return false;
    }
    return true;
}
