#pragma once

#include "liba/Nocopy.h"

#include <cstdint>

struct gsm_state;

namespace audio {

// One libgsm coder in the WAV49 packing: a 65-byte block holds two frames of
// 160 samples, the first in 32.5 bytes. The coder carries state from frame to
// frame (including the half byte between the two), so it must see one file's
// blocks in order.
class GSMCodec : private liba::Nocopy {
public:
    static constexpr int block_bytes = 65;
    static constexpr int block_samples = 320;

    GSMCodec();
    ~GSMCodec();

    // 320 samples to one block; does nothing when the coder could not be made.
    void encode_block(const std::int16_t* samples, std::uint8_t* block);
    // One block to 320 samples; does nothing when the coder could not be made.
    void decode_block(const std::uint8_t* block, std::int16_t* samples);

private:
    gsm_state* m_state;
};

}
