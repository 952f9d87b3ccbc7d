#include "app/scanner/SubstringIndex.h"

#include <algorithm>
#include <deque>

SubstringIndex::SubstringIndex(const std::vector<std::string>& needles)
{
    std::size_t bytes = 0;
    for (const auto& needle : needles) {
        bytes += needle.size();
        for (const unsigned char c : needle)
            if (classOf_[c] == 0)
                classOf_[c] = static_cast<std::uint16_t>(classes_++);
    }
    nodes_.reserve(bytes + 1);
    transitions_.reserve((bytes + 1) * classes_);
    auto addNode = [this] {
        nodes_.emplace_back();
        transitions_.resize(transitions_.size() + classes_, -1);
        return static_cast<std::int32_t>(nodes_.size() - 1);
    };
    addNode();
    for (std::uint32_t id = 0; id < needles.size(); ++id) {
        const auto& needle = needles[id];
        if (needle.empty())
            continue;
        empty_ = false;
        std::int32_t node = 0;
        for (const unsigned char c : needle) {
            if (next(node, classOf_[c]) < 0) {
                const std::int32_t child = addNode();
                next(node, classOf_[c]) = child;
            }
            node = next(node, classOf_[c]);
        }
        nodes_[static_cast<std::size_t>(node)].ends.push_back(id);
    }
    // Breadth-first: complete the transitions so that matching never follows fail links.
    std::deque<std::int32_t> queue;
    for (std::size_t c = 0; c < classes_; ++c) {
        auto& child = next(0, c);
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
        const std::int32_t fail = nodes_[static_cast<std::size_t>(node)].fail;
        const auto& failNode = nodes_[static_cast<std::size_t>(fail)];
        nodes_[static_cast<std::size_t>(node)].outputLink = failNode.ends.empty() ? failNode.outputLink : fail;
        for (std::size_t c = 0; c < classes_; ++c) {
            const std::int32_t child = next(node, c);
            const std::int32_t viaFail = next(fail, c);
            if (child < 0) {
                next(node, c) = viaFail;
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
        node = transitions_[static_cast<std::size_t>(node) * classes_ + classOf_[c]];
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
