#pragma once

#include "audio/DataBlock.h"

#include <utility>

namespace audio {

// Interleaved little-endian PCM: 8-bit samples unsigned (silence 128), wider
// ones signed, each in (bits + 7) / 8 bytes. The empty chunk has no bytes and
// a zero format; it means nothing is available now or the data has ended.
struct PCMData : DataBlock {
    std::int32_t channels = 0;
    std::int32_t bits_per_sample = 0;
    std::int32_t sample_rate = 0;

    PCMData() = default;

    PCMData(liba::SharedBuffer bytes, std::int32_t channels, std::int32_t bits, std::int32_t rate)
        : DataBlock { std::move(bytes) }
        , channels(channels)
        , bits_per_sample(bits)
        , sample_rate(rate)
    {
    }

    std::int32_t bytes_per_frame() const { return channels * ((bits_per_sample + 7) / 8); }

    std::int32_t get_frames() const;
};

}
