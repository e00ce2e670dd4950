#include "audio/codecs/EncoderGSM.h"

#include "audio/Samples.h"

#include <cstring>

namespace audio {

bool EncoderGSM::takes(const PCMData& format)
{
    return format.channels == 1 && format.bits_per_sample == 16 && format.sample_rate == 8000;
}

PCMData EncoderGSM::make_block(const PCMData& format)
{
    if (!takes(format))
        return {};
    return PCMData(liba::SharedBuffer(GSMCodec::block_samples * 2), 1, 16, 8000);
}

GSMData EncoderGSM::encode(const PCMData& block)
{
    std::int16_t samples[GSMCodec::block_samples];
    const std::uint8_t* in = block.bytes();
    for (int i = 0; i < GSMCodec::block_samples; ++i)
        samples[i] = read_sample(in + 2 * i);
    liba::SharedBuffer bytes(GSMCodec::block_bytes);
    std::uint8_t* out = bytes.make_unique();
    std::memset(out, 0, GSMCodec::block_bytes);
    m_codec.encode_block(samples, out);
    GSMData coded;
    coded.buffer = std::move(bytes);
    coded.channels = 1;
    coded.bits_per_sample = 0;
    coded.sample_rate = 8000;
    return coded;
}

}
