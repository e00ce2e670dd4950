#include "audio/codecs/DecoderGSM.h"

#include "audio/Samples.h"

#include <cstring>

namespace audio {

PCMData DecoderGSM::decode(const GSMData& blocks)
{
    std::size_t count = blocks.size() / GSMCodec::block_bytes;
    if (count == 0)
        return {};
    constexpr std::size_t pcm_block = GSMCodec::block_samples * 2;
    liba::SharedBuffer pcm = m_output.take(count * pcm_block);
    std::uint8_t* out = OutputBuffer::bytes(pcm);
    std::memset(out, 0, pcm.size());
    std::int16_t samples[GSMCodec::block_samples] {};
    for (std::size_t b = 0; b < count; ++b) {
        m_codec.decode_block(blocks.bytes() + b * GSMCodec::block_bytes, samples);
        std::uint8_t* target = out + b * pcm_block;
        for (int i = 0; i < GSMCodec::block_samples; ++i)
            write_sample(target + 2 * i, samples[i]);
    }
    return PCMData(last_block_cut(pcm, pcm_block, 2, blocks.last_block_samples), 1, 16, 8000);
}

std::int32_t DecoderGSM::blocks_for_size(std::int32_t frames)
{
    if (frames <= 0)
        return 1;
    return static_cast<std::int32_t>((std::int64_t(frames) + 159) / 160);
}

}
