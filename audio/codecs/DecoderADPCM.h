#pragma once

#include "audio/ADPCMData.h"
#include "audio/codecs/BlockDecoderPCM.h"
#include "audio/filters/OutputBuffer.h"

#include <vector>

namespace audio {

// Turns Microsoft ADPCM blocks into 16-bit PCM. Every block starts again from
// its own header, so no state is kept between blocks.
class DecoderADPCM : public BlockDecoderPCM<ADPCMData> {
public:
    PCMData decode(const ADPCMData& blocks) override;
    // As many blocks as the last ones' frames need to fill the request (at
    // most 32); one before the first block.
    std::int32_t blocks_for_size(std::int32_t frames) override;

    // Decodes one block of one or two channels into samples_per_block frames
    // of interleaved samples. A block naming an unknown predictor stays silent.
    static void decode_block(
        const std::uint8_t* block, std::int32_t channels, std::int32_t samples_per_block, std::int16_t* out);

private:
    OutputBuffer m_output;
    std::vector<std::int16_t> m_decoded;
    std::int32_t m_samples_per_block = 0;
};

}
