#pragma once

#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

// The result of one search: full path -> entry name as found on disk. A path occurs once; adding it
// again replaces the name and keeps its place. Iterates in the order paths were first added.
class MatchSet {
public:
    void add(const std::string& path, const std::string& name);
    bool empty() const { return entries_.empty(); }
    std::size_t size() const { return entries_.size(); }
    bool contains(const std::string& path) const { return positions_.count(path) != 0; }
    auto begin() const { return entries_.begin(); }
    auto end() const { return entries_.end(); }

private:
    std::vector<std::pair<std::string, std::string>> entries_;
    std::unordered_map<std::string, std::size_t> positions_;
};
