#include "skinner/graphics/Inflater.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

namespace skinner {

namespace {

struct CodeBase {
    std::uint16_t base;
    std::uint8_t extra_bits;
};

constexpr std::array<CodeBase, 29> length_codes { {
    { 3, 0 },
    { 4, 0 },
    { 5, 0 },
    { 6, 0 },
    { 7, 0 },
    { 8, 0 },
    { 9, 0 },
    { 10, 0 },
    { 11, 1 },
    { 13, 1 },
    { 15, 1 },
    { 17, 1 },
    { 19, 2 },
    { 23, 2 },
    { 27, 2 },
    { 31, 2 },
    { 35, 3 },
    { 43, 3 },
    { 51, 3 },
    { 59, 3 },
    { 67, 4 },
    { 83, 4 },
    { 99, 4 },
    { 115, 4 },
    { 131, 5 },
    { 163, 5 },
    { 195, 5 },
    { 227, 5 },
    { 258, 0 },
} };

constexpr std::array<CodeBase, 30> distance_codes { {
    { 1, 0 },
    { 2, 0 },
    { 3, 0 },
    { 4, 0 },
    { 5, 1 },
    { 7, 1 },
    { 9, 2 },
    { 13, 2 },
    { 17, 3 },
    { 25, 3 },
    { 33, 4 },
    { 49, 4 },
    { 65, 5 },
    { 97, 5 },
    { 129, 6 },
    { 193, 6 },
    { 257, 7 },
    { 385, 7 },
    { 513, 8 },
    { 769, 8 },
    { 1025, 9 },
    { 1537, 9 },
    { 2049, 10 },
    { 3073, 10 },
    { 4097, 11 },
    { 6145, 11 },
    { 8193, 12 },
    { 12289, 12 },
    { 16385, 13 },
    { 24577, 13 },
} };

constexpr std::array<std::uint8_t, 19> code_length_order { 16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13,
    2, 14, 1, 15 };

constexpr int end_of_block = 256;
constexpr int max_literal_codes = 286;
constexpr int max_distance_codes = 30;
constexpr std::size_t max_match = 258;
constexpr std::size_t kept_window = 32768;
constexpr std::size_t output_capacity = 2 * kept_window + max_match;
constexpr std::size_t first_capacity = 8192;
// Matches are copied eight bytes at a time and may write this far past their end.
constexpr std::size_t copy_slack = 8;

void copy_match(std::uint8_t* out, std::size_t distance, std::size_t length)
{
    const std::uint8_t* from = out - distance;
    if (distance >= copy_slack) {
        for (std::size_t i = 0; i < length; i += 8)
            std::memcpy(out + i, from + i, 8);
        return;
    }
    // Overlapping: the match repeats the bytes it has just written.
    for (std::size_t i = 0; i < length; ++i)
        out[i] = from[i];
}

struct FixedTrees {
    HuffmanTree literals;
    HuffmanTree distances;

    FixedTrees()
    {
        std::array<std::uint8_t, 288> lengths {};
        for (std::size_t i = 0; i < lengths.size(); ++i)
            lengths[i] = i < 144 ? 8 : i < 256 ? 9 : i < 280 ? 7 : 8;
        literals.build(lengths);
        // 30 and 31 have codes but are no distances.
        std::array<std::uint8_t, 32> distance_lengths;
        distance_lengths.fill(5);
        distances.build(distance_lengths);
    }
};

const FixedTrees& fixed_trees()
{
    static const FixedTrees trees;
    return trees;
}

}

// Tops the bit buffer up with whole bytes while they fit. Eight bytes are
// read at once where the input has them: the bits above m_bit_count are
// then the input's next ones, which a later refill writes again unchanged.
void Inflater::refill()
{
    if constexpr (std::endian::native == std::endian::little) {
        if (m_input.size() - m_position >= 8) {
            std::uint64_t word = 0;
            std::memcpy(&word, m_input.data() + m_position, 8);
            m_bit_buffer |= word << m_bit_count;
            const int taken = (63 - m_bit_count) >> 3;
            m_position += static_cast<std::size_t>(taken);
            m_bit_count += 8 * taken;
            return;
        }
    }
    while (m_bit_count <= 56 && m_position < m_input.size()) {
        m_bit_buffer |= std::uint64_t { m_input[m_position++] } << m_bit_count;
        m_bit_count += 8;
    }
}

bool Inflater::bits(int count, std::uint32_t& value)
{
    if (m_bit_count < count)
        refill();
    if (m_bit_count < count)
        return false;
    value = static_cast<std::uint32_t>(m_bit_buffer & ((std::uint64_t { 1 } << count) - 1));
    m_bit_buffer >>= count;
    m_bit_count -= count;
    return true;
}

std::int32_t Inflater::decode(const HuffmanTree& tree)
{
    if (m_bit_count < HuffmanTree::max_code_length)
        refill();
    int length = 0;
    const std::int32_t symbol = tree.decode(m_bit_buffer, m_bit_count, length);
    if (symbol >= 0) {
        m_bit_buffer >>= length;
        m_bit_count -= length;
    }
    return symbol;
}

bool Inflater::flush()
{
    if (m_end > m_flushed && !m_stopped)
        m_stopped = !m_sink->write(m_output.get() + m_flushed, m_end - m_flushed);
    m_flushed = m_end;
    return !m_stopped;
}

bool Inflater::make_room()
{
    if (m_end + max_match <= m_capacity)
        return true;
    if (m_capacity < output_capacity) {
        const std::size_t capacity = std::min(2 * m_capacity, output_capacity);
        auto grown = std::make_unique_for_overwrite<std::uint8_t[]>(capacity + copy_slack);
        std::memcpy(grown.get(), m_output.get(), m_end);
        m_output = std::move(grown);
        m_capacity = capacity;
        return true;
    }
    if (!flush())
        return false;
    std::memmove(m_output.get(), m_output.get() + m_end - kept_window, kept_window);
    m_end = m_flushed = kept_window;
    return true;
}

Inflater::Step Inflater::stored_block()
{
    // To the next byte boundary.
    m_bit_buffer >>= m_bit_count % 8;
    m_bit_count -= m_bit_count % 8;
    std::uint32_t length = 0, complement = 0;
    if (!bits(16, length) || !bits(16, complement)) {
        m_failure = InflateResult::truncated;
        return Step::stop;
    }
    if ((length ^ 0xFFFF) != complement)
        return Step::stop;
    std::size_t left = length;
    while (left > 0) {
        if (!make_room())
            return Step::stop;
        if (m_bit_count >= 8) {
            m_output[m_end++] = static_cast<std::uint8_t>(m_bit_buffer);
            m_bit_buffer >>= 8;
            m_bit_count -= 8;
            ++m_total;
            --left;
            continue;
        }
        // The bit buffer is empty: what it read ahead is copied straight from the input.
        m_bit_buffer = 0;
        m_bit_count = 0;
        const std::size_t take = std::min({ left, m_input.size() - m_position, m_capacity - m_end });
        if (take == 0) {
            m_failure = InflateResult::truncated;
            return Step::stop;
        }
        std::memcpy(m_output.get() + m_end, m_input.data() + m_position, take);
        m_position += take;
        m_end += take;
        m_total += take;
        left -= take;
    }
    return Step::more;
}

Inflater::Step Inflater::codes_block(const HuffmanTree& literals, const HuffmanTree& distances)
{
    for (;;) {
        if (!make_room())
            return Step::stop;
        const std::int32_t symbol = decode(literals);
        if (symbol < 0) {
            if (symbol == HuffmanTree::need_more)
                m_failure = InflateResult::truncated;
            return Step::stop;
        }
        if (symbol < end_of_block) {
            m_output[m_end++] = static_cast<std::uint8_t>(symbol);
            ++m_total;
            continue;
        }
        if (symbol == end_of_block)
            return Step::more;
        const std::size_t length_index = static_cast<std::size_t>(symbol - end_of_block - 1);
        if (length_index >= length_codes.size())
            return Step::stop;
        std::uint32_t extra = 0;
        if (!bits(length_codes[length_index].extra_bits, extra)) {
            m_failure = InflateResult::truncated;
            return Step::stop;
        }
        const std::uint32_t length = length_codes[length_index].base + extra;
        const std::int32_t distance_symbol = decode(distances);
        if (distance_symbol < 0) {
            if (distance_symbol == HuffmanTree::need_more)
                m_failure = InflateResult::truncated;
            return Step::stop;
        }
        if (static_cast<std::size_t>(distance_symbol) >= distance_codes.size())
            return Step::stop;
        const CodeBase& code = distance_codes[static_cast<std::size_t>(distance_symbol)];
        if (!bits(code.extra_bits, extra)) {
            m_failure = InflateResult::truncated;
            return Step::stop;
        }
        const std::uint32_t distance = code.base + extra;
        if (distance > m_total || distance > m_window_size)
            return Step::stop;
        copy_match(m_output.get() + m_end, distance, length);
        m_end += length;
        m_total += length;
    }
}

bool Inflater::read_code_lengths(
    std::array<std::uint8_t, 320>& lengths, std::size_t count, const HuffmanTree& lengths_tree)
{
    std::size_t filled = 0;
    while (filled < count) {
        const std::int32_t symbol = decode(lengths_tree);
        if (symbol < 0) {
            if (symbol == HuffmanTree::need_more)
                m_failure = InflateResult::truncated;
            return false;
        }
        if (symbol < 16) {
            lengths[filled++] = static_cast<std::uint8_t>(symbol);
            continue;
        }
        std::uint32_t repeat = 0;
        std::uint8_t value = 0;
        bool read = false;
        if (symbol == 16) {
            if (filled == 0)
                return false;
            value = lengths[filled - 1];
            read = bits(2, repeat);
            repeat += 3;
        } else if (symbol == 17) {
            read = bits(3, repeat);
            repeat += 3;
        } else {
            read = bits(7, repeat);
            repeat += 11;
        }
        if (!read) {
            m_failure = InflateResult::truncated;
            return false;
        }
        if (filled + repeat > count)
            return false;
        std::fill_n(lengths.begin() + static_cast<std::ptrdiff_t>(filled), repeat, value);
        filled += repeat;
    }
    return true;
}

Inflater::Step Inflater::dynamic_block()
{
    std::uint32_t literal_count = 0, distance_count = 0, length_count = 0;
    if (!bits(5, literal_count) || !bits(5, distance_count) || !bits(4, length_count)) {
        m_failure = InflateResult::truncated;
        return Step::stop;
    }
    literal_count += 257;
    distance_count += 1;
    length_count += 4;
    if (literal_count > max_literal_codes || distance_count > max_distance_codes)
        return Step::stop;
    std::array<std::uint8_t, 19> length_lengths {};
    for (std::uint32_t i = 0; i < length_count; ++i) {
        std::uint32_t value = 0;
        if (!bits(3, value)) {
            m_failure = InflateResult::truncated;
            return Step::stop;
        }
        length_lengths[code_length_order[i]] = static_cast<std::uint8_t>(value);
    }
    HuffmanTree& lengths_tree = m_literals;
    if (!lengths_tree.build(length_lengths))
        return Step::stop;
    std::array<std::uint8_t, 320> lengths {};
    if (!read_code_lengths(lengths, literal_count + distance_count, lengths_tree))
        return Step::stop;
    const std::span<const std::uint8_t> all(lengths.data(), literal_count + distance_count);
    if (!m_literals.build(all.first(literal_count)) || !m_distances.build(all.subspan(literal_count)))
        return Step::stop;
    return codes_block(m_literals, m_distances);
}

InflateResult Inflater::inflate(std::span<const std::uint8_t> input, InflateSink& sink)
{
    m_input = input;
    m_position = 0;
    m_bit_buffer = 0;
    m_bit_count = 0;
    m_total = 0;
    m_end = m_flushed = 0;
    m_sink = &sink;
    m_stopped = false;
    if (input.size() < 2)
        return InflateResult::truncated;
    const std::uint8_t method = input[0] & 0x0F;
    const int window_bits = (input[0] >> 4) + 8;
    const bool preset_dictionary = (input[1] & 0x20) != 0;
    if (method != 8 || window_bits > 15 || preset_dictionary)
        return InflateResult::unsupported;
    m_window_size = std::size_t { 1 } << window_bits;
    if (!m_output) {
        m_capacity = first_capacity;
        m_output = std::make_unique_for_overwrite<std::uint8_t[]>(m_capacity + copy_slack);
    }
    m_position = 2;

    for (;;) {
        m_failure = InflateResult::corrupt;
        std::uint32_t final_block = 0, type = 0;
        if (!bits(1, final_block) || !bits(2, type)) {
            flush();
            return m_stopped ? InflateResult::stopped : InflateResult::truncated;
        }
        Step step = Step::stop;
        if (type == 0)
            step = stored_block();
        else if (type == 1)
            step = codes_block(fixed_trees().literals, fixed_trees().distances);
        else if (type == 2)
            step = dynamic_block();
        if (!flush() || m_stopped)
            return InflateResult::stopped;
        if (step == Step::stop)
            return m_failure;
        if (final_block)
            return InflateResult::finished;
    }
}

}
