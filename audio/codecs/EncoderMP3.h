#pragma once

#include "audio/codecs/Encoder.h"
#include "audio/codecs/EncoderMP3Core.h"
#include "audio/MP3Data.h"
#include "audio/PCMData.h"
#include "audio/Provider.h"
#include "liba/Nocopy.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace audio {

// Turns pushed PCM of any chunk size (8- or 16-bit, mono or stereo) into MP3
// frames: collects one core frame of samples at a time, and starts a new core
// stream when the channels or the rate change. Only ever pushed through.
class EncoderMP3 : public Consumer<PCMData>, public Provider<MP3Data>, public Encoder, private liba::Nocopy {
public:
    // Bits per second; the core is made when the first usable chunk comes.
    explicit EncoderMP3(std::int32_t bitrate, EncoderMP3Core::Factory core_factory = {});
    // Encodes what is collected and flushes the core, so the end of a
    // recording reaches the writer.
    ~EncoderMP3() override;

    // Whether chunks of this format can be coded at all (the core may still
    // refuse its rate or the bitrate).
    static bool takes(const PCMData& format);

    void on_data(const PCMData& chunk) override;

    MP3Data get_data(std::int32_t) override { return {}; }

    int get_bitrate() override { return m_bitrate; }

private:
    static constexpr std::int32_t max_frame_samples = 1152;

    // Makes the core for the stream's format; false when it refuses.
    bool start_core();
    // Encodes the partial frame collected, then the core's last frames.
    void finish_stream();
    // Encodes the first samples of the collected frame.
    void encode_collected(std::int32_t samples);
    void push_output(std::int32_t count);

    std::int32_t frame_bytes() const { return m_frame_samples * m_channels * m_sample_bytes; }

    // Interleaved samples of one frame; 16-bit mono goes to the core in place.
    std::array<std::int16_t, max_frame_samples * 2> m_collected {};
    std::int32_t m_fill = 0; // bytes
    std::array<std::int16_t, max_frame_samples> m_left {};
    std::array<std::int16_t, max_frame_samples> m_right {};
    std::vector<std::uint8_t> m_output;
    EncoderMP3Core::Factory m_core_factory;
    std::unique_ptr<EncoderMP3Core> m_core;
    std::int32_t m_frame_samples = 0;
    std::int32_t m_bitrate;
    std::int32_t m_channels = 0;
    std::int32_t m_sample_rate = 0;
    std::int32_t m_sample_bytes = 0;
};

}
