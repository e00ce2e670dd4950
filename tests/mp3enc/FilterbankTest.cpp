#include "mp3enc/Filterbank.h"

#include "Reference.h"
#include "mp3enc/Encoder.h"
#include "mp3enc/State.h"

#include <cmath>
#include <gtest/gtest.h>
#include <memory>
#include <numbers>
#include <random>
#include <vector>

namespace {

constexpr int frame = 1152;

// Noise, or noise with two sines, at 16 bits; the lead covers the filterbank's look-back.
std::vector<int16_t> test_signal(int frames, bool sines, uint32_t seed)
{
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> noise(-12000, 12000);
    std::vector<int16_t> x(frame * (frames + 2));
    for (size_t n = 0; n < x.size(); ++n) {
        double v = noise(random);
        if (sines)
            v = 0.3 * v + 14000 * std::sin(n * 0.0713) + 6000 * std::sin(n * 1.9);
        x[n] = int16_t(v);
    }
    return x;
}

std::unique_ptr<mp3enc::State> mpeg1_mono()
{
    auto state = std::make_unique<mp3enc::State>();
    state->out_channels = 1;
    state->granules = 2;
    mp3enc::design_lowpass(*state);
    return state;
}

// Runs the filterbank frame by frame over x; calls back with each granule's subband rows and lines.
template<typename Granule>
void analyse(mp3enc::State& state, const std::vector<int16_t>& x, int frames, Granule&& on_granule)
{
    for (int f = 0; f < frames; ++f) {
        const int16_t* const input[2] = { x.data() + frame * f, x.data() + frame * f };
        mp3enc::analyse_frame(state, input);
        for (int gr = 0; gr < 2; ++gr)
            on_granule(f * 2 + gr, state.subband[0][gr], state.spectrum[gr][0]);
    }
}

double full_scale(int64_t q32)
{
    return double(q32) / 4294967296.0;
}

}

TEST(Mp3EncFilterbank, MatchesTheDoublePrecisionReference)
{
    for (const bool sines : { false, true }) {
        SCOPED_TRACE(sines ? "sines" : "noise");
        const auto x = test_signal(4, sines, 7);
        std::vector<double> xd(x.begin(), x.end());
        for (auto& v : xd)
            v /= 32768;
        auto state = mpeg1_mono();
        std::vector<std::array<reference::Slot, 18>> rows;
        double subband_error = 0, line_error = 0, largest_line = 0;
        analyse(*state, x, 4, [&](int granule, const int64_t(*subband)[32], const int64_t* lines) {
            std::array<reference::Slot, 18> ref {};
            for (int slot = 0; slot < 18; ++slot) {
                const int start = mp3enc::filterbank_offset + 576 * granule + 32 * slot;
                ref[slot] = reference::analyse_slot(&xd[start]);
                for (int sb = 0; sb < 32; ++sb) {
                    if ((slot & 1) && (sb & 1))
                        ref[slot][sb] = -ref[slot][sb];
                    subband_error
                        = std::max(subband_error, std::abs(full_scale(subband[slot][sb]) - ref[slot][sb]));
                }
            }
            if (!rows.empty()) {
                double expected[576];
                for (int band = 0; band < 32; ++band) {
                    double previous[18], current[18];
                    for (int k = 0; k < 18; ++k) {
                        previous[k] = rows.back()[k][band];
                        current[k] = ref[k][band];
                    }
                    reference::mdct(previous, current, expected + 18 * band);
                }
                reference::reduce_aliasing(expected);
                for (int i = 0; i < 576; ++i) {
                    line_error = std::max(line_error, std::abs(full_scale(lines[i]) - expected[i]));
                    largest_line = std::max(largest_line, std::abs(expected[i]));
                }
            }
            rows.push_back(ref);
        });
        EXPECT_LT(subband_error, 1e-8);
        EXPECT_LT(line_error, 1e-7) << line_error;
        EXPECT_GT(largest_line, 0.01);
    }
}

// Through a decoder's inverse transform and a real decoder's synthesis filterbank the input comes
// back at its own level: the window, the matrix, the transform's scale and the butterflies all
// agree with what decoders do.
TEST(Mp3EncFilterbank, DecoderReconstructsTheInput)
{
    constexpr int frames = 6;
    const auto x = test_signal(frames, true, 11);
    auto state = mpeg1_mono();
    reference::InverseTransform inverse;
    std::vector<reference::Slot> slots;
    analyse(*state, x, frames, [&](int, const int64_t(*)[32], const int64_t* lines) {
        double real[576];
        for (int i = 0; i < 576; ++i)
            real[i] = full_scale(lines[i]);
        for (auto slot : inverse.granule(real)) {
            if (slots.size() & 1) {
                for (int sb = 1; sb < 32; sb += 2)
                    slot[sb] = -slot[sb];
            }
            slots.push_back(slot);
        }
    });
    const auto out = reference::Synthesis().run(slots);
    std::vector<double> in(x.begin(), x.end());
    for (auto& v : in)
        v /= 32768;

    // Output sample n stands for input n - delay; the delay is the filterbank's and one granule's.
    int best_delay = -1;
    double best = 1e9;
    for (int delay = -1200; delay <= 1200; ++delay) {
        const int from = std::max(1500, -delay);
        const double e = reference::max_error(in, out, delay, from, from + 64);
        if (e < best) {
            best = e;
            best_delay = delay;
        }
    }
    const int from = 1500;
    const int to = frame * frames - 1200;
    EXPECT_LT(reference::max_error(in, out, best_delay, from, to), 2e-4) << "delay " << best_delay;
}

TEST(Mp3EncFilterbank, SilenceGivesExactZeros)
{
    const std::vector<int16_t> x(frame * 4, 0);
    auto state = mpeg1_mono();
    int granules = 0;
    analyse(*state, x, 2, [&](int, const int64_t(*subband)[32], const int64_t* lines) {
        ++granules;
        for (int slot = 0; slot < 18; ++slot) {
            for (int sb = 0; sb < 32; ++sb)
                ASSERT_EQ(subband[slot][sb], 0);
        }
        for (int i = 0; i < 576; ++i)
            ASSERT_EQ(lines[i], 0) << i;
    });
    EXPECT_EQ(granules, 4);
}

TEST(Mp3EncFilterbank, LowpassCutsWholeSubbands)
{
    struct Case {
        int rate, kbps, band;
    } cases[] = { { 44100, 64, 20 }, { 8000, 16, 31 } };

    for (const auto& c : cases) {
        SCOPED_TRACE(c.rate);
        mp3enc::Params* p = mp3enc::create(c.rate, 1, c.kbps);
        ASSERT_NE(p, nullptr);
        mp3enc::State& state = *p->state;
        ASSERT_EQ(state.lowpass_band, c.band);
        const auto x = test_signal(3, false, 3);
        for (int f = 0; f < 3; ++f) {
            const int16_t* const input[2] = { x.data() + p->frame_size * f, nullptr };
            mp3enc::analyse_frame(state, input);
            for (int gr = 0; gr < state.granules; ++gr) {
                const int64_t* lines = state.spectrum[gr][0];
                int64_t kept = 0;
                for (int i = 0; i < 18 * c.band; ++i)
                    kept |= lines[i];
                EXPECT_NE(kept, 0);
                for (int i = 18 * c.band; i < 576; ++i)
                    ASSERT_EQ(lines[i], 0) << i;
            }
        }
        mp3enc::destroy(p);
    }
}

// A full-scale input that drives the window's signs and the transform as hard as possible must not
// overflow the 64-bit arithmetic (the sanitizer build traps signed overflow).
TEST(Mp3EncFilterbank, WorstCaseInputStaysInRange)
{
    const auto& d = reference::synthesis_window();
    std::vector<int16_t> x(frame * 4);
    for (size_t n = 0; n < x.size(); ++n) {
        const double w = d[511 - (n % 512)];
        x[n] = w >= 0 ? 32767 : -32768;
    }
    auto state = mpeg1_mono();
    analyse(*state, x, 2, [&](int, const int64_t(*)[32], const int64_t* lines) {
        for (int i = 0; i < 576; ++i)
            ASSERT_LT(std::abs(full_scale(lines[i])), 16.0);
    });
}
