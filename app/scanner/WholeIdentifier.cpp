#include "app/scanner/WholeIdentifier.h"

#include <algorithm>

bool WholeIdentifier::isCarriedBy(std::string_view name, std::string_view identifier)
{
    if (identifier.empty())
        return false;
    for (auto at = name.find(identifier); at != std::string_view::npos; at = name.find(identifier, at + 1)) {
        const bool startsWhole = at == 0 || name[at - 1] == '.';
        const auto end = at + identifier.size();
        const bool endsWhole = end == name.size() || name[end] == '.' || name[end] == '-' || name[end] == '_';
        if (startsWhole && endsWhole)
            return true;
    }
    return false;
}

std::size_t WholeIdentifier::specificity(std::string_view identifier)
{
    const auto dot = identifier.find('.');
    if (dot == std::string_view::npos)
        return identifier.size();
    const auto first = identifier.substr(0, dot);
    const bool team = first.size() == 10 && std::all_of(first.begin(), first.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    });
    return team || first == "group" ? identifier.size() - dot - 1 : identifier.size();
}
