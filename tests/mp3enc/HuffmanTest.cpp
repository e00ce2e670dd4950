#include "mp3enc/BitCount.h"
#include "mp3enc/FrameWriter.h"
#include "mp3enc/HuffmanTables.h"
#include "mp3enc/Setup.h"
#include "mp3enc/State.h"

#include <gtest/gtest.h>
#include <memory>
#include <set>
#include <vector>

using namespace mp3enc;

namespace {

// Every pair table must be a complete prefix code: no code word starts another, and the
// lengths fill the code space exactly (Kraft sum 1).
void expect_complete_prefix_code(
    const uint8_t* lengths, const uint32_t* codes, int32_t count, const char* what)
{
    double kraft = 0;
    std::set<std::pair<uint32_t, int>> seen;
    for (int32_t i = 0; i < count; ++i) {
        ASSERT_GT(lengths[i], 0) << what;
        ASSERT_LT(codes[i], 1u << lengths[i]) << what;
        kraft += 1.0 / double(1u << lengths[i]);
        for (int32_t j = 0; j < count; ++j) {
            if (i == j || lengths[j] < lengths[i])
                continue;
            EXPECT_NE(codes[j] >> (lengths[j] - lengths[i]), codes[i])
                << what << " entry " << i << " prefixes " << j;
        }
    }
    EXPECT_DOUBLE_EQ(kraft, 1.0) << what;
}

std::unique_ptr<State> state_for(int32_t out_rate)
{
    auto state = std::make_unique<State>();
    std::copy_n(long_band_bounds(out_rate), 23, state->sfb_long);
    build_region_table(*state);
    return state;
}

// Bits of a region coded with one table, escapes and signs included.
int32_t bits_with(int32_t table, const std::vector<int32_t>& lines)
{
    const HuffmanTable& t = huffman_tables[table == 14 ? 16 : table];
    int32_t bits = 0;
    for (size_t i = 0; i < lines.size(); i += 2) {
        int32_t x = std::abs(lines[i]), y = std::abs(lines[i + 1]);
        int32_t esc = (x >= 15) + (y >= 15);
        bits += t.lengths[std::min(x, 15) * t.dim + std::min(y, 15)] + esc * t.linbits + (x != 0) + (y != 0);
    }
    return bits;
}

}

TEST(Mp3Huffman, TablesAreCompletePrefixCodes)
{
    const int32_t dims[32] = { 0, 2, 3, 3, 0, 4, 4, 6, 6, 6, 8, 8, 8, 16, 0, 16, 16, 16, 16, 16, 16, 16, 16,
        16, 16, 16, 16, 16, 16, 16, 16, 16 };
    for (int32_t n = 0; n < 32; ++n) {
        const HuffmanTable& t = huffman_tables[n];
        ASSERT_EQ(t.dim, dims[n]) << "table " << n;
        if (t.dim > 0 && n <= 24)
            expect_complete_prefix_code(
                t.lengths, t.codes, t.dim * t.dim, ("table " + std::to_string(n)).c_str());
    }
    const int32_t linbits[16] = { 1, 2, 3, 4, 6, 8, 10, 13, 4, 5, 6, 7, 8, 9, 11, 13 };
    for (int32_t n = 16; n < 32; ++n)
        EXPECT_EQ(huffman_tables[n].linbits, linbits[n - 16]) << "table " << n;

    uint32_t codes[16];
    for (int q = 0; q < 2; ++q) {
        std::copy_n(count1_codes[q], 16, codes);
        expect_complete_prefix_code(count1_lengths[q], codes, 16, q ? "count1 B" : "count1 A");
    }
}

TEST(Mp3Huffman, CodesMatchTheStandardsTable)
{
    struct Case {
        int32_t table, x, y;
        uint32_t code;
        int32_t length;
    };

    // Entries of the standard's code tables, as its text prints them.
    const Case cases[] = {
        { 1, 0, 0, 0b1, 1 },
        { 1, 0, 1, 0b001, 3 },
        { 1, 1, 0, 0b01, 2 },
        { 1, 1, 1, 0b000, 3 },
        { 2, 2, 2, 0b000000, 6 },
        { 13, 0, 0, 0b1, 1 },
        { 15, 0, 0, 0b111, 3 },
        { 16, 0, 0, 0b1, 1 },
        { 24, 0, 0, 0b1111, 4 },
        { 24, 15, 15, 0b0011, 4 },
    };
    for (const Case& c : cases) {
        const HuffmanTable& t = huffman_tables[c.table];
        EXPECT_EQ(t.codes[c.x * t.dim + c.y], c.code) << c.table << " " << c.x << "," << c.y;
        EXPECT_EQ(t.lengths[c.x * t.dim + c.y], c.length) << c.table << " " << c.x << "," << c.y;
    }
    // Quadruple table A: 0000 is "1", 1111 is "011111"'s five-bit prefix... as printed: 000001.
    EXPECT_EQ(count1_lengths[0][0], 1);
    EXPECT_EQ(count1_codes[0][0], 1);
    EXPECT_EQ(count1_lengths[0][15], 6);
    EXPECT_EQ(count1_codes[0][15], 1);
    EXPECT_EQ(count1_codes[1][0], 15);
}

TEST(Mp3Huffman, TableChoiceAndTieBreaks)
{
    struct Case {
        std::vector<int32_t> lines;
        int32_t table;
    };

    const Case cases[] = {
        { { 0, 0 }, 0 }, { { 1, 0, 0, 1 }, 1 }, { { 0, 2 }, 2 }, // 2 and 3 tie: the lower is kept
        { { 1, 1, 0, 2 }, 3 }, // 3 strictly cheaper
        { { 3, 0 }, 6 }, // (3,0) costs 7 in table 5, 6 in table 6
        { { 5, 5, 0, 0 }, 7 }, { { 7, 0 }, 11 }, { { 15, 15, 15, 15 }, 14 }, // written as table 16
        { { 16, 0, 0, 0 }, 16 }, { { 16, 16, 16, 16, 16, 16 }, 16 },
        { { 8206, 0 }, 31 }, // 13 escape bits either way: table 24's codes win
    };
    for (const Case& c : cases) {
        int32_t bits = 0;
        int32_t table = choose_table(c.lines.data(), 0, int32_t(c.lines.size()), &bits);
        EXPECT_EQ(table, c.table) << "first line " << c.lines[0];
        if (table != 0)
            EXPECT_EQ(bits, bits_with(table, c.lines)) << "first line " << c.lines[0];
    }
    // Among all candidates of a group, the one chosen costs least.
    const std::vector<int32_t> candidates[] = { { 13, 14, 15 }, { 7, 8, 9 }, { 10, 11, 12 } };
    const std::vector<int32_t> regions[]
        = { { 8, 1, 0, 15, 3, 3, 12, 0 }, { 4, 0, 1, 1, 0, 0, 5, 2 }, { 6, 6, 0, 1, 1, 0, 0, 7 } };
    for (int32_t i = 0; i < 3; ++i) {
        int32_t bits = 0;
        choose_table(regions[i].data(), 0, int32_t(regions[i].size()), &bits);
        for (int32_t t : candidates[i])
            EXPECT_LE(bits, bits_with(t, regions[i]));
    }

    const int32_t too_large[2] = { 8207, 0 };
    int32_t bits = 0;
    choose_table(too_large, 0, 2, &bits);
    EXPECT_EQ(bits, too_many_bits);
}

TEST(Mp3Huffman, RegionTableAt44100)
{
    auto state = state_for(44100);

    struct Case {
        int32_t big_values, region0, region1;
    };

    // Boundaries at 44.1 kHz: 0 4 8 12 16 20 24 30 36 44 52 62 74 90 110 134 162 196 238 288 342 418 576.
    const Case cases[] = { { 2, 0, 0 }, { 20, 0, 1 }, { 24, 1, 1 }, { 100, 3, 4 }, { 576, 6, 7 } };
    for (const Case& c : cases) {
        EXPECT_EQ(state->region_table[c.big_values / 2][0], c.region0) << c.big_values;
        EXPECT_EQ(state->region_table[c.big_values / 2][1], c.region1) << c.big_values;
    }
}

TEST(Mp3Huffman, CountingSplitsBigValuesAndQuadruples)
{
    auto state = state_for(44100);
    GranuleInfo granule;
    EXPECT_EQ(count_bits(*state, granule), 0);
    EXPECT_EQ(granule.big_values, 0);
    EXPECT_EQ(granule.count1, 0);

    // One quadruple 1 0 0 -1: table B (4 bits + 2 signs) beats A (5 + 2).
    granule.lines[0] = 1;
    granule.lines[3] = -1;
    EXPECT_EQ(count_bits(*state, granule), 6);
    EXPECT_EQ(granule.big_values, 0);
    EXPECT_EQ(granule.count1, 4);
    EXPECT_EQ(granule.count1table_select, 1);

    // A 2 forces the pairs: big values end at the last line above 1, rounded to whole quadruples
    // counted from the top.
    granule = GranuleInfo {};
    granule.lines[0] = 2;
    granule.lines[5] = 1;
    int32_t bits = count_bits(*state, granule);
    EXPECT_EQ(granule.count1, 6);
    EXPECT_EQ(granule.big_values, 2);
    EXPECT_EQ(granule.table_select[0], 2);
    // Pair (2,0) in table 2: 5 bits + sign; quadruple 0 0 0 1 in A: 4 + sign, B 4 + sign: A kept.
    EXPECT_EQ(granule.count1table_select, 0);
    EXPECT_EQ(bits, 5 + 1 + 4 + 1);

    // Regions take their tables separately.
    granule = GranuleInfo {};
    for (int32_t i = 0; i < 100; ++i)
        granule.lines[i] = i < 30 ? 20 : 2;
    count_bits(*state, granule);
    EXPECT_EQ(granule.big_values, 100);
    EXPECT_GE(granule.table_select[0], 16);
    EXPECT_LE(granule.table_select[2], 3);

    granule.lines[50] = 9000;
    EXPECT_EQ(count_bits(*state, granule), too_many_bits);
}
