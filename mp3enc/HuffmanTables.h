#pragma once

#include <cstdint>

namespace mp3enc {

// One Layer III pair table: dim x dim entries indexed x * dim + y. Tables 16..23 share one code
// table, as do 24..31; they differ in their escape bits. Tables 0, 4 and 14 hold no codes.
struct HuffmanTable {
    int32_t dim;
    int32_t linbits;
    const uint8_t* lengths;
    const uint32_t* codes;
};

extern const HuffmanTable huffman_tables[32];

// The two quadruple tables (A = 0, B = 1), indexed v * 8 + w * 4 + x * 2 + y.
extern const uint8_t count1_lengths[2][16];
extern const uint8_t count1_codes[2][16];

}
