#pragma once

#include <cstdint>

// Huffman table choice and bit counting of quantised lines (long blocks).
namespace mp3enc {

// The count of lines that cannot be coded (a value above 15 + 8191).
constexpr int32_t too_many_bits = 100000;

// The table for the pairs of lines[begin, end) by the encoder's tie-breaks; adds its bits, signs
// and escape bits included, to *bits. Table 14 stands for table 16 counted on values up to 15.
int32_t choose_table(const int32_t* lines, int32_t begin, int32_t end, int32_t* bits);

// region0_count and region1_count of every even big-values count, from the rate's 23 long-block
// scalefactor band boundaries.
void fill_region_table(const int32_t* sfb_long, uint8_t (*table)[2]);

}
