#pragma once

#include "audio/codecs/BlockDecoderPCM.h"
#include "audio/codecs/GSMCodec.h"
#include "audio/GSMData.h"
#include "audio/filters/OutputBuffer.h"

namespace audio {

// Turns 65-byte GSM 6.10 blocks into 8000 Hz 16-bit mono PCM. A new file
// needs a new decoder: libgsm carries state from block to block.
class DecoderGSM : public BlockDecoderPCM<GSMData> {
public:
    PCMData decode(const GSMData& blocks) override;
    // Blocks to pull for a request: one per 160 frames asked.
    std::int32_t blocks_for_size(std::int32_t frames) override;

private:
    GSMCodec m_codec;
    OutputBuffer m_output;
};

}
