#pragma once

#include "audio/DataBlock.h"

namespace audio {

// Whole 65-byte GSM 6.10 blocks (two frames, WAV49 packing). The format is
// fixed by the coding, so readers leave these fields at 0.
struct GSMData : DataBlock {
    std::int32_t channels = 0;
    std::int32_t bits_per_sample = 0;
    std::int32_t sample_rate = 0;
    // Samples of the last block that belong to the stream when it ends
    // inside that block; 0 when every block plays whole.
    std::int32_t last_block_samples = 0;
};

}
