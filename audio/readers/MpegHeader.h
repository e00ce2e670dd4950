#pragma once

#include <cstdint>

namespace audio {

// The parameters of one MPEG audio frame (MPEG-1, MPEG-2 and MPEG-2.5,
// Layers I to III), taken from its four header bytes.
struct MpegHeader {
    std::int32_t version = 0; // 1 = MPEG-1, 2 = MPEG-2, 3 = MPEG-2.5
    std::int32_t layer = 0;
    std::int32_t channels = 0;
    std::int32_t sample_rate = 0; // Hz
    std::int32_t bitrate = 0; // kbit/s
    std::int32_t frame_length = 0; // bytes, padding included
    std::int32_t samples_per_frame = 0;

    // What every frame of one stream shares; the bitrate and padding may vary.
    bool agrees_with(const MpegHeader& other) const
    {
        return version == other.version && layer == other.layer && sample_rate == other.sample_rate
            && samples_per_frame == other.samples_per_frame && channels == other.channels;
    }

    bool operator==(const MpegHeader&) const = default;
};

// The quick test of a big-endian header word: sync bits, a layer, a bitrate
// index other than free format and 15, a rate index other than 3.
bool is_mpeg_header(std::uint32_t word);
// Reads four bytes; false when they are no header.
bool parse_mpeg_header(const std::uint8_t* bytes, MpegHeader& header);

}
