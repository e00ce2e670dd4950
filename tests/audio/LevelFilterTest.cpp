#include "audio/filters/LevelFilter.h"

#include "audio/SampleFormat.h"
#include "tests/audio/PipelineDoubles.h"
#include "tests/audio/Signals.h"

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>

using audio::LevelFilter;
using audio::PCMData;
using test::Format;
using test::Samples;

namespace {

// The curve entry that lookup reads for full scale.
std::int64_t top_entry(LevelFilter& filter)
{
    return filter.lookup(-32768) >> 21;
}

TEST(LevelFilterCurve, MatchesTheWorkedExamples)
{
    struct Case {
        std::int32_t amount, noise, ceiling;
        std::int64_t top;
    };

    const Case cases[] = {
        { 0, 0, 8, 249 },
        { 0, 0, 32, 225 },
        { 0, 0, 128, 129 },
        { 0, 0, 0, 256 },
        { 128, 0, 0, 256 },
        { -128, 0, 0, 256 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.amount << " " << c.noise << " " << c.ceiling);
        LevelFilter filter;
        EXPECT_TRUE(filter.set_curve(c.amount, c.noise, c.ceiling));
        EXPECT_EQ(top_entry(filter), c.top);
    }
}

TEST(LevelFilterCurve, ShapesLowLevelsAndRefusesBadArguments)
{
    LevelFilter filter;
    // Identity: every input maps to itself, full scale just short of 2^29.
    for (std::int32_t x : { 0, 1, -1, 127, 128, 1000, -20000, 32767 })
        EXPECT_EQ(filter.lookup(x), std::int64_t { std::abs(x) } << 14) << x;

    // The limiter leaves levels below 64/256 alone and bends the rest.
    filter.set_curve(0, 0, 128);
    EXPECT_EQ(filter.lookup(8000), std::int64_t { 8000 } << 14);
    EXPECT_LT(filter.lookup(20000), std::int64_t { 20000 } << 14);

    // The noise gate silences below 128/256 and rejoins the curve at entry 182.
    filter.set_curve(0, 128, 0);
    EXPECT_EQ(filter.lookup(16383), 0);
    EXPECT_EQ(filter.lookup(-16000), 0);
    EXPECT_GT(filter.lookup(17000), 0);
    EXPECT_EQ(filter.lookup(183 * 128), std::int64_t { 183 * 128 } << 14);

    filter.set_curve(64, 0, 0);
    EXPECT_GT(filter.lookup(1000), std::int64_t { 1000 } << 14);
    filter.set_curve(-64, 0, 0);
    EXPECT_LT(filter.lookup(1000), std::int64_t { 1000 } << 14);
    std::int64_t lowered = filter.lookup(1000);

    for (auto [a, n, c] :
        { std::tuple { 257, 0, 0 }, { -257, 0, 0 }, { 0, -1, 0 }, { 0, 257, 0 }, { 0, 0, 257 } })
        EXPECT_FALSE(filter.set_curve(a, n, c));
    EXPECT_EQ(filter.lookup(1000), lowered);
}

TEST(LevelFilterDeclip, RebuildsRunsOfThreeOrMore)
{
    // Two clipped samples: left alone.
    Samples two = { 3000, 20000, 32767, 32767, 20000, 3000 };
    Samples copy = two;
    LevelFilter::declip(copy.data(), std::int32_t(copy.size()));
    EXPECT_EQ(copy, two);

    // Three: a hump above the clip level, then the half-wave scaled to fit.
    Samples three = { 3000, 20000, 32767, 32767, 32767, 20000, 3000 };
    LevelFilter::declip(three.data(), std::int32_t(three.size()));
    EXPECT_LT(three[1], 20000);
    EXPECT_NEAR(three[0], 3000.0 * three[1] / 20000, 1);
    EXPECT_GT(three[3], three[2]);
    EXPECT_GT(three[2], three[1]);
    EXPECT_EQ(three[2], three[4]);
    EXPECT_LE(*std::max_element(three.begin(), three.end()), 32767);
    EXPECT_GT(three[3], 30000);

    // The negative side is rebuilt the same way, downward.
    Samples low = { -3000, -20000, -32768, -32768, -32768, -20000, -3000 };
    LevelFilter::declip(low.data(), std::int32_t(low.size()));
    EXPECT_LT(low[3], low[2]);
    EXPECT_GT(low[1], -20000);
    EXPECT_GE(*std::min_element(low.begin(), low.end()), -32768);

    // A run filling the whole half-wave, as in a full-scale square wave, has
    // nothing to rebuild from: it stays as it is.
    Samples square(40, 32767);
    LevelFilter::declip(square.data(), std::int32_t(square.size()));
    EXPECT_EQ(square, Samples(40, 32767));
}

// A filter between a scripted source and a collector, used either way.
struct Chain {
    test::ScriptedProvider<PCMData> source;
    LevelFilter filter;
    test::Collector<PCMData> sink;

    Chain()
    {
        audio::connect<PCMData>(&source, &filter);
        audio::connect<PCMData>(&filter, &sink);
    }

    ~Chain()
    {
        audio::connect<PCMData>(&source, nullptr);
        audio::connect<PCMData>(&filter, nullptr);
    }

    void script(const Samples& samples, Format f, std::size_t chunk_frames = 4410)
    {
        for (std::size_t at = 0; at < samples.size(); at += chunk_frames * f.channels)
            source.script.push_back(test::chunk_of(
                test::slice(samples, at, chunk_frames * f.channels), f.channels, f.bits, f.rate));
    }

    std::vector<PCMData> pull_all()
    {
        std::vector<PCMData> out;
        for (PCMData chunk = filter.get_data(8820); !chunk.is_empty(); chunk = filter.get_data(8820))
            out.push_back(chunk);
        return out;
    }

    void push_all()
    {
        while (!source.script.empty()) {
            filter.on_data(source.script.front());
            source.script.pop_front();
        }
    }
};

Samples joined_samples(const std::vector<PCMData>& chunks)
{
    Samples out;
    for (const PCMData& chunk : chunks) {
        Samples s = test::samples_of(chunk);
        out.insert(out.end(), s.begin(), s.end());
    }
    return out;
}

std::int32_t peak_of(const Samples& samples)
{
    std::int32_t peak = 0;
    for (auto s : samples)
        peak = std::max(peak, std::abs(s));
    return peak;
}

// 200 Hz at 8 kHz: every peak falls on a frame, all equal, so each is dominant.
Samples burst(std::int32_t frames, double amplitude)
{
    return test::sine(200, 8000, frames, amplitude);
}

TEST(LevelFilter, IdentityPassesChunksUntouchedAndAtOnce)
{
    Chain chain;
    PCMData chunk = test::chunk_of(burst(800, 30000), 1, 16, 8000);
    chain.filter.on_data(chunk);
    ASSERT_EQ(chain.sink.received.size(), 1u);
    EXPECT_EQ(chain.sink.received[0].bytes(), chunk.bytes());

    chain.source.script.push_back(chunk);
    EXPECT_EQ(chain.filter.get_data(8820).bytes(), chunk.bytes());
}

TEST(LevelFilter, ToneBurstPeaksFollowTheCurve)
{
    struct Case {
        std::int32_t amount, noise, ceiling;
        int bits;
        double amplitude;
    };

    const Case cases[] = {
        { 0, 0, 128, 16, 32000 },
        { 0, 0, 32, 16, 30000 },
        { 128, 0, 0, 16, 4000 },
        { 0, 0, 128, 8, 127 },
        { 0, 128, 0, 16, 24000 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.amount << " " << c.noise << " " << c.ceiling << " " << c.bits);
        Chain chain;
        chain.filter.set_curve(c.amount, c.noise, c.ceiling);
        Samples in = burst(16000, c.amplitude);
        chain.script(in, { 1, c.bits, 8000 });
        Samples out = joined_samples(chain.pull_all());
        ASSERT_EQ(out.size(), in.size());

        std::int32_t peak16 = c.bits == 8 ? std::int32_t(c.amplitude) * 256 : std::int32_t(c.amplitude);
        std::int64_t gain = chain.filter.lookup(peak16) / peak16;
        std::int64_t expected = peak16 * gain / 16384;
        if (c.bits == 8)
            expected >>= 8;
        // Away from the start, where the gain ramps up from nothing.
        EXPECT_NEAR(peak_of(test::slice(out, 8000, 4000)), expected, 1);
    }
}

TEST(LevelFilter, NoiseGateSilencesQuietPeaks)
{
    Chain chain;
    chain.filter.set_curve(0, 128, 0);
    chain.script(burst(16000, 12000), { 1, 16, 8000 });
    Samples out = joined_samples(chain.pull_all());
    EXPECT_EQ(peak_of(test::slice(out, 2000, 12000)), 0);
}

TEST(LevelFilter, FullScaleSquareWavePassesThroughTheRepair)
{
    Samples square;
    for (int i = 0; i < 16000; ++i)
        square.push_back((i / 20) % 2 ? -32768 : 32767);
    Chain chain;
    chain.filter.set_curve(0, 0, 8);
    chain.script(test::interleave(square, square), { 2, 16, 8000 });
    Samples out = joined_samples(chain.pull_all());
    ASSERT_EQ(out.size(), square.size() * 2);
    // Never wrapped: every sample keeps its sign.
    for (std::size_t i = 0; i < out.size(); ++i)
        ASSERT_GE(std::int64_t { out[i] } * square[i / 2], 0) << i;
}

TEST(LevelFilter, ClippedToneIsRebuiltAndScaled)
{
    // A tone clipped flat for a few frames at each crest.
    Samples clipped;
    for (std::int32_t s : test::sine(100, 8000, 16000, 36000))
        clipped.push_back(std::clamp(s, -32768, 32767));
    Chain chain;
    chain.filter.set_curve(0, 0, 8);
    chain.script(clipped, { 1, 16, 8000 });
    Samples out = joined_samples(chain.pull_all());
    Samples middle = test::slice(out, 8000, 4000);
    // No flat top of three equal frames is left at the crest.
    for (std::size_t i = 0; i + 2 < middle.size(); ++i) {
        if (std::abs(middle[i]) == peak_of(middle)) {
            EXPECT_FALSE(middle[i] == middle[i + 1] && middle[i + 1] == middle[i + 2]) << i;
        }
    }
}

TEST(LevelFilter, OverASecondWithoutADominantPeakStillMovesOn)
{
    // A tone whose level keeps rising: a larger peak always follows within
    // the look-ahead, so no peak ever dominates.
    Samples rising;
    for (int i = 0; i < 16000; ++i)
        rising.push_back(std::int32_t(std::sin(i * 2 * 3.14159265 * 200 / 8000) * (1000 + i * 1.5)));
    Chain chain;
    chain.filter.set_curve(0, 0, 128);
    chain.script(rising, { 1, 16, 8000 }, 800);
    chain.push_all();
    EXPECT_FALSE(chain.sink.received.empty());

    // Silence: no peak at all, so everything passes unchanged.
    Chain quiet;
    quiet.filter.set_curve(0, 0, 128);
    quiet.script(Samples(8800, 0), { 1, 16, 8000 }, 800);
    quiet.push_all();
    EXPECT_EQ(joined_samples(quiet.sink.received), Samples(8800, 0));
}

TEST(LevelFilter, FormatChangeFlushesTheOldFormatFirst)
{
    Samples first = burst(6000, 20000);
    Samples second = test::interleave(burst(5000, 50), burst(5000, 60));
    for (bool pulled : { true, false }) {
        SCOPED_TRACE(pulled);
        Chain chain;
        chain.filter.set_curve(0, 0, 32);
        chain.script(first, { 1, 16, 8000 }, 1000);
        chain.script(second, { 2, 8, 11025 }, 1000);
        std::vector<PCMData> out;
        if (pulled) {
            out = chain.pull_all();
        } else {
            chain.push_all();
            out = chain.sink.received;
        }
        std::size_t old_frames = 0;
        std::size_t new_frames = 0;
        bool seen_new = false;
        for (const PCMData& chunk : out) {
            if (chunk.bits_per_sample == 16) {
                EXPECT_FALSE(seen_new);
                EXPECT_EQ(chunk.sample_rate, 8000);
                old_frames += chunk.get_frames();
            } else {
                seen_new = true;
                EXPECT_EQ(chunk.channels, 2);
                EXPECT_EQ(chunk.sample_rate, 11025);
                new_frames += chunk.get_frames();
            }
        }
        // Nothing of the old format is lost at the change.
        EXPECT_EQ(old_frames, first.size());
        if (pulled) {
            EXPECT_EQ(new_frames, second.size() / 2);
        }
    }
}

TEST(LevelFilter, UnhandledFormatsPassThrough)
{
    for (Format f : { Format { 3, 16, 8000 }, Format { 1, 24, 8000 } }) {
        SCOPED_TRACE(f.channels);
        Chain chain;
        chain.filter.set_curve(0, 0, 128);
        liba::SharedBuffer bytes(3000);
        bytes.fill(0x7F);
        PCMData chunk(bytes, f.channels, f.bits, f.rate);
        chain.source.script.push_back(chunk);
        std::vector<PCMData> out = chain.pull_all();
        ASSERT_EQ(out.size(), 1u);
        EXPECT_EQ(test::bytes_of(out[0]), test::bytes_of(chunk));

        chain.filter.on_data(chunk);
        ASSERT_EQ(chain.sink.received.size(), 1u);
        EXPECT_EQ(test::bytes_of(chain.sink.received[0]), test::bytes_of(chunk));
    }
}

TEST(LevelFilter, BlockRoutineRefusesWhatItCannotHandle)
{
    LevelFilter filter;
    filter.set_curve(0, 0, 8);
    std::uint8_t bytes[64] {};
    EXPECT_EQ(filter.process(nullptr, 64, 8000, 1, 16, true), 0u);
    EXPECT_EQ(filter.process(bytes, 0, 8000, 1, 16, true), 0u);
    EXPECT_EQ(filter.process(bytes, 64, 0, 1, 16, true), 0u);
    EXPECT_EQ(filter.process(bytes, 64, 8000, 3, 16, true), 0u);
    EXPECT_EQ(filter.process(bytes, 64, 8000, 1, 12, true), 0u);
    // Too little for the look-ahead: nothing yet.
    EXPECT_EQ(filter.process(bytes, 64, 8000, 1, 16, false), 0u);
    EXPECT_EQ(filter.process(bytes, 64, 8000, 1, 16, true), 64u);
}

}

TEST(LevelFilter, ResultsSaturateInsteadOfWrapping)
{
    // Every level to full scale: the half-wave's tail beyond the look-ahead
    // limit is far louder than its peak and gets the same large gain.
    std::int32_t loud[LevelFilter::curve_size];
    std::fill(std::begin(loud), std::end(loud), 256);
    LevelFilter filter;
    filter.set_table(loud);
    PCMData chunk = test::chunk_of({ -5, 2000, 100, 100, 20000, -5 }, 1, 16, 20);
    auto* bytes = audio::writable_bytes(chunk.buffer);
    EXPECT_EQ(filter.process(bytes, chunk.size(), 20, 1, 16, false), chunk.size());
    EXPECT_EQ(test::samples_of(chunk), (Samples { 0, 32767, 1638, 1638, 32767, -81 }));
}

namespace {

// The filter's whole output, pinned: a faster implementation must give these
// very samples, pulled or pushed, whatever the chunk sizes.
TEST(LevelFilterGolden, OutputIsPinned)
{
    struct Case {
        std::int32_t amount, noise, ceiling;
        Format format;
        bool pulled;
        std::size_t chunk_frames;
        std::uint64_t hash;
    };

    const Case cases[] = {
        { 128, 128, 128, { 2, 16, 44100 }, true, 4410, 0xc33c204c5be295b7 },
        { 128, 128, 128, { 2, 16, 44100 }, false, 1000, 0x3b64c241693c051c },
        { 32, 8, 32, { 1, 16, 22050 }, true, 777, 0xd04bbd5d77ff5840 },
        { -128, 32, 8, { 1, 16, 8000 }, false, 5000, 0xdb03d9fa87d25d7a },
        { 128, 128, 128, { 1, 8, 11025 }, true, 2000, 0xa8c4a6cd4ff0d8b0 },
        { 8, 0, 128, { 2, 8, 8000 }, false, 300, 0xeb29b2c7701bb687 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.amount << " " << c.noise << " " << c.ceiling << " "
                                        << c.format.channels << "x" << c.format.bits << " " << c.pulled);
        Samples in = test::golden_input(c.format.rate * 3, c.format.rate, c.format.channels, c.format.bits);
        Chain chain;
        chain.filter.set_curve(c.amount, c.noise, c.ceiling);
        chain.script(in, c.format, c.chunk_frames);
        Samples out;
        if (c.pulled) {
            out = joined_samples(chain.pull_all());
        } else {
            chain.push_all();
            out = joined_samples(chain.sink.received);
        }
        EXPECT_EQ(test::fnv1a(out), c.hash)
            << std::hex << test::fnv1a(out) << " over " << std::dec << out.size();
    }
}

}

// A seek or a new file: what the filter gathered of the old stream is dropped,
// and what it holds is counted until then.
TEST(LevelFilter, ARestartDropsTheAudioHeldOfTheOldStream)
{
    Format f { 1, 16, 22050 };
    Chain chain;
    chain.filter.set_curve(0, 0, 128);
    chain.script(test::sine(1000, f.rate, f.rate, 30000), f);
    ASSERT_FALSE(chain.filter.get_data(1000).is_empty());
    EXPECT_GT(chain.filter.held_seconds(), 0.0);
    chain.source.script.clear();
    chain.filter.restart();
    EXPECT_EQ(chain.filter.held_seconds(), 0.0);
    chain.script(Samples(f.rate, 0), f);
    Samples out = joined_samples(chain.pull_all());
    EXPECT_EQ(out.size(), std::size_t(f.rate));
    EXPECT_EQ(test::rms(out), 0);
}
