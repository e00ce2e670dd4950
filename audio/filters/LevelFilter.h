#pragma once

#include "audio/Consumer.h"
#include "audio/PCMData.h"
#include "audio/Provider.h"
#include "audio/filters/BlockGatherer.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace audio {

// Dynamics for playback (noise gate, limiter, booster): maps the signal's
// level through a 256-point transfer curve. The curve is read at each
// dominant waveform peak; the gain curve(peak) / peak holds around it and
// moves linearly to the next peak's, early when the level rises and late when
// it falls. Clipped runs of 16-bit input are rebuilt first. Gains are fixed
// point with 14 fraction bits; samples are handled on the 16-bit scale.
// With the identity curve audio passes untouched and without delay.
class LevelFilter : public Consumer<PCMData>, public Provider<PCMData>, private BlockGatherer::Routine {
public:
    static constexpr std::int32_t curve_size = 256;
    static constexpr std::int64_t unity_gain = 16384;

    LevelFilter();

    // Copies the curve, or sets the identity with none.
    void set_table(const std::int32_t* table);
    // amount -256..256 lifts (> 0) or lowers (< 0) low levels; noise 0..256
    // gates levels below it (in 1/256 of full scale); ceiling 0..256 bends
    // the top down. Out of range leaves the filter as it was (false).
    bool set_curve(std::int32_t amount, std::int32_t noise, std::int32_t ceiling);
    // Forgets the peaks and positions, as before a new curve.
    void reset();
    // Also drops the audio held: what comes next is another stream (a new file, a seek).
    void restart();
    // Seconds of audio held back now.
    double held_seconds();

    // The output magnitude for a sample, with 14 fraction bits.
    std::int64_t lookup(std::int32_t sample);

    // Shapes interleaved 8-bit or 16-bit PCM of 1-2 channels in place and
    // returns the bytes finished with; the rest must come back at the front
    // of the next call. With `final` set every whole frame is finished. 0 for
    // formats it does not handle.
    std::size_t process(std::uint8_t* data, std::size_t length, std::int32_t rate, std::int32_t channels,
        std::int32_t bits, bool final);

    // Rebuilds the clipped runs of one half-wave of 16-bit samples as humps
    // and scales the half-wave so they fit.
    static void declip(std::int32_t* samples, std::int32_t count);

    void on_data(const PCMData& data) override;
    PCMData get_data(std::int32_t frames) override;

private:
    struct Fallback {
        std::int32_t peak = 0;
        std::int32_t end = 0;
        std::int32_t dominance = 0;
    };

    // A half-wave the walk has measured: where it ends, its peak and how far
    // the peak dominates.
    struct HalfWave {
        std::int32_t start = 0;
        std::int32_t end = 0;
        std::int32_t peak = 0;
        std::int32_t dominance = 0;
    };

    HalfWave measure(const std::int32_t* x, std::int32_t t, std::int32_t frames, std::int32_t limit,
        std::int32_t radius, std::int32_t position) const;
    // Keeps this block's measured half-waves after the position for the next
    // block, whose frames start `done` frames later.
    void carry_measured(std::int32_t channel, std::int32_t done);

    std::int64_t gain_of(std::int32_t peak) const;
    std::int64_t lookup_unlocked(std::int32_t sample) const;
    void set_identity();
    void clear_state();
    Fallback walk(std::int32_t* x, std::int32_t frames, std::int32_t limit, std::int32_t radius, bool final,
        std::int32_t channel);
    // The largest magnitude of each stretch of frames from `first` on (the
    // search for a larger sample around a peak steps over the stretches that
    // hold none), again after the clip repair changed the samples.
    void refresh_stretch_peaks(const std::int32_t* x, std::int32_t first, std::int32_t frames);
    // How far the nearest sample larger than the peak lies, looking no further
    // than `within` and on the left not before `first`; `within` when none.
    std::int32_t nearest_larger(const std::int32_t* x, std::int32_t peak, std::int32_t first,
        std::int32_t frames, std::int32_t within) const;
    // The same on the left only, nearer than `within`.
    std::int32_t left_nearest(const std::int32_t* x, std::int32_t peak, std::int32_t first,
        std::int32_t magnitude, std::int32_t within) const;
    // The block routine over the gathered input, rewritten in place.
    std::size_t process_block(const PCMData& in, PCMData& out, bool final) override;

    // A new format starts from a fresh position.
    void format_changed() override { clear_state(); }

    bool m_identity = true;
    // Pulls 5000 frames at a time and waits for more than 32,000 pending bytes.
    BlockGatherer m_gatherer { *this, { 5000, 32000, false } };
    std::int32_t m_curve[curve_size] {};
    std::int32_t m_previous_peak[2] {};
    std::int32_t m_position[2] {};
    // Work space of the block routine, kept between blocks.
    std::vector<std::int32_t> m_samples;
    std::vector<std::int32_t> m_stretch_peaks;
    // Per channel: the half-waves after the position that the last block
    // measured in full (the next block walks them again with the same samples
    // around them), and those this block measures.
    std::vector<HalfWave> m_known[2];
    std::vector<HalfWave> m_measured[2];
};

}
