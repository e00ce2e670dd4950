#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>

namespace audio {

// The Microsoft ADPCM tables and block geometry, shared by the codec and the
// WAV writer. Files carry a coefficient table too, but decoding always uses
// these fixed pairs.
struct ADPCMFormat {
    struct Pair {
        std::int32_t coef1;
        std::int32_t coef2;
    };

    static constexpr int predictor_count = 7;
    static constexpr std::array<Pair, predictor_count> coefficients { {
        { 256, 0 },
        { 512, -256 },
        { 0, 0 },
        { 192, 64 },
        { 240, 0 },
        { 460, -208 },
        { 392, -232 },
    } };
    static constexpr std::array<std::int32_t, 16> adaptation {
        230, 230, 230, 230, 307, 409, 512, 614, 768, 614, 512, 409, 307, 230, 230, 230
    };
    static constexpr std::int32_t min_delta = 16;
    // The largest block: 2048 bytes per channel of stereo.
    static constexpr int max_block_align = 4096;

    // Bytes per block for a recording at this rate and channel count (1 or 2).
    static std::int32_t block_align_for(std::int32_t rate, std::int32_t channels);
    // Sample frames in a block; 0 when the block cannot hold its own headers.
    static std::int32_t samples_per_block(std::int32_t block_align, std::int32_t channels, std::int32_t bits = 4);
};

// The running state of one channel while a block is coded.
struct ADPCMChannel {
    std::int32_t delta = ADPCMFormat::min_delta;
    std::int32_t sample1 = 0;
    std::int32_t sample2 = 0;
    ADPCMFormat::Pair pair { 256, 0 };

    // The sample that a 4-bit code stands for. Inline: the decoder calls it
    // once per sample.
    std::int16_t decode(std::uint8_t code)
    {
        // Without a branch: codes of noise are as likely negative as not.
        std::int32_t signed_code = std::int32_t((code & 15) ^ 8) - 8;
        return advance(predict(), signed_code);
    }
    // The code for a sample; error is raised to this sample's coding error.
    std::uint8_t encode(std::int32_t sample, std::int32_t& error);

private:
    std::int32_t predict() const { return (sample1 * pair.coef1 + sample2 * pair.coef2) >> 8; }
    std::int16_t advance(std::int32_t predictor, std::int32_t code)
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
};

}
