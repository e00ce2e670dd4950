#pragma once

#include "audio/DataBlock.h"

namespace audio {

// Whole Microsoft ADPCM blocks with the format they were coded in.
struct ADPCMData : DataBlock {
    std::int32_t channels = 0;
    std::int32_t bits_per_sample = 0;
    std::int32_t sample_rate = 0;
    std::int32_t block_align = 0;
    // Samples of the last block that belong to the stream when it ends
    // inside that block; 0 when every block plays whole.
    std::int32_t last_block_samples = 0;
};

}
