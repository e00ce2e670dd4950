#pragma once

#include "audio/ADPCMData.h"
#include "audio/codecs/ADPCMFormat.h"
#include "audio/codecs/BlockEncoderPCM.h"
#include "audio/codecs/Encoder.h"

namespace audio {

// Turns 16-bit PCM of one or two channels into Microsoft ADPCM blocks sized
// for the rate. Each block is coded with every predictor and the one with the
// smallest peak error is kept.
class EncoderADPCM : public BlockEncoderPCM<ADPCMData>, public Encoder {
public:
    ADPCMData encode(const PCMData& block) override;
    // Whether chunks of this format can be coded at all.
    static bool takes(const PCMData& format);

    PCMData make_block(const PCMData& format) override;
    int get_bitrate() override;

    // Codes samples_per_block interleaved frames with one predictor into out
    // (block_align bytes); returns the largest absolute sample error.
    static std::int32_t encode_block(const std::uint8_t* pcm, std::int32_t channels, std::int32_t samples_per_block,
        std::uint8_t predictor, std::uint8_t* out);

private:
    std::int32_t m_bitrate = 0;
    std::int32_t m_block_align = 0;
    std::int32_t m_samples_per_block = 0;
    // Trial and best coding; swapped rather than copied.
    std::uint8_t m_work[2][ADPCMFormat::max_block_align] {};
};

}
