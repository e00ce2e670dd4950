#include "audio/codecs/ADPCMFormat.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace audio {

std::int32_t ADPCMFormat::block_align_for(std::int32_t rate, std::int32_t channels)
{
    if (rate < 22050)
        return 256 * channels;
    if (rate < 44100)
        return 512 * channels;
    if (rate < 96000)
        return 1024 * channels;
    return 2048 * channels;
}

std::int32_t ADPCMFormat::samples_per_block(std::int32_t block_align, std::int32_t channels, std::int32_t bits)
{
    if (channels <= 0 || bits <= 0 || block_align < 7 * channels)
        return 0;
    return (block_align - 7 * channels) * 8 / (channels * bits) + 2;
}

std::uint8_t ADPCMChannel::encode(std::int32_t sample, std::int32_t& error)
{
    std::int32_t predictor = predict();
    std::int32_t q = std::clamp((sample - predictor) / delta, -8, 7);
    std::int32_t coded = advance(predictor, q);
    error = std::max(error, std::abs(coded - sample));
    return static_cast<std::uint8_t>(q & 15);
}

}
