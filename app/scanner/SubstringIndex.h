#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Finds which of many fixed strings occur in a text, in one pass over the text (Aho-Corasick).
// Built once for a scan run over every raw bundle identifier, it answers the scan's "the entry name
// contains the identifier" test for all applications at once.
class SubstringIndex {
public:
    // Empty strings are ignored; ids are the positions in `needles`.
    explicit SubstringIndex(const std::vector<std::string>& needles);

    // The ids of the needles that occur in `text`, each once, in increasing order.
    std::vector<std::uint32_t> find(std::string_view text) const;
    bool empty() const { return empty_; }

private:
    struct Node {
        std::int32_t fail = 0;
        std::int32_t outputLink = -1;  // nearest node on the fail chain that ends a needle
        std::vector<std::uint32_t> ends;
    };
    std::int32_t& next(std::int32_t node, std::size_t byteClass)
    {
        return transitions_[static_cast<std::size_t>(node) * classes_ + byteClass];
    }

    // Transitions go by byte class, not by byte: each byte found in a needle has a class of its own,
    // every other byte shares class 0 (which always leads back to the root). A node then holds a
    // few dozen transitions instead of 256.
    std::uint16_t classOf_[256] = {};
    std::size_t classes_ = 1;
    std::vector<std::int32_t> transitions_;  // classes_ per node
    std::vector<Node> nodes_;
    bool empty_ = true;
};
