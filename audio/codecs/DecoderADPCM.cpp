#include "audio/codecs/DecoderADPCM.h"

#include "audio/codecs/ADPCMFormat.h"
#include "audio/Samples.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <vector>

namespace audio {

void DecoderADPCM::decode_block(
    const std::uint8_t* block, std::int32_t channels, std::int32_t samples_per_block, std::int16_t* out)
{
    if (channels != 1 && channels != 2)
        return;
    ADPCMChannel state[2];
    for (int c = 0; c < channels; ++c) {
        if (block[c] >= ADPCMFormat::predictor_count) {
            std::fill(out, out + std::size_t(samples_per_block) * std::size_t(channels), std::int16_t(0));
            return;
        }
        state[c].pair = ADPCMFormat::coefficients[block[c]];
        state[c].delta = read_sample(block + channels + 2 * c);
        state[c].sample1 = read_sample(block + 3 * channels + 2 * c);
        state[c].sample2 = read_sample(block + 5 * channels + 2 * c);
    }
    for (int c = 0; c < channels; ++c) {
        out[c] = static_cast<std::int16_t>(state[c].sample2);
        out[channels + c] = static_cast<std::int16_t>(state[c].sample1);
    }
    const std::uint8_t* codes = block + 7 * channels;
    // Two codes per byte, high nibble first: for stereo that is left, right.
    std::int32_t bytes = (samples_per_block - 2) * channels / 2;
    std::int16_t* next = out + 2 * channels;
    if (channels == 2) {
        for (std::int32_t i = 0; i < bytes; ++i) {
            next[2 * i] = state[0].decode(codes[i] >> 4);
            next[2 * i + 1] = state[1].decode(codes[i] & 15);
        }
    } else {
        for (std::int32_t i = 0; i < bytes; ++i) {
            next[2 * i] = state[0].decode(codes[i] >> 4);
            next[2 * i + 1] = state[0].decode(codes[i] & 15);
        }
        // An odd count ends on a high nibble.
        if ((samples_per_block - 2) % 2)
            next[2 * bytes] = state[0].decode(codes[bytes] >> 4);
    }
}

PCMData DecoderADPCM::decode(const ADPCMData& blocks)
{
    std::int32_t channels = blocks.channels;
    std::int32_t samples = ADPCMFormat::samples_per_block(blocks.block_align, channels, blocks.bits_per_sample);
    // Only 4-bit codes fill a block exactly; other widths would read past it.
    if ((channels != 1 && channels != 2) || blocks.bits_per_sample != 4 || samples <= 0)
        return {};
    std::size_t count = blocks.size() / static_cast<std::size_t>(blocks.block_align);
    if (count == 0)
        return {};
    m_samples_per_block = samples;
    std::size_t frame_bytes = std::size_t(channels) * 2;
    std::size_t block_bytes = frame_bytes * std::size_t(samples);
    liba::SharedBuffer pcm = m_output.take(count * block_bytes);
    std::uint8_t* out = OutputBuffer::bytes(pcm);
    std::vector<std::int16_t>& decoded = m_decoded;
    decoded.resize(std::size_t(samples) * std::size_t(channels));
    for (std::size_t b = 0; b < count; ++b) {
        decode_block(blocks.bytes() + b * std::size_t(blocks.block_align), channels, samples, decoded.data());
        std::uint8_t* target = out + b * block_bytes;
        if constexpr (std::endian::native == std::endian::little) {
            std::memcpy(target, decoded.data(), block_bytes);
        } else {
            for (std::size_t i = 0; i < decoded.size(); ++i)
                write_sample(target + 2 * i, decoded[i]);
        }
    }
    return PCMData(last_block_cut(pcm, block_bytes, frame_bytes, blocks.last_block_samples), channels, 16,
        blocks.sample_rate);
}

std::int32_t DecoderADPCM::blocks_for_size(std::int32_t frames)
{
    // Capped: a request for everything would read the whole file at once.
    constexpr std::int64_t most = 32;
    if (frames <= 0 || m_samples_per_block <= 0)
        return 1;
    return static_cast<std::int32_t>(
        std::min((std::int64_t(frames) + m_samples_per_block - 1) / m_samples_per_block, most));
}

}
