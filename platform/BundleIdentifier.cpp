#include "platform/BundleIdentifier.h"

#include <algorithm>

namespace {

char lowered(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool isPartBreak(char c)
{
    return c == '.' || c == '-' || c == '_';
}

}  // namespace

BundleIdentifier::BundleIdentifier(std::string_view spelled) : spelled_(spelled), key_(spelled)
{
    std::transform(key_.begin(), key_.end(), key_.begin(), lowered);
}

bool BundleIdentifier::same(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return lowered(x) == lowered(y); });
}

std::vector<std::string> BundleIdentifier::wholeStarts() const
{
    std::vector<std::string> starts;
    for (std::size_t i = 0; i < key_.size(); ++i)
        if (isPartBreak(key_[i]))
            starts.push_back(key_.substr(0, i));
    starts.push_back(key_);
    return starts;
}

bool BundleIdentifier::extends(const BundleIdentifier& start) const
{
    if (start.key_.empty() || key_.size() < start.key_.size() || key_.compare(0, start.key_.size(), start.key_) != 0)
        return false;
    return key_.size() == start.key_.size() || isPartBreak(key_[start.key_.size()]);
}
