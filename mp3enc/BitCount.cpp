#include "mp3enc/BitCount.h"

#include "mp3enc/FrameWriter.h"
#include "mp3enc/HuffmanTables.h"

#include <algorithm>
#include <cstdlib>
#include <initializer_list>

namespace mp3enc {

namespace {

// The code lengths of up to three candidate tables, sign bits included, packed 21 bits each
// into one word, so a region is summed once for all of them.
constexpr int32_t field_bits = 21;
constexpr uint64_t field_mask = (uint64_t(1) << field_bits) - 1;

struct PackedGroup {
    int32_t tables[3];
    int32_t count;
    uint64_t lengths[256]; // x * 16 + y, values capped at 15
};

int32_t code_length(int32_t table, int32_t x, int32_t y)
{
    // Table 14 is written as table 16, whose escape bit each value of 15 costs.
    if (table == 14)
        return code_length(16, x, y) + (x == 15) + (y == 15);
    const HuffmanTable& t = huffman_tables[table];
    return t.lengths[x * t.dim + y];
}

PackedGroup make_group(std::initializer_list<int32_t> tables, int32_t dim)
{
    PackedGroup group {};
    for (int32_t table : tables)
        group.tables[group.count++] = table;
    for (int32_t x = 0; x < dim; ++x) {
        for (int32_t y = 0; y < dim; ++y) {
            uint64_t packed = 0;
            for (int32_t k = 0; k < group.count; ++k) {
                uint64_t bits = uint64_t(code_length(group.tables[k], x, y) + (x != 0) + (y != 0));
                packed |= bits << (field_bits * k);
            }
            group.lengths[x * 16 + y] = packed;
        }
    }
    return group;
}

struct Groups {
    PackedGroup by_max[8]; // largest value 1, 2, 3, 4-5, 6-7, 8-15, 16 and up
    uint32_t count1[16]; // table A in the low half, B in the high half, signs included

    Groups()
    {
        by_max[1] = make_group({ 1 }, 2);
        by_max[2] = make_group({ 2, 3 }, 3);
        by_max[3] = make_group({ 5, 6 }, 4);
        by_max[4] = make_group({ 7, 8, 9 }, 6);
        by_max[5] = make_group({ 10, 11, 12 }, 8);
        by_max[6] = make_group({ 13, 14, 15 }, 16);
        by_max[7] = make_group({ 16, 24 }, 16);
        for (uint32_t v = 0; v < 16; ++v) {
            uint32_t signs = uint32_t(__builtin_popcount(v));
            count1[v] = (count1_lengths[0][v] + signs) | ((count1_lengths[1][v] + signs) << 16);
        }
    }
};

// Built on first use and only read afterwards, so encoders on several threads share it.
const Groups& groups()
{
    static const Groups instance;
    return instance;
}

int32_t group_for(int32_t max)
{
    if (max <= 3)
        return max;
    if (max <= 5)
        return 4;
    if (max <= 7)
        return 5;
    if (max <= 15)
        return 6;
    return 7;
}

int32_t largest_escape(int32_t table)
{
    return (1 << huffman_tables[table].linbits) - 1;
}

constexpr int32_t largest_value = 15 + 8191;

constexpr uint8_t region0_rows[23] = { 0, 0, 0, 0, 0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 5, 5, 5, 6, 6 };
constexpr uint8_t region1_rows[23] = { 0, 0, 0, 0, 0, 1, 1, 1, 2, 2, 3, 3, 4, 4, 4, 5, 5, 6, 6, 6, 7, 7, 7 };

}

void fill_region_table(const int32_t* bounds, uint8_t (*table)[2])
{
    table[0][0] = table[0][1] = 0;
    for (int32_t i = 2; i <= granule_lines; i += 2) {
        int32_t bands = 1;
        while (bands < 22 && bounds[bands] < i)
            ++bands;
        int32_t r0 = region0_rows[bands];
        while (r0 >= 0 && bounds[r0 + 1] > i)
            --r0;
        if (r0 < 0)
            r0 = region0_rows[bands];
        int32_t r1 = region1_rows[bands];
        while (r1 >= 0 && bounds[r0 + r1 + 2] > i)
            --r1;
        if (r1 < 0)
            r1 = region1_rows[bands];
        table[i / 2][0] = uint8_t(r0);
        table[i / 2][1] = uint8_t(r1);
    }
}

int32_t choose_table(const int32_t* lines, int32_t begin, int32_t end, int32_t* bits)
{
    int32_t max = 0;
    for (int32_t i = begin; i < end; ++i)
        max = std::max(max, std::abs(lines[i]));
    if (max == 0)
        return 0;
    if (max > largest_value) {
        *bits += too_many_bits;
        return 0;
    }

    const PackedGroup& group = groups().by_max[group_for(max)];
    uint64_t sum = 0;
    int32_t escapes = 0;
    for (int32_t i = begin; i < end; i += 2) {
        int32_t x = std::abs(lines[i]);
        int32_t y = std::abs(lines[i + 1]);
        if (x >= 15) {
            x = 15;
            ++escapes;
        }
        if (y >= 15) {
            y = 15;
            ++escapes;
        }
        sum += group.lengths[x * 16 + y];
    }

    if (max >= 16) {
        int32_t second = 24;
        while (largest_escape(second) < max - 15)
            ++second;
        int32_t first = second - 8;
        while (largest_escape(first) < max - 15)
            ++first;
        int32_t first_bits = int32_t(sum & field_mask) + escapes * huffman_tables[first].linbits;
        int32_t second_bits
            = int32_t((sum >> field_bits) & field_mask) + escapes * huffman_tables[second].linbits;
        if (second_bits < first_bits) {
            *bits += second_bits;
            return second;
        }
        *bits += first_bits;
        return first;
    }

    // The earlier table keeps a tie.
    int32_t best = group.tables[0];
    int32_t best_bits = int32_t(sum & field_mask);
    for (int32_t k = 1; k < group.count; ++k) {
        int32_t candidate = int32_t((sum >> (field_bits * k)) & field_mask);
        if (candidate < best_bits) {
            best = group.tables[k];
            best_bits = candidate;
        }
    }
    *bits += best_bits;
    return best;
}

void build_region_table(State& state)
{
    fill_region_table(state.sfb_long, state.region_table);
    state.choose_table = &choose_table;
}

int32_t count_bits(State& state, GranuleInfo& info)
{
    const int32_t* lines = info.lines;
    int32_t end = granule_lines;
    while (end > 0 && lines[end - 1] == 0 && lines[end - 2] == 0)
        end -= 2;
    info.count1 = end;

    uint32_t quads = 0;
    int32_t big = end;
    while (big >= 4) {
        int32_t v = std::abs(lines[big - 4]);
        int32_t w = std::abs(lines[big - 3]);
        int32_t x = std::abs(lines[big - 2]);
        int32_t y = std::abs(lines[big - 1]);
        if ((v | w | x | y) > 1)
            break;
        quads += groups().count1[v * 8 + w * 4 + x * 2 + y];
        big -= 4;
    }
    info.big_values = big;
    int32_t bits_a = int32_t(quads & 0xffff);
    int32_t bits_b = int32_t(quads >> 16);
    info.count1table_select = bits_b < bits_a ? 1 : 0;
    int32_t bits = std::min(bits_a, bits_b);

    info.table_select[0] = info.table_select[1] = info.table_select[2] = 0;
    info.region0_count = info.region1_count = 0;
    if (big == 0)
        return bits;
    int32_t r0 = state.region_table[big / 2][0];
    int32_t r1 = state.region_table[big / 2][1];
    info.region0_count = r0;
    info.region1_count = r1;
    const int32_t starts[4]
        = { 0, std::min(state.sfb_long[r0 + 1], big), std::min(state.sfb_long[r0 + r1 + 2], big), big };
    for (int32_t r = 0; r < 3; ++r)
        info.table_select[r] = state.choose_table(lines, starts[r], starts[r + 1], &bits);
    return bits >= too_many_bits ? too_many_bits : bits;
}

}
