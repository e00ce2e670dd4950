#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace skinner {

// A canonical prefix code held as a binary tree and decoded bit by bit,
// first code bit at the root.
class HuffmanTree {
public:
    static constexpr std::int32_t no_symbol = 0x7FFFFFFF;
    static constexpr int max_code_length = 15;

    struct Node {
        std::int32_t child[2] = { -1, -1 }; // node indices, -1 for none
        std::int32_t symbol = no_symbol;
    };

    // Assigns the codes of the lengths (one per symbol, 0 for unused ones)
    // the canonical way. False for a length above 15 or for more codes than
    // the lengths leave room for; an incomplete code is allowed, and walking
    // into its missing branch is the decoder's error.
    bool build(std::span<const std::uint8_t> lengths);

    const Node& root() const { return m_nodes.front(); }

    const Node& node(std::int32_t index) const { return m_nodes[static_cast<std::size_t>(index)]; }

private:
    std::vector<Node> m_nodes;
};

}
