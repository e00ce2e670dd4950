#include "audio/filters/StretchFilter.h"

#include "audio/filters/StretchSegments.h"
#include "os/Log.h"
#include "tests/audio/PipelineDoubles.h"
#include "tests/audio/Signals.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

using audio::PCMData;
using audio::StretchFilter;
using test::Format;
using test::Samples;

namespace {

// A stretch filter pulling from a script of chunks cut from the samples.
struct Stretch {
    test::ScriptedProvider<PCMData> source;
    StretchFilter filter;

    explicit Stretch(int factor) { filter.set_factor(factor); }

    ~Stretch() { audio::connect<PCMData>(&source, nullptr); }

    void feed(const Samples& samples, Format f, std::size_t chunk_frames)
    {
        std::size_t step = chunk_frames * f.channels;
        for (std::size_t at = 0; at < samples.size(); at += step)
            source.script.push_back(
                test::chunk_of(test::slice(samples, at, step), f.channels, f.bits, f.rate));
        audio::connect<PCMData>(&source, &filter);
    }

    // Pulls to the end; keeps the chunks.
    std::vector<PCMData> pull_all(std::int32_t frames)
    {
        std::vector<PCMData> out;
        for (PCMData chunk = filter.get_data(frames); !chunk.is_empty(); chunk = filter.get_data(frames))
            out.push_back(chunk);
        return out;
    }

    Samples pull_samples(std::int32_t frames)
    {
        Samples out;
        for (const auto& chunk : pull_all(frames)) {
            Samples part = test::samples_of(chunk);
            out.insert(out.end(), part.begin(), part.end());
        }
        return out;
    }
};

Samples stereo_tones(double rate, std::int32_t frames, double amplitude)
{
    return test::interleave(
        test::sine(440, rate, frames, amplitude), test::sine(660, rate, frames, amplitude));
}

}

TEST(StretchSegments, RepeatTheSegmentWithCrossFades)
{
    using Emit = void (*)(
        const std::uint8_t*, std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::uint8_t*);
    const Samples ramp { 10, 20, 30, 40, 50, 60, 70, 80 };
    const Samples curve { 0, -1, -2, -4, -7, -11, -16, -22 };

    struct Case {
        const char* what;
        Emit emit16, emit8;
        int factor;
        const Samples& in;
        int start, length;
        Samples expected;
    } cases[] = {
        // clang-format off
        { "double", audio::stretch_double_16, audio::stretch_double_8, 2, ramp, 2, 3, { 30, 40, 50, 60, 60, 50 } },
        { "double, nothing after the end", audio::stretch_double_16, audio::stretch_double_8, 2, ramp, 4, 3, { 50, 60, 70, 50, 60, 70 } },
        { "double, truncated toward zero", audio::stretch_double_16, audio::stretch_double_8, 2, curve, 1, 2, { -1, -2, -4, -4 } },
        { "triple", audio::stretch_triple_16, audio::stretch_triple_8, 3, ramp, 2, 3, { 30, 30, 30, 30, 40, 50, 60, 60, 50 } },
        { "triple, nothing before frame 0", audio::stretch_triple_16, audio::stretch_triple_8, 3, ramp, 1, 2, { 20, 20, 20, 30, 40, 40 } },
        // clang-format on
    };

    for (const auto& c : cases) {
        for (int bits : { 8, 16 }) {
            // Stereo, the fixture on the left: the right channel must stay untouched.
            Samples in = test::interleave(c.in, Samples(c.in.size(), 99));
            PCMData input = test::chunk_of(in, 2, bits, 8000);
            PCMData output = test::chunk_of(Samples(c.expected.size() * 2, 77), 2, bits, 8000);
            std::uint8_t* out = output.buffer.make_unique();
            (bits == 8 ? c.emit8 : c.emit16)(
                input.bytes(), std::int32_t(c.in.size()), 2, c.start, c.length, out);
            Samples result = test::samples_of(output);
            EXPECT_EQ(test::channel_of(result, 2, 0), c.expected) << c.what << ", " << bits << "-bit";
            EXPECT_EQ(test::channel_of(result, 2, 1), Samples(c.expected.size(), 77)) << c.what;
        }
    }
}

TEST(StretchFilter, FactorOneStillGathersMoreThanABlock)
{
    Stretch s(1);
    Samples in = stereo_tones(44100, 5000, 10000);
    s.feed(in, { 2, 16, 44100 }, 1000); // 4000 bytes a chunk
    PCMData first = s.filter.get_data(1000);
    EXPECT_EQ(s.source.requests.size(), 3u);
    EXPECT_EQ(first.get_frames(), 1000);
    s.filter.get_data(1000);
    s.filter.get_data(1000);
    EXPECT_EQ(s.source.requests.size(), 3u); // served from the gathered block
    Samples out = test::samples_of(first);
    Samples rest = s.pull_samples(1000);
    out.insert(out.end(), rest.begin(), rest.end());
    EXPECT_EQ(out.size(), in.size() - 2 * 1000 * 2);
}

TEST(StretchFilter, OutputIsFactorTimesTheInputInItsFormat)
{
    struct Case {
        int factor;
        Format f;
    } cases[] = {
        // clang-format off
        { 2, { 2, 16, 44100 } },
        { 3, { 2, 16, 44100 } },
        { 2, { 1, 16, 22050 } },
        { 3, { 1, 8, 8000 } },
        { 2, { 2, 8, 11025 } },
        // clang-format on
    };

    for (const auto& c : cases) {
        std::int32_t frames = c.f.rate * 13 / 10;
        double amplitude = c.f.bits == 8 ? 100 : 20000;
        Samples in = c.f.channels == 2 ? stereo_tones(c.f.rate, frames, amplitude)
                                       : test::sine(440, c.f.rate, frames, amplitude);
        Stretch s(c.factor);
        s.feed(in, c.f, 4410);
        std::size_t total = 0;
        for (const auto& chunk : s.pull_all(4410)) {
            EXPECT_EQ(chunk.channels, c.f.channels);
            EXPECT_EQ(chunk.bits_per_sample, c.f.bits);
            EXPECT_EQ(chunk.sample_rate, c.f.rate);
            total += std::size_t(chunk.get_frames());
        }
        EXPECT_EQ(total, std::size_t(frames) * c.factor) << c.factor << "x at " << c.f.rate;
    }
}

TEST(StretchFilter, KeepsThePitchAndTheWaveformWhole)
{
    for (int factor : { 2, 3 }) {
        for (double hertz : { 220.0, 440.0, 1000.0 }) {
            Samples in = test::sine(hertz, 44100, 88200, 16000);
            Stretch s(factor);
            s.feed(in, { 1, 16, 44100 }, 4410);
            Samples out = s.pull_samples(4410);
            EXPECT_NEAR(test::peak_frequency(test::slice(out, 8820, 65536), 44100), hertz, 2)
                << factor << "x";
            // Segments join where the wave goes on: no step larger than the
            // sine's own steepest one, give or take the fades. (The very
            // first segment has nothing before it to fade into.)
            double steepest = 16000 * 2 * std::numbers::pi * hertz / 44100;
            int jumps = 0;
            for (std::size_t i = 4410; i + 44100 * factor < out.size(); ++i)
                jumps += std::abs(out[i] - out[i - 1]) > 1.5 * steepest;
            EXPECT_EQ(jumps, 0) << factor << "x, " << hertz << " Hz";
        }
    }
}

TEST(StretchFilter, SilenceStaysSilenceTwiceAsLong)
{
    for (int bits : { 8, 16 }) {
        Stretch s(2);
        s.feed(Samples(30000, 0), { 1, bits, 22050 }, 2205);
        Samples out = s.pull_samples(2205);
        EXPECT_EQ(out, Samples(60000, 0)) << bits;
    }
}

TEST(StretchFilter, TheEndIsPaddedWithSilenceToFactorTimesItsLength)
{
    for (int bits : { 8, 16 }) {
        // Less than a block: all of it waits for the end of the data.
        Samples in = test::sine(440, 44100, 2000, bits == 8 ? 100 : 20000);
        Stretch s(3);
        s.feed(in, { 1, bits, 44100 }, 500);
        std::vector<PCMData> chunks = s.pull_all(1000);
        Samples out;
        for (const auto& chunk : chunks) {
            Samples part = test::samples_of(chunk);
            out.insert(out.end(), part.begin(), part.end());
        }
        ASSERT_EQ(out.size(), 6000u) << bits;
        EXPECT_GT(test::rms(test::slice(out, 0, 1000)), 0);
        // The last half-wave has no match to end a segment: silence instead.
        EXPECT_EQ(test::slice(out, 5900, 100), Samples(100, 0)) << bits;
    }
}

TEST(StretchFilter, ANewFormatFlushesTheOldBlockFirst)
{
    Stretch s(2);
    Samples mono = test::sine(440, 22050, 2000, 20000);
    Samples stereo = stereo_tones(44100, 3000, 20000);
    s.source.script.push_back(test::chunk_of(mono, 1, 16, 22050));
    s.source.script.push_back(test::chunk_of(stereo, 2, 16, 44100));
    audio::connect<PCMData>(&s.source, &s.filter);
    std::size_t mono_frames = 0, stereo_frames = 0;
    bool stereo_seen = false;
    for (const auto& chunk : s.pull_all(700)) {
        if (chunk.channels == 1) {
            EXPECT_FALSE(stereo_seen);
            EXPECT_EQ(chunk.sample_rate, 22050);
            mono_frames += chunk.get_frames();
        } else {
            stereo_seen = true;
            EXPECT_EQ(chunk.sample_rate, 44100);
            stereo_frames += chunk.get_frames();
        }
    }
    EXPECT_EQ(mono_frames, 4000u);
    EXPECT_EQ(stereo_frames, 6000u);
}

TEST(StretchFilter, FormatsItCannotStretchPassThroughWithoutWaitingForTheEnd)
{
    struct Case {
        Format f;
    } cases[] = {
        // clang-format off
        { { 2, 24, 44100 } },
        { { 3, 16, 44100 } },
        { { 1, 32, 48000 } },
        // clang-format on
    };

    for (const auto& c : cases) {
        Stretch s(2);
        std::string all;
        for (int i = 0; i < 10; ++i) {
            PCMData chunk = test::counting_pcm(6000, c.f.channels, c.f.bits, c.f.rate, std::uint8_t(i));
            all += test::bytes_of(chunk);
            s.source.script.push_back(chunk);
        }
        audio::connect<PCMData>(&s.source, &s.filter);
        std::string out = test::bytes_of(s.filter.get_data(100));
        EXPECT_EQ(s.source.requests.size(), 2u) << c.f.bits;
        for (const auto& chunk : s.pull_all(100))
            out += test::bytes_of(chunk);
        EXPECT_EQ(out, all) << c.f.bits;
    }
}

TEST(StretchFilter, ALongDCOffsetDoesNotHoldEverythingBack)
{
    // One half-wave that never ends: no peak to cut at.
    Stretch s(2);
    s.feed(Samples(24000, -1), { 1, 16, 8000 }, 800);
    EXPECT_FALSE(s.filter.get_data(800).is_empty());
    EXPECT_LT(s.source.requests.size(), 15u);
    std::size_t frames = 800;
    for (const auto& chunk : s.pull_all(800))
        frames += chunk.get_frames();
    EXPECT_EQ(frames, 48000u);
}

TEST(StretchFilter, IsNeverPushedTo)
{
    StretchFilter filter;
    EXPECT_EXIT(filter.on_data(test::counting_pcm(100)), testing::ExitedWithCode(os::fatal_exit_code),
        "Not implemented");
}

namespace {

// The whole output, pinned, so that buffer handling can change under it.
TEST(StretchFilterGolden, OutputIsPinned)
{
    struct Case {
        int factor;
        Format format;
        std::size_t chunk_frames;
        std::int32_t pull_frames;
        std::uint64_t hash;
    };

    const Case cases[] = {
        { 2, { 2, 16, 44100 }, 4410, 8820, 0x3e8cea64179aa908 },
        { 3, { 1, 16, 22050 }, 777, 1000, 0xb845d198ba3bc0fc },
        { 2, { 1, 8, 8000 }, 5000, 300, 0x48b40d3c76c59415 },
        { 1, { 2, 16, 44100 }, 1000, 4096, 0x8155b9f3fd278013 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.factor << " " << c.format.channels << "x" << c.format.bits);
        Stretch stretch(c.factor);
        stretch.feed(test::golden_input(c.format.rate * 2, c.format.rate, c.format.channels, c.format.bits),
            c.format, c.chunk_frames);
        Samples out = stretch.pull_samples(c.pull_frames);
        EXPECT_EQ(test::fnv1a(out), c.hash)
            << std::hex << test::fnv1a(out) << " over " << std::dec << out.size();
    }
}

}

// A seek or a new file: the gathered input, the output waiting and the carry
// of the old stream are dropped.
TEST(StretchFilter, ARestartDropsTheAudioHeldOfTheOldStream)
{
    Format f { 1, 16, 22050 };
    Stretch stretch(2);
    stretch.feed(test::sine(440, f.rate, f.rate, 30000), f, 4410);
    ASSERT_FALSE(stretch.filter.get_data(1000).is_empty());
    EXPECT_GT(stretch.filter.held_seconds(), 0.0);
    stretch.source.script.clear();
    stretch.filter.restart();
    EXPECT_EQ(stretch.filter.held_seconds(), 0.0);
    stretch.feed(Samples(f.rate, 0), f, 4410);
    Samples out = stretch.pull_samples(1000);
    EXPECT_EQ(out.size(), std::size_t(2 * f.rate));
    EXPECT_EQ(test::rms(out), 0);
}
