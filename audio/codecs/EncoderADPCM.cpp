#include "audio/codecs/EncoderADPCM.h"

#include "audio/Samples.h"
#include "liba/MutexLock.h"

#include <cstring>
#include <limits>

namespace audio {

bool EncoderADPCM::takes(const PCMData& format)
{
    return format.bits_per_sample == 16 && (format.channels == 1 || format.channels == 2)
        && format.sample_rate > 0;
}

PCMData EncoderADPCM::make_block(const PCMData& format)
{
    if (!takes(format))
        return {};
    m_block_align = ADPCMFormat::block_align_for(format.sample_rate, format.channels);
    m_samples_per_block = ADPCMFormat::samples_per_block(m_block_align, format.channels);
    m_bitrate = static_cast<std::int32_t>(std::int64_t(m_block_align) * 8 * format.sample_rate / m_samples_per_block);
    liba::SharedBuffer bytes(std::size_t(m_samples_per_block) * std::size_t(format.channels) * 2);
    return PCMData(std::move(bytes), format.channels, 16, format.sample_rate);
}

std::int32_t EncoderADPCM::encode_block(const std::uint8_t* pcm, std::int32_t channels,
    std::int32_t samples_per_block, std::uint8_t predictor, std::uint8_t* out)
{
    ADPCMChannel state[2];
    auto sample = [&](std::int32_t frame, int c) { return read_sample(pcm + 2 * (frame * channels + c)); };
    for (int c = 0; c < channels; ++c) {
        state[c].pair = ADPCMFormat::coefficients[predictor];
        state[c].sample2 = sample(0, c);
        state[c].sample1 = sample(1, c);
        out[c] = predictor;
        write_sample(out + channels + 2 * c, state[c].delta);
        write_sample(out + 3 * channels + 2 * c, state[c].sample1);
        write_sample(out + 5 * channels + 2 * c, state[c].sample2);
    }
    std::uint8_t* codes = out + 7 * channels;
    std::int32_t error = 0;
    std::int32_t count = (samples_per_block - 2) * channels;
    for (std::int32_t i = 0; i < count; ++i) {
        std::int32_t c = channels == 2 ? i % 2 : 0;
        std::uint8_t code = state[c].encode(sample(2 + i / channels, c), error);
        if (i % 2 == 0)
            codes[i / 2] = static_cast<std::uint8_t>(code << 4);
        else
            codes[i / 2] |= code;
    }
    return error;
}

ADPCMData EncoderADPCM::encode(const PCMData& block)
{
    std::uint8_t* best = m_work[0];
    std::uint8_t* trial = m_work[1];
    std::int32_t best_error = std::numeric_limits<std::int32_t>::max();
    for (std::uint8_t predictor = 0; predictor < ADPCMFormat::predictor_count; ++predictor) {
        std::int32_t error = encode_block(block.bytes(), block.channels, m_samples_per_block, predictor, trial);
        // Strictly smaller: ties keep the lower predictor.
        if (error < best_error) {
            best_error = error;
            std::swap(best, trial);
        }
    }
    ADPCMData coded;
    coded.buffer = liba::SharedBuffer(std::size_t(m_block_align), best);
    coded.channels = block.channels;
    coded.bits_per_sample = 4;
    coded.sample_rate = block.sample_rate;
    coded.block_align = m_block_align;
    return coded;
}

int EncoderADPCM::get_bitrate()
{
    liba::MutexLock lock(get_lock());
    return m_bitrate;
}

}
