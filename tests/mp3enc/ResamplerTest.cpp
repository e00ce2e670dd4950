#include "mp3enc/Resampler.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <vector>

namespace {

// Feeds x in chunks of the given sizes (cycled), as the frame loop does: output at most max_out
// per call, input that a call left unconsumed offered again.
std::vector<int16_t> convert(
    mp3enc::Resampler& r, const std::vector<int16_t>& x, std::vector<int> chunks, int max_out)
{
    std::vector<int16_t> out;
    std::vector<int16_t> buffer(max_out);
    size_t at = 0;
    for (size_t c = 0; at < x.size(); ++c) {
        const int n = std::min<int>(chunks[c % chunks.size()], int(x.size() - at));
        int offset = 0;
        while (offset < n) {
            const auto result = r.convert(0, &x[at + offset], n - offset, buffer.data(), max_out);
            if (result.consumed == 0 && result.produced == 0)
                break;
            offset += result.consumed;
            out.insert(out.end(), buffer.begin(), buffer.begin() + result.produced);
        }
        at += n;
    }
    return out;
}

std::vector<int16_t> sine(int rate, double hz, double amplitude, int count)
{
    std::vector<int16_t> x(count);
    for (int n = 0; n < count; ++n)
        x[n] = int16_t(std::lround(amplitude * std::sin(2 * std::numbers::pi * hz * n / rate)));
    return x;
}

struct Fit {
    double amplitude = 0;
    double residual = 0; // rms of what the sine of that frequency does not explain
};

// Least-squares fit of a sine of frequency hz to y[from, to).
Fit fit_sine(const std::vector<int16_t>& y, int rate, double hz, int from, int to)
{
    double ss = 0, cc = 0, sc = 0, ys = 0, yc = 0;
    for (int n = from; n < to; ++n) {
        const double s = std::sin(2 * std::numbers::pi * hz * n / rate);
        const double c = std::cos(2 * std::numbers::pi * hz * n / rate);
        ss += s * s, cc += c * c, sc += s * c, ys += y[n] * s, yc += y[n] * c;
    }
    const double det = ss * cc - sc * sc;
    const double a = (ys * cc - yc * sc) / det;
    const double b = (yc * ss - ys * sc) / det;
    double err = 0;
    for (int n = from; n < to; ++n) {
        const double e = y[n] - a * std::sin(2 * std::numbers::pi * hz * n / rate)
            - b * std::cos(2 * std::numbers::pi * hz * n / rate);
        err += e * e;
    }
    return { std::hypot(a, b), std::sqrt(err / (to - from)) };
}

}

TEST(Mp3EncResampler, PhasesAndTaps)
{
    struct Case {
        int in, out, phases, taps;
        float ratio;
    } cases[] = {
        { 96000, 48000, 1, 32, 2.0f },
        { 44100, 22050, 1, 32, 2.0f },
        { 44100, 32000, 320, 31, 1.378125f },
        { 48000, 32000, 2, 31, 1.5f },
        { 32000, 8000, 1, 32, 4.0f },
        { 44101, 44100, 320, 32, 1.0000227f }, // phases capped
        { 7000, 8000, 8, 31, 0.875f },
    };

    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.in << " -> " << c.out);
        mp3enc::Resampler r;
        ASSERT_TRUE(r.init(c.in, c.out));
        EXPECT_EQ(r.phases(), c.phases);
        EXPECT_EQ(r.taps(), c.taps);
        EXPECT_FLOAT_EQ(r.ratio(), c.ratio);
        // Unity gain at DC for every phase.
        for (int j = 0; j <= 2 * r.phases(); ++j) {
            double sum = 0;
            for (int i = 0; i <= r.taps(); ++i)
                sum += r.coefficient(j, i);
            ASSERT_NEAR(sum, 1.0, 1e-5) << "filter " << j;
        }
    }
}

TEST(Mp3EncResampler, KeepsDcFrequencyAndLevel)
{
    struct Case {
        int in, out;
        double hz;
    } cases[] = {
        { 44100, 22050, 1000 },
        { 96000, 48000, 5000 },
        { 44100, 32000, 3000 },
        { 48000, 32000, 440 },
        { 7000, 8000, 2000 },
        // Nearly but not quite a whole ratio: the even-tap filters see every fractional position.
        { 96001, 48000, 3000 },
    };

    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.in << " -> " << c.out);
        {
            mp3enc::Resampler r;
            ASSERT_TRUE(r.init(c.in, c.out));
            const auto y = convert(r, std::vector<int16_t>(c.in / 10, 10000), { 1152 }, 1152);
            ASSERT_GT(y.size(), 100u);
            // The first outputs still see the silent history.
            for (size_t n = 40; n < y.size(); ++n)
                ASSERT_NEAR(y[n], 10000, 1) << n;
        }
        mp3enc::Resampler r;
        ASSERT_TRUE(r.init(c.in, c.out));
        const auto y = convert(r, sine(c.in, c.hz, 16000, c.in / 5), { 1152 }, 1152);
        const int expected = c.out / 5;
        EXPECT_NEAR(int(y.size()), expected, 40);
        // The output's time axis starts half a filter late; the fit absorbs that as a phase.
        const Fit fit = fit_sine(y, c.out, c.hz, 100, int(y.size()) - 10);
        EXPECT_NEAR(fit.amplitude, 16000, 160);
        EXPECT_LT(fit.residual, 40);
    }
}

TEST(Mp3EncResampler, ChunkedInputEqualsOneCall)
{
    struct Case {
        int in, out;
    } cases[] = { { 44100, 22050 }, { 44100, 32000 }, { 96000, 48000 }, { 7000, 8000 }, { 96001, 48000 } };

    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.in << " -> " << c.out);
        std::vector<int16_t> x = sine(c.in, 1234.5, 20000, 20000);
        for (size_t n = 0; n < x.size(); n += 7)
            x[n] = int16_t(x[n] / 2 + int(n % 1000));
        mp3enc::Resampler whole, chunked, bounded;
        ASSERT_TRUE(whole.init(c.in, c.out));
        ASSERT_TRUE(chunked.init(c.in, c.out));
        ASSERT_TRUE(bounded.init(c.in, c.out));
        const auto a = convert(whole, x, { 1152 }, 4096);
        const auto b = convert(chunked, x, { 1, 17, 1152, 300, 5, 64 }, 4096);
        // Output bounded below what the input allows: the rest of the input is offered again.
        const auto d = convert(bounded, x, { 1152 }, 97);
        ASSERT_EQ(a.size(), b.size());
        ASSERT_EQ(a.size(), d.size());
        EXPECT_EQ(a, b);
        EXPECT_EQ(a, d);
    }
}

TEST(Mp3EncResampler, ClipsRatherThanWraps)
{
    // A full-scale square wave rings past full scale next to its edges.
    const int period = 200;
    std::vector<int16_t> x(44100 / 5);
    for (size_t n = 0; n < x.size(); ++n)
        x[n] = (n / (period / 2)) % 2 ? -32768 : 32767;
    mp3enc::Resampler r;
    ASSERT_TRUE(r.init(44100, 22050));
    const auto y = convert(r, x, { 1152 }, 1152);
    int at_top = 0, at_bottom = 0;
    for (size_t m = 40; m < y.size(); ++m) {
        // Output m stands near input 2m; inside a half period the output keeps its sign.
        const size_t n = 2 * m;
        const size_t phase = n % (period / 2);
        if (phase < 25 || phase > period / 2 - 25)
            continue;
        if (x[n] > 0)
            ASSERT_GT(y[m], 30000) << m;
        else
            ASSERT_LT(y[m], -30000) << m;
        at_top += y[m] == 32767;
        at_bottom += y[m] == -32768;
    }
    EXPECT_GT(at_top + at_bottom, 0);
}
