#pragma once

#include "skinner/graphics/HuffmanTree.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace skinner {

// Takes the bytes that inflating produces, in order.
class InflateSink {
public:
    virtual ~InflateSink() = default;
    // False stops inflating.
    virtual bool write(const std::uint8_t* bytes, std::size_t count) = 0;
};

enum class InflateResult {
    finished, // the final block ended
    stopped, // the sink asked to stop
    truncated, // the input ran out first
    corrupt, // a bad block type, code, length or distance
    unsupported, // not deflate, a window above 32 KiB or a preset dictionary
};

// Inflates a zlib stream (deflate data behind a two-byte header). Codes are
// decoded bit by bit through their trees. The Adler-32 trailer is not read.
// Every length and distance is checked: a match never reaches before the
// start of the output nor beyond the window.
class Inflater {
public:
    InflateResult inflate(std::span<const std::uint8_t> input, InflateSink& sink);

private:
    enum class Step { more, done, stop };

    void refill();
    // -1 when the input ran out.
    int bit();
    bool bits(int count, std::uint32_t& value);
    // The symbol of the next code, -1 when the input ran out, -2 for a code the tree lacks.
    std::int32_t decode(const HuffmanTree& tree);

    Step stored_block();
    Step codes_block(const HuffmanTree& literals, const HuffmanTree& distances);
    Step dynamic_block();
    bool read_code_lengths(
        std::vector<std::uint8_t>& lengths, std::size_t count, const HuffmanTree& lengths_tree);

    bool output(std::uint8_t byte);
    bool flush();

    std::span<const std::uint8_t> m_input;
    std::size_t m_position = 0;
    std::uint64_t m_bit_buffer = 0; // the next bits to read, from the lowest
    int m_bit_count = 0;

    std::vector<std::uint8_t> m_window;
    std::size_t m_window_mask = 0;
    std::uint64_t m_total = 0; // bytes produced so far
    // Output not yet handed to the sink.
    std::array<std::uint8_t, 4096> m_pending;
    std::size_t m_pending_count = 0;
    InflateSink* m_sink = nullptr;
    bool m_stopped = false;
    InflateResult m_failure = InflateResult::corrupt;
};

}
