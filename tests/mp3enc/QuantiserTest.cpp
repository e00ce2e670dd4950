#include "mp3enc/Quantiser.h"

#include "mp3enc/BitCount.h"
#include "mp3enc/Encoder.h"
#include "mp3enc/FrameWriter.h"
#include "mp3enc/Setup.h"
#include "mp3enc/State.h"
#include "tests/mp3enc/EncoderHandle.h"

#include <cmath>
#include <gtest/gtest.h>
#include <memory>

using namespace mp3enc;

namespace {

constexpr double q32 = 4294967296.0;

std::unique_ptr<State> state_for(int32_t out_rate)
{
    auto state = std::make_unique<State>();
    std::copy_n(long_band_bounds(out_rate), 23, state->sfb_long);
    build_region_table(*state);
    return state;
}

}

TEST(Mp3Quantiser, PowerLaw)
{
    // The ends of the first and last chords as held: below 4, a = 2,556,326 and b = 1,637,977;
    // from 2^30, a = 14,121 and b = 2,262 x 2^32 + 680,044,965.
    EXPECT_EQ(power_law(0), 1637977u >> 14); // 99, not 0
    EXPECT_EQ(power_law(3), (2556326u * 3 + 1637977u) >> 14);
    const uint64_t top_b = 2262 * (uint64_t(1) << 32) + 680044965;
    for (uint64_t x : { uint64_t(1) << 30, (uint64_t(3) << 30) + 12345, (uint64_t(1) << 32) - 1 })
        EXPECT_EQ(power_law(x), (14121 * x + top_b) >> 14) << x;
    // Saturates at 2^32 from 2^32 up.
    for (uint64_t x : { uint64_t(1) << 32, uint64_t(1) << 40, ~uint64_t(0) })
        EXPECT_EQ(power_law(x), uint64_t(1) << 32);

    // Between the chords' ends the value stays within the chord's error of x^(3/4), and rises.
    uint64_t last = 0;
    for (double e = 4; e < 32; e += 0.37) {
        const uint64_t x = uint64_t(std::exp2(e));
        const double exact = q32 * std::pow(double(x) / q32, 0.75);
        EXPECT_NEAR(double(power_law(x)) / exact, 0.978, 0.023) << e; // the chord runs below the curve
        EXPECT_GE(power_law(x), last);
        last = power_law(x);
    }
}

TEST(Mp3Quantiser, StepTable)
{
    const int64_t* steps = step_table();
    EXPECT_EQ(steps[210], -16384);
    EXPECT_EQ(steps[209], int64_t(std::exp2(14.1875)));
    EXPECT_EQ(steps[0], int64_t(std::exp2(14 + 0.1875 * 210)));
    EXPECT_EQ(steps[329], -int64_t(std::exp2(14 + 0.1875 * 119)));
}

TEST(Mp3Quantiser, QuantisedValuesFollowTheFloorFormula)
{
    // floor(xrpow x 2^(-0.1875 (g - 210)) + 0.4054), on both sides of gain 210 (multiplier and
    // divisor); values within a hair of a rounding edge are left out.
    auto state = state_for(44100);
    auto powered = std::make_unique<PoweredLines>();
    int64_t spectrum[granule_lines] = {};
    for (int32_t i = 0; i < 200; ++i)
        spectrum[i] = int64_t(std::exp2(12 + i * 0.1)) * (i % 3 == 0 ? -1 : 1);
    raise_lines(spectrum, *powered);
    GranuleInfo granule;
    int32_t checked = 0;
    for (int32_t gain : { 150, 180, 200, 209, 210, 211, 213 }) {
        if (quantise_granule(*state, *powered, gain, granule) >= too_many_bits)
            continue;
        for (int32_t i = 0; i < 200; ++i) {
            const double real = double(powered->xrpow[i]) / q32 * std::exp2(-0.1875 * (gain - 210)) + 0.4054;
            if (std::abs(real - std::round(real)) < 1e-3)
                continue;
            const double expected = real < 1 ? 0 : std::floor(real);
            EXPECT_EQ(granule.lines[i], expected) << "gain " << gain << " line " << i;
            ++checked;
        }
    }
    EXPECT_GT(checked, 1000);

    // From gain 210 up the line is divided: a full-scale line still gives 1 at 210 and 212.
    spectrum[0] = int64_t(q32);
    raise_lines(spectrum, *powered);
    quantise_granule(*state, *powered, 210, granule);
    EXPECT_EQ(granule.lines[0], 1);
    quantise_granule(*state, *powered, 212, granule);
    EXPECT_EQ(granule.lines[0], 1);
    // A line above 8206 cannot be coded.
    EXPECT_EQ(quantise_granule(*state, *powered, 0, granule), too_many_bits);
}

TEST(Mp3Quantiser, GainSearchFitsTheTarget)
{
    auto state = state_for(44100);
    auto powered = std::make_unique<PoweredLines>();
    int64_t spectrum[granule_lines] = {};
    for (int32_t i = 0; i < 400; ++i)
        spectrum[i] = int64_t(q32 * 0.05 * std::sin(i * 0.7) * std::exp(-i / 150.0));
    raise_lines(spectrum, *powered);
    for (int32_t desired : { 100, 700, 1500, 3000 }) {
        GranuleInfo granule;
        int32_t start = 180, step = 4;
        search_gain(*state, *powered, desired, start, step, granule);
        EXPECT_LE(granule.part2_3_length, desired);
        EXPECT_GT(granule.part2_3_length, desired / 2) << desired;
        EXPECT_EQ(start <= granule.global_gain, true);
        // The lines are kept signed, and their count matches the bits claimed.
        for (int32_t i = 0; i < granule_lines; ++i)
            EXPECT_TRUE(granule.lines[i] == 0 || (granule.lines[i] < 0) == (spectrum[i] < 0)) << i;
        GranuleInfo copy = granule;
        EXPECT_EQ(count_bits(*state, copy), granule.part2_3_length);
    }
}

TEST(Mp3Quantiser, SilentGranule)
{
    EncoderHandle e(44100, 2, 128);
    State& s = e.state();
    build_step_table();
    build_region_table(s);
    s.mode_extension = 2;
    FrameBudget budget { 8 * 417, (8 * 417 - 8 * 36) / 2 };
    quantise_frame(*e.params, budget);
    for (auto& granule : s.side.granule) {
        for (auto& g : granule) {
            EXPECT_EQ(g.global_gain, 210);
            EXPECT_EQ(g.part2_3_length, 0);
            EXPECT_EQ(g.big_values, 0);
            EXPECT_EQ(g.count1, 0);
        }
    }
    // MPEG-1 frames reuse the first granule's (zero) scalefactors in the second.
    for (auto& flags : s.side.scfsi)
        for (int32_t f : flags)
            EXPECT_EQ(f, 1);
}

TEST(Mp3Quantiser, NoReservoirAt320)
{
    EncoderHandle e(48000, 2, 320);
    State& s = e.state();
    build_step_table();
    build_region_table(s);
    const int32_t frame_bits = 8 * 960;
    for (int32_t frame = 0; frame < 6; ++frame) {
        for (auto& granule : s.spectrum)
            for (auto& channel : granule)
                for (int32_t i = 0; i < granule_lines; ++i)
                    channel[i] = int64_t(q32 * 0.001 * ((i * 7919 + frame * 31) % 200 - 100));
        s.mode_extension = 2;
        quantise_frame(*e.params, { frame_bits, (frame_bits - 8 * 36) / 2 });
        EXPECT_EQ(s.reservoir_max, 0);
        write_frame(*e.params, { frame_bits, (frame_bits - 8 * 36) / 2 });
        EXPECT_EQ(s.reservoir_size, 0);
        EXPECT_EQ(s.side.main_data_begin, 0);
        uint8_t out[writer_buffer_bytes];
        copy_output(*e.params, out, sizeof out);
    }
}
