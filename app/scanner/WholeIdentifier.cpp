#include "app/scanner/WholeIdentifier.h"

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
