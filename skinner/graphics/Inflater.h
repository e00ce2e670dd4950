#pragma once

#include "skinner/graphics/HuffmanTree.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

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
// decoded through look-up tables, into an output buffer that keeps the
// window behind the bytes not yet handed to the sink. The Adler-32 trailer
// is not read. Every length and distance is checked: a match never reaches
// before the start of the output nor beyond the window.
class Inflater {
public:
    InflateResult inflate(std::span<const std::uint8_t> input, InflateSink& sink);

private:
    enum class Step { more, done, stop };

    void refill();
    bool bits(int count, std::uint32_t& value);
    // The symbol of the next code, -1 when the input ran out, -2 for a code the tree lacks.
    std::int32_t decode(const HuffmanTree& tree);

    Step stored_block();
    Step codes_block(const HuffmanTree& literals, const HuffmanTree& distances);
    Step dynamic_block();
    bool read_code_lengths(std::array<std::uint8_t, 320>& lengths, std::size_t count, const HuffmanTree& lengths_tree);

    // Makes room for a match of the longest length: grows the output
    // buffer up to twice the window, then hands the sink what it has not
    // seen and keeps the window. False when the sink stopped.
    bool make_room();
    bool flush();

    std::span<const std::uint8_t> m_input;
    std::size_t m_position = 0;
    std::uint64_t m_bit_buffer = 0; // the next bits to read, from the lowest
    int m_bit_count = 0;

    std::size_t m_window_size = 0;
    // The window, then the output the sink has not seen yet. It starts
    // small, as most pictures are.
    std::unique_ptr<std::uint8_t[]> m_output;
    std::size_t m_capacity = 0;
    std::size_t m_end = 0; // bytes in m_output
    std::size_t m_flushed = 0; // bytes of m_output the sink has seen
    std::uint64_t m_total = 0; // bytes produced so far
    InflateSink* m_sink = nullptr;
    bool m_stopped = false;
    InflateResult m_failure = InflateResult::corrupt;
    HuffmanTree m_literals;
    HuffmanTree m_distances;
};

}
