#include "skinner/graphics/HuffmanTree.h"

#include <array>

namespace skinner {

bool HuffmanTree::build(std::span<const std::uint8_t> lengths)
{
    m_nodes.assign(1, Node {});
    std::array<std::int32_t, max_code_length + 1> count {};
    for (std::uint8_t length : lengths) {
        if (length > max_code_length)
            return false;
        ++count[length];
    }
    count[0] = 0;
    // More codes of a length than the shorter ones leave room for would
    // make one code the prefix of another.
    std::int32_t room = 1;
    for (int length = 1; length <= max_code_length; ++length) {
        room = room * 2 - count[length];
        if (room < 0)
            return false;
    }
    std::array<std::uint32_t, max_code_length + 1> next_code {};
    std::uint32_t code = 0;
    for (int length = 1; length <= max_code_length; ++length) {
        code = (code + static_cast<std::uint32_t>(count[length - 1])) << 1;
        next_code[length] = code;
    }
    m_nodes.reserve(2 * lengths.size() + 1);
    for (std::size_t symbol = 0; symbol < lengths.size(); ++symbol) {
        const int length = lengths[symbol];
        if (length == 0)
            continue;
        const std::uint32_t bits = next_code[length]++;
        std::int32_t at = 0;
        for (int i = length - 1; i >= 0; --i) {
            const int bit = (bits >> i) & 1;
            std::int32_t child = m_nodes[static_cast<std::size_t>(at)].child[bit];
            if (child < 0) {
                child = static_cast<std::int32_t>(m_nodes.size());
                m_nodes[static_cast<std::size_t>(at)].child[bit] = child;
                m_nodes.push_back(Node {});
            }
            at = child;
        }
        m_nodes[static_cast<std::size_t>(at)].symbol = static_cast<std::int32_t>(symbol);
    }
    return true;
}

}
