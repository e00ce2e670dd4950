#include "skinner/graphics/HuffmanTree.h"

namespace skinner {

namespace {

std::uint32_t reversed(std::uint32_t code, int length)
{
    std::uint32_t result = 0;
    for (int i = 0; i < length; ++i) {
        result = result << 1 | (code & 1);
        code >>= 1;
    }
    return result;
}

}

bool HuffmanTree::build(std::span<const std::uint8_t> lengths)
{
    m_fast.fill(0);
    m_count.fill(0);
    m_longer.fill(0);
    if (lengths.size() > max_symbols)
        return false;
    for (std::uint8_t length : lengths) {
        if (length > max_code_length)
            return false;
        ++m_count[length];
    }
    m_count[0] = 0;
    // More codes of a length than the shorter ones leave room for would
    // make one code the prefix of another.
    std::int32_t room = 1;
    for (int length = 1; length <= max_code_length; ++length) {
        room = room * 2 - m_count[length];
        if (room < 0) {
            m_count.fill(0);
            return false;
        }
    }
    std::uint32_t space = 0; // of the codes longer than the length, in units of the longest
    for (int length = max_code_length; length >= 1; --length) {
        const int unit = max_code_length - length;
        m_longer[length] = static_cast<std::uint16_t>((space + (1u << unit) - 1) >> unit);
        space += std::uint32_t { m_count[length] } << unit;
    }
    std::array<std::uint32_t, max_code_length + 1> next_code {};
    std::array<std::uint16_t, max_code_length + 1> offset {};
    std::uint32_t code = 0;
    for (int length = 1; length <= max_code_length; ++length) {
        code = (code + m_count[length - 1]) << 1;
        next_code[length] = code;
        if (length > 1)
            offset[length] = static_cast<std::uint16_t>(offset[length - 1] + m_count[length - 1]);
    }
    for (std::size_t symbol = 0; symbol < lengths.size(); ++symbol) {
        const int length = lengths[symbol];
        if (length == 0)
            continue;
        m_symbols[offset[length]++] = static_cast<std::uint16_t>(symbol);
        const std::uint32_t bits = next_code[length]++;
        if (length > fast_bits)
            continue;
        const auto entry = static_cast<std::uint16_t>(symbol << 4 | static_cast<std::size_t>(length));
        for (std::size_t at = reversed(bits, length); at < fast_size; at += std::size_t { 1 } << length)
            m_fast[at] = entry;
    }
    return true;
}

std::int32_t HuffmanTree::decode_slowly(std::uint64_t bits, int available, int& length) const
{
    std::int32_t code = 0, first = 0, index = 0;
    for (int l = 1; l <= max_code_length; ++l) {
        if (l > available)
            return need_more;
        code |= static_cast<std::int32_t>((bits >> (l - 1)) & 1);
        const std::int32_t count = m_count[static_cast<std::size_t>(l)];
        if (code - first < count) {
            length = l;
            return m_symbols[static_cast<std::size_t>(index + code - first)];
        }
        if (code - first - count >= m_longer[static_cast<std::size_t>(l)])
            return no_code;
        index += count;
        first = (first + count) << 1;
        code <<= 1;
    }
    return no_code;
}

}
