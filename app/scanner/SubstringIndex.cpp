#include "app/scanner/SubstringIndex.h"

#include <algorithm>
#include <deque>

SubstringIndex::SubstringIndex(const std::vector<std::string>& needles)
{
    nodes_.emplace_back();
    std::fill(std::begin(nodes_[0].next), std::end(nodes_[0].next), -1);
    for (std::uint32_t id = 0; id < needles.size(); ++id) {
        const auto& needle = needles[id];
        if (needle.empty())
            continue;
        empty_ = false;
        std::int32_t node = 0;
        for (const unsigned char c : needle) {
            if (nodes_[static_cast<std::size_t>(node)].next[c] < 0) {
                nodes_[static_cast<std::size_t>(node)].next[c] = static_cast<std::int32_t>(nodes_.size());
                nodes_.emplace_back();
                std::fill(std::begin(nodes_.back().next), std::end(nodes_.back().next), -1);
            }
            node = nodes_[static_cast<std::size_t>(node)].next[c];
        }
        nodes_[static_cast<std::size_t>(node)].ends.push_back(id);
    }
    // Breadth-first: complete the transitions so that matching never follows fail links.
    std::deque<std::int32_t> queue;
    for (int c = 0; c < 256; ++c) {
        auto& child = nodes_[0].next[c];
        if (child < 0) {
            child = 0;
        } else {
            nodes_[static_cast<std::size_t>(child)].fail = 0;
            queue.push_back(child);
        }
    }
    while (!queue.empty()) {
        const std::int32_t node = queue.front();
        queue.pop_front();
        auto& current = nodes_[static_cast<std::size_t>(node)];
        const auto& failNode = nodes_[static_cast<std::size_t>(current.fail)];
        current.outputLink = failNode.ends.empty() ? failNode.outputLink : current.fail;
        for (int c = 0; c < 256; ++c) {
            const std::int32_t child = nodes_[static_cast<std::size_t>(node)].next[c];
            const std::int32_t viaFail = nodes_[static_cast<std::size_t>(nodes_[static_cast<std::size_t>(node)].fail)].next[c];
            if (child < 0) {
                nodes_[static_cast<std::size_t>(node)].next[c] = viaFail;
            } else {
                nodes_[static_cast<std::size_t>(child)].fail = viaFail;
                queue.push_back(child);
            }
        }
    }
}

std::vector<std::uint32_t> SubstringIndex::find(std::string_view text) const
{
    std::vector<std::uint32_t> found;
    if (empty_)
        return found;
    std::int32_t node = 0;
    for (const unsigned char c : text) {
        node = nodes_[static_cast<std::size_t>(node)].next[c];
        for (std::int32_t out = nodes_[static_cast<std::size_t>(node)].ends.empty()
                                    ? nodes_[static_cast<std::size_t>(node)].outputLink
                                    : node;
             out > 0; out = nodes_[static_cast<std::size_t>(out)].outputLink) {
            const auto& ends = nodes_[static_cast<std::size_t>(out)].ends;
            found.insert(found.end(), ends.begin(), ends.end());
        }
    }
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    return found;
}
