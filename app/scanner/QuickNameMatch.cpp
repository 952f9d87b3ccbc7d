#include "app/scanner/QuickNameMatch.h"

#include "app/scanner/HolderFolderSearch.h"

#include <string_view>

namespace {

bool isAsciiWord(unsigned char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// Characters a pattern's "." does not match.
bool hasLineBreak(std::string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '\n' || c == '\r' || c == '\v' || c == '\f')
            return true;
        if (c == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0x85)
            return true;
        if (c == 0xE2 && i + 2 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0x80 &&
            (static_cast<unsigned char>(text[i + 2]) == 0xA8 || static_cast<unsigned char>(text[i + 2]) == 0xA9))
            return true;
    }
    return false;
}

bool isCrashIdCharacter(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F') || c == '-';
}

}  // namespace

std::optional<bool> QuickNameMatch::matches(const std::string& key, const std::vector<const std::string*>& alternatives,
                                            const std::string& suffix, const std::string& crashSuffix)
{
    const bool crash = suffix == crashSuffix;
    // "(-.*)?": the name, or the name, "-" and an account, before the dotted tail.
    const bool account = !crash && suffix == HolderFolderSearch::accountSuffix();
    if (key.empty() || (!suffix.empty() && !crash && !account))
        return std::nullopt;
    const auto first = static_cast<unsigned char>(key.front());
    if (first >= 0x80)
        return std::nullopt;
    if (!isAsciiWord(first))
        return false;
    for (const std::string* token : alternatives) {
        if (key.compare(0, token->size(), *token) != 0)
            continue;
        const std::string_view rest = std::string_view(key).substr(token->size());
        if (!crash) {
            if (rest.empty() || ((rest.front() == '.' || (account && rest.front() == '-')) && !hasLineBreak(rest)))
                return true;
            continue;
        }
        if (rest.size() < 6 || (rest.front() != '_' && rest.front() != '-') || hasLineBreak(rest))
            continue;
        bool idCharacters = true;
        for (std::size_t i = 1; i <= 5; ++i)
            idCharacters = idCharacters && isCrashIdCharacter(rest[i]);
        if (idCharacters)
            return true;
    }
    return false;
}
