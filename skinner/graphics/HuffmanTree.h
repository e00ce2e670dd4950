#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace skinner {

// A canonical prefix code. Codes of up to fast_bits bits are found in one
// table look-up; longer ones are walked length by length.
class HuffmanTree {
public:
    static constexpr int max_code_length = 15;
    static constexpr int max_symbols = 288;
    static constexpr int fast_bits = 10;
    static constexpr std::int32_t need_more = -1;
    static constexpr std::int32_t no_code = -2;

    // Assigns the codes of the lengths (one per symbol, 0 for unused ones)
    // the canonical way. False for a length above 15, for more than
    // max_symbols symbols, or for more codes than the lengths leave room
    // for; an incomplete code is allowed, and reaching its missing branch is
    // the decoder's error.
    bool build(std::span<const std::uint8_t> lengths);

    // The symbol whose code starts the bits (first code bit lowest, of which
    // `available` are real) and, in `length`, the bits it takes. need_more
    // when the available bits hold no whole code, no_code for a code that
    // the tree lacks.
    std::int32_t decode(std::uint64_t bits, int available, int& length) const
    {
        const std::uint16_t entry = m_fast[bits & (fast_size - 1)];
        if (entry != 0 && (entry & 15) <= available) {
            length = entry & 15;
            return entry >> 4;
        }
        return decode_slowly(bits, available, length);
    }

private:
    static constexpr std::size_t fast_size = std::size_t { 1 } << fast_bits;

    std::int32_t decode_slowly(std::uint64_t bits, int available, int& length) const;

    // Symbol << 4 | length for the codes of fast_bits bits or less, 0 elsewhere.
    std::array<std::uint16_t, fast_size> m_fast {};
    std::array<std::uint16_t, max_code_length + 1> m_count {};
    // How many prefixes of each length the longer codes start with: a
    // prefix past them and past the length's own codes starts no code.
    std::array<std::uint16_t, max_code_length + 1> m_longer {};
    // The symbols in the order of their codes.
    std::array<std::uint16_t, max_symbols> m_symbols {};
};

}
