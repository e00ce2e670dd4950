#include "audio/readers/MpegHeader.h"

namespace audio {

namespace {

// kbit/s by row 3 x (version - 1) + (layer - 1) and bitrate index; MPEG-2.5
// repeats the MPEG-2 rows.
constexpr std::int32_t bitrates[9][16] = {
    { 0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0 },
    { 0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0 },
    { 0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0 },
    { 0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0 },
    { 0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0 },
    { 0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0 },
    { 0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0 },
    { 0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0 },
    { 0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0 },
};

constexpr std::int32_t sample_rates[3][4] = {
    { 44100, 48000, 32000, 0 },
    { 22050, 24000, 16000, 0 },
    { 11025, 12000, 8000, 0 },
};

}

bool is_mpeg_header(std::uint32_t word)
{
    constexpr std::uint32_t sync = 0xFFE00000;
    if ((word & sync) != sync)
        return false;
    std::uint32_t layer_bits = (word >> 17) & 3;
    std::uint32_t bitrate_index = (word >> 12) & 15;
    std::uint32_t rate_index = (word >> 10) & 3;
    return layer_bits != 0 && bitrate_index != 0 && bitrate_index != 15 && rate_index != 3;
}

bool parse_mpeg_header(const std::uint8_t* bytes, MpegHeader& header)
{
    std::uint32_t word = std::uint32_t(bytes[0]) << 24 | std::uint32_t(bytes[1]) << 16
        | std::uint32_t(bytes[2]) << 8 | bytes[3];
    if (!is_mpeg_header(word))
        return false;

    MpegHeader h;
    if (word & (1u << 20))
        h.version = (word & (1u << 19)) ? 1 : 2;
    else
        h.version = 3;
    h.layer = 4 - std::int32_t((word >> 17) & 3);
    h.channels = ((word >> 6) & 3) == 3 ? 1 : 2;
    h.bitrate = bitrates[3 * (h.version - 1) + (h.layer - 1)][(word >> 12) & 15];
    h.sample_rate = sample_rates[h.version - 1][(word >> 10) & 3];
    if (h.bitrate == 0 || h.sample_rate == 0)
        return false;

    std::int32_t padding = (word >> 9) & 1;
    if (h.layer == 1) {
        h.frame_length = (12000 * h.bitrate / h.sample_rate + padding) * 4;
        h.samples_per_frame = 384;
    } else if (h.layer == 3 && h.version != 1) {
        h.frame_length = 72000 * h.bitrate / h.sample_rate + padding;
        h.samples_per_frame = 576;
    } else {
        h.frame_length = 144000 * h.bitrate / h.sample_rate + padding;
        h.samples_per_frame = 1152;
    }
    header = h;
    return true;
}

}
