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

    // Channels, sample width and rate all agree.
    bool same_format(const PCMData& other) const
    {
        return channels == other.channels && bits_per_sample == other.bits_per_sample
            && sample_rate == other.sample_rate;
    }

    // 8-bit unsigned or 16-bit signed samples of one or two channels at a
    // positive rate: the formats the filters work on.
    bool is_filter_format() const
    {
        return (channels == 1 || channels == 2) && (bits_per_sample == 8 || bits_per_sample == 16)
            && sample_rate >= 1;
    }
};

}
