#include "app/scanner/MatchSet.h"

void MatchSet::add(const std::string& path, const std::string& name)
{
    if (path.empty())
        return;
    const auto [it, inserted] = positions_.emplace(path, entries_.size());
    if (inserted)
        entries_.emplace_back(path, name);
    else
        entries_[it->second].second = name;
}
