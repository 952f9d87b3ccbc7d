#include "app/catalogue/ReviewArguments.h"

#include <algorithm>

namespace {

constexpr const char* kOption = "--review-remains";
constexpr std::size_t kLongestIdentifier = 255;

bool isLetterOrDigit(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

}  // namespace

bool ReviewArguments::isPlainIdentifier(const std::string& identifier)
{
    if (identifier.empty() || identifier.size() > kLongestIdentifier || !isLetterOrDigit(identifier.front()))
        return false;
    return std::all_of(identifier.begin(), identifier.end(),
                       [](char c) { return isLetterOrDigit(c) || c == '.' || c == '-' || c == '_'; });
}

std::vector<std::string> ReviewArguments::make(const std::vector<std::string>& identifiers)
{
    std::vector<std::string> words;
    for (const auto& identifier : identifiers)
        if (isPlainIdentifier(identifier))
            words.push_back(identifier);
    if (!words.empty())
        words.insert(words.begin(), kOption);
    return words;
}

std::vector<std::string> ReviewArguments::read(const std::vector<std::string>& arguments)
{
    std::vector<std::string> identifiers;
    auto word = std::find(arguments.begin(), arguments.end(), kOption);
    if (word == arguments.end())
        return identifiers;
    for (++word; word != arguments.end() && !word->starts_with("-"); ++word)
        if (isPlainIdentifier(*word))
            identifiers.push_back(*word);
    return identifiers;
}
