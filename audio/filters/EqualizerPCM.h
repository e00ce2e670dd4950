#pragma once

#include "audio/PCMData.h"
#include "audio/Processor.h"
#include "audio/filters/OutputBuffer.h"

#include <cstdint>

namespace audio {

// One playback equalizer band: a peaking filter in integer fixed point
// followed by a half-wave limiter that keeps boosted audio inside full scale.
// Takes 8-bit unsigned or 16-bit signed PCM of one or two channels; anything
// else, and every chunk while the gain is 0 dB, passes through untouched.
// An active band delays the audio by a tenth of a second, the room the limiter
// needs to see a whole half-wave before it leaves; pulled, it plays that
// tenth out when upstream runs dry.
class EqualizerPCM : public Processor<PCMData, PCMData> {
public:
    EqualizerPCM();

    // Forgets the coefficients, the filter history and the delayed audio.
    void reset();
    // Forgets the delayed audio and the filter history, keeping the settings:
    // what comes next is another stream (a new file, a seek).
    void restart();
    // Seconds of input audio held back now.
    double held_seconds();

    // Each takes effect with the next chunk; the filter history is kept.
    void set_frequency(double hertz);
    void set_bandwidth(double octaves);
    void set_gain(double decibels);

    // Computes the coefficients for the current settings and design rate;
    // leaves the band off when the centre lies too close to half the rate.
    void design();

    // Runs under the processor's lock, as on_data and get_data call it.
    PCMData process(const PCMData& input) override;

    // An empty chunk from upstream is the end of the stream: the delayed
    // audio comes out first, at most `frames` frames a pull.
    PCMData get_data(std::int32_t frames) override;

private:
    static constexpr int fraction_bits = 28;

    void filter(std::int32_t* samples, std::size_t count);
    // Without `final` a half-wave still running at the end waits for more.
    void limit(std::int32_t channel, std::int32_t frames, bool final = false);
    void prepare_window(std::int32_t channels, std::int32_t rate, std::int32_t frames);
    // The first `frames` frames of the window out, in `bits`; the rest moves to the front.
    PCMData emit(std::int32_t frames, std::int32_t bits);
    void clear_history();

    double m_frequency = 0;
    double m_bandwidth = 1.0;
    double m_gain = 0;
    std::int32_t m_design_rate = 0;
    bool m_designed = false;

    std::int64_t m_a1 = 0, m_a2 = 0;
    std::int64_t m_b0 = 0, m_b1 = 0, m_b2 = 0;

    // Per channel: previous outputs, then previous inputs.
    std::int32_t m_y1[2] {}, m_y2[2] {};
    std::int32_t m_x1[2] {}, m_x2[2] {};

    // Working samples (full scale 2^27): the delayed tail of the last chunk,
    // then the chunk being processed. Its buffer is kept while chunks fit.
    PCMData m_window;
    OutputBuffer m_output;
    // Per channel, the first window frame the limiter has not finished.
    std::int32_t m_limit_position[2] {};
    // The window's first frames hold delayed audio (else they are due to be
    // zeroed), and how many of them are left to play out at the end.
    bool m_delaying = false;
    std::int32_t m_tail = 0;
    std::int32_t m_bits = 0;
};

}
