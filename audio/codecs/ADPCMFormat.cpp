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

std::int16_t ADPCMChannel::advance(std::int32_t predictor, std::int32_t code)
{
    // 64-bit and a capped delta: a damaged block may keep raising the delta.
    std::int64_t value = predictor + std::int64_t(delta) * code;
    auto sample = static_cast<std::int16_t>(std::clamp<std::int64_t>(value, -32768, 32767));
    std::int64_t next = (std::int64_t(ADPCMFormat::adaptation[code & 15]) * delta) >> 8;
    delta = static_cast<std::int32_t>(
        std::clamp<std::int64_t>(next, ADPCMFormat::min_delta, std::numeric_limits<std::int32_t>::max()));
    sample2 = sample1;
    sample1 = sample;
    return sample;
}

std::int16_t ADPCMChannel::decode(std::uint8_t code)
{
    std::int32_t signed_code = code >= 8 ? code - 16 : code;
    return advance(predict(), signed_code);
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
