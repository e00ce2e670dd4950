#pragma once

#include "audio/codecs/BlockDecoderPCM.h"
#include "audio/MP3Data.h"
#include "audio/filters/OutputBuffer.h"

namespace audio {

struct MadState;

// MPEG audio frames to 16-bit PCM through libmad, one frame per pull. Frames
// that do not decode, and frames at a rate the output cannot take, give
// nothing and are skipped.
class DecoderMP3 : public BlockDecoderPCM<MP3Data> {
public:
    DecoderMP3();
    ~DecoderMP3() override;

    PCMData decode(const MP3Data& block) override;

    std::int32_t blocks_for_size(std::int32_t) override { return 1; }

private:
    MadState* m_state = nullptr;
    OutputBuffer m_output;
};

}
