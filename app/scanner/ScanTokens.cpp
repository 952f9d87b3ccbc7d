#include "app/scanner/ScanTokens.h"

#include "app/records/UninstallApp.h"
#include "app/scanner/QuickNameMatch.h"
#include "app/locations/SearchFilePath.h"
#include "app/scanner/NameText.h"
#include "app/scanner/WholeIdentifier.h"

#include <vector>

ScanTokens::ScanTokens(const UninstallApp& app) : ScanTokens(app, app.displayName()) {}

ScanTokens::ScanTokens(const UninstallApp& app, const std::string& displayName)
    : display(nametext::normalizeName(displayName)),
      infoName(nametext::normalizeName(app.infoName())),
      executable(nametext::normalizeName(app.executableName())),
      identifier(nametext::normalizeName(app.bundleIdentifier())),
      raw(app.bundleIdentifier())
{
    std::vector<std::string> pieces;
    std::size_t start = 0;
    for (;;) {
        const auto dot = raw.find('.', start);
        pieces.push_back(raw.substr(start, dot == std::string::npos ? std::string::npos : dot - start));
        if (dot == std::string::npos)
            break;
        start = dot + 1;
    }
    if (pieces.size() >= 3)
        vendor = nametext::normalizeName(pieces[1]);
    findLineBreaks();
}

ScanTokens ScanTokens::identifierOnly(const std::string& rawIdentifier)
{
    ScanTokens tokens;
    tokens.raw = rawIdentifier;
    tokens.identifier = nametext::normalizeName(rawIdentifier);
    tokens.findLineBreaks();
    return tokens;
}

void ScanTokens::findLineBreaks()
{
    for (const std::string* token : {&display, &infoName, &executable, &identifier}) {
        for (const char* breaker : {"\n", "\r", "\v", "\f", "\xC2\x85", "\xE2\x80\xA8", "\xE2\x80\xA9"})
            lineBreak_ = lineBreak_ || token->find(breaker) != std::string::npos;
    }
}

bool ScanTokens::matchesToken(const std::string& key, const std::string& token, const std::string& suffix)
{
    if (token.empty())
        return false;
    if (const auto quick = QuickNameMatch::matches(key, {&token}, suffix, crashSuffix()))
        return *quick;
    auto it = single_.find({token, suffix});
    if (it == single_.end()) {
        const std::string escaped = nametext::escapeForPattern(token);
        it = single_.emplace(std::pair(token, suffix), NamePattern(NamePattern::namePattern(escaped, escaped, escaped, suffix))).first;
    }
    return it->second.matches(key);
}

Evidence ScanTokens::evidenceOn(const std::string& key, const std::string& name, const std::string& suffix)
{
    using S = Evidence::Strength;
    if (matchesToken(key, identifier, suffix) || WholeIdentifier::isCarriedBy(name, raw))
        return {S::identifier, WholeIdentifier::specificity(raw)};
    std::size_t named = 0;
    for (const std::string* token : {&infoName, &display})
        if (token->size() > named && matchesToken(key, *token, suffix))
            named = token->size();
    if (named > 0)
        return {S::name, named};
    if (matchesToken(key, executable, suffix))
        return {S::executable, executable.size()};
    return {};
}

NamePattern& ScanTokens::namePattern(const std::string& suffix)
{
    auto it = names_.find(suffix);
    if (it == names_.end()) {
        it = names_.emplace(suffix, NamePattern(NamePattern::namePattern(
                                        nametext::escapeForPattern(infoName),
                                        nametext::escapeForPattern(executable),
                                        nametext::escapeForPattern(display), suffix)))
                 .first;
    }
    return it->second;
}

NamePattern& ScanTokens::identifierPattern(const std::string& suffix)
{
    auto it = identifiers_.find(suffix);
    if (it == identifiers_.end()) {
        it = identifiers_.emplace(suffix, NamePattern(NamePattern::identifierPattern(
                                              nametext::escapeForPattern(identifier), suffix)))
                 .first;
    }
    return it->second;
}

bool ScanTokens::matchesName(const std::string& key, const std::string& suffix)
{
    if (const auto quick = QuickNameMatch::matches(key, {&infoName, &executable, &display}, suffix, crashSuffix()))
        return *quick;
    return namePattern(suffix).matches(key);
}

bool ScanTokens::matchesIdentifier(const std::string& key, const std::string& suffix)
{
    static const std::string none;
    if (const auto quick = QuickNameMatch::matches(key, {&identifier, &none}, suffix, crashSuffix()))
        return *quick;
    return identifierPattern(suffix).matches(key);
}

const std::string& ScanTokens::crashSuffix()
{
    static const std::string suffix = SearchFilePath::suffixForCategory(RkUninstallCategoryType::crashReporter);
    return suffix;
}


