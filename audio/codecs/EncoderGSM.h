#pragma once

#include "audio/codecs/BlockEncoderPCM.h"
#include "audio/codecs/Encoder.h"
#include "audio/codecs/GSMCodec.h"
#include "audio/GSMData.h"

namespace audio {

// Turns 8000 Hz 16-bit mono PCM into 65-byte GSM 6.10 blocks; any other
// format gives nothing.
class EncoderGSM : public BlockEncoderPCM<GSMData>, public Encoder {
public:
    // Whether chunks of this format can be coded at all.
    static bool takes(const PCMData& format);

    GSMData encode(const PCMData& block) override;
    PCMData make_block(const PCMData& format) override;
    int get_bitrate() override { return 13000; }

private:
    GSMCodec m_codec;
};

}
