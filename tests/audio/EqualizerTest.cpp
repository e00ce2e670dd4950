#include "audio/filters/EqualizerPCM.h"
#include "tests/audio/PipelineDoubles.h"
#include "tests/audio/Signals.h"
#include "tests/support/Tool.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

using audio::EqualizerPCM;
using audio::PCMData;
using test::Format;
using test::Samples;

namespace {

struct BandSettings {
    double hertz, gain, octaves;
};

// A band set up in the order the document sets one.
struct Band : EqualizerPCM {
    Band(double hertz, double gain, double octaves = 1.0)
    {
        set_gain(gain);
        set_frequency(hertz);
        set_bandwidth(octaves);
    }
};

// Feeds the samples in chunks of chunk_frames and joins what comes out.
Samples run(EqualizerPCM& eq, const Samples& in, Format f, std::size_t chunk_frames)
{
    Samples out;
    std::size_t step = chunk_frames * f.channels;
    for (std::size_t at = 0; at < in.size(); at += step) {
        PCMData chunk = eq.process(test::chunk_of(test::slice(in, at, step), f.channels, f.bits, f.rate));
        EXPECT_EQ(chunk.channels, f.channels);
        EXPECT_EQ(chunk.bits_per_sample, f.bits);
        EXPECT_EQ(chunk.sample_rate, f.rate);
        Samples part = test::samples_of(chunk);
        out.insert(out.end(), part.begin(), part.end());
    }
    return out;
}

double decibels(double ratio)
{
    return 20 * std::log10(ratio);
}

}

TEST(EqualizerPCM, PassesTheVerySameChunkWhenOffOrGivenAFormatItDoesNotTake)
{
    struct Case {
        const char* what;
        double gain, hertz;
        PCMData chunk;
    } cases[] = {
        // clang-format off
        { "gain 0 dB", 0, 1000, test::counting_pcm(4000, 2, 16, 44100) },
        { "24-bit", 6, 1000, test::counting_pcm(4002, 2, 24, 44100) },
        { "32-bit", 6, 1000, test::counting_pcm(4000, 2, 32, 44100) },
        { "12-bit", 6, 1000, test::counting_pcm(4000, 1, 12, 44100) },
        { "three channels", 6, 1000, test::counting_pcm(4002, 3, 16, 44100) },
        { "rate 0", 6, 1000, test::counting_pcm(4000, 2, 16, 0) },
        { "no whole frame", 6, 1000, test::counting_pcm(3, 2, 16, 44100) },
        { "centre at fs/2", 6, 11025, test::counting_pcm(4000, 1, 16, 22050) },
        { "centre just above fs/2.01", 6, 22050 / 2.01 + 0.01, test::counting_pcm(4000, 1, 16, 22050) },
        { "gain beyond any coefficient", 2000, 1000, test::counting_pcm(4000, 1, 16, 22050) },
        { "no frequency at all", 6, NAN, test::counting_pcm(4000, 1, 16, 22050) },
        // clang-format on
    };

    for (const auto& c : cases) {
        Band eq(c.hertz, c.gain);
        PCMData out = eq.process(c.chunk);
        EXPECT_EQ(out.bytes(), c.chunk.bytes()) << c.what;
        EXPECT_EQ(out.size(), c.chunk.size()) << c.what;
        EXPECT_EQ(out.bits_per_sample, c.chunk.bits_per_sample) << c.what;
    }
}

TEST(EqualizerPCM, ACentreJustBelowFs201IsFiltered)
{
    Band eq(22050 / 2.01 - 1, 6);
    Samples tone = test::sine(10000, 22050, 4000, 8000);
    Samples out = run(eq, tone, { 1, 16, 22050 }, 4000);
    ASSERT_EQ(out.size(), tone.size());
    // The first tenth of a second is the band's delay.
    EXPECT_EQ(test::rms(test::slice(out, 0, 2205)), 0);
    EXPECT_GT(test::rms(test::slice(out, 2205, 4000)), 0);
}

// With no width the peaking filter is exactly the identity, which shows the
// delay and the limiter on their own.
TEST(EqualizerPCM, DelaysByATenthOfASecondAcrossChunksOfAnySize)
{
    for (int bits : { 8, 16 }) {
        for (int channels : { 1, 2 }) {
            Format f { channels, bits, 8000 };
            int amplitude = bits == 8 ? 90 : 24000; // within three quarters of full scale
            Samples in = test::sine(440, 8000 * channels, 3000 * channels, amplitude);
            Band eq(1000, 6, 0);
            Samples out;
            std::size_t at = 0;
            for (std::size_t frames : { 1, 799, 2, 1500, 37, 661 }) {
                PCMData chunk = eq.process(
                    test::chunk_of(test::slice(in, at, frames * channels), channels, bits, 8000));
                Samples part = test::samples_of(chunk);
                out.insert(out.end(), part.begin(), part.end());
                at += frames * channels;
            }
            ASSERT_EQ(at, in.size());
            Samples expected(800 * channels, 0);
            expected.insert(expected.end(), in.begin(), in.end() - 800 * channels);
            EXPECT_EQ(out, expected) << bits << "-bit, " << f.channels << " channels";
        }
    }
}

TEST(EqualizerPCM, LimitsEachFinishedHalfWaveByItsPeak)
{
    // Rate 100: the delay is 10 frames. Each fixture is one half-wave between
    // small opposite ones, then silence to push it out.
    struct Case {
        Samples half_wave;
        Samples expected;
    } cases[] = {
        // clang-format off
        { { 14336, 28672, 14336 }, { 13312, 26624, 13312 } },   // peak 7/8 of full scale comes out at 13/16
        { { -16384, -32768, -16384 }, { -14336, -28672, -14336 } }, // full scale to 7/8
        { { 12288, 24576, 12288 }, { 12288, 24576, 12288 } },   // three quarters: untouched
        { { 30000, 0, 28000 }, { 27288, 0, 26288 } },   // a zero ends a half-wave: each peak limits its own
        // clang-format on
    };

    for (const auto& c : cases) {
        Samples in { c.half_wave[0] > 0 ? -100 : 100 };
        in.insert(in.end(), c.half_wave.begin(), c.half_wave.end());
        in.push_back(c.half_wave[0] > 0 ? -100 : 100);
        in.resize(40, 0);
        Band eq(10, 6, 0);
        Samples out = run(eq, in, { 1, 16, 100 }, 4);
        EXPECT_EQ(test::slice(out, 11, c.expected.size()), c.expected) << c.half_wave[0];
    }
}

TEST(EqualizerPCM, ATonePastFullScaleIsScaledBackNotClipped)
{
    // +12 dB on a half-scale tone at the centre: peaks near twice full scale.
    Band eq(1000, 12);
    Samples out = run(eq, test::sine(1000, 44100, 22050, 16384), { 1, 16, 44100 }, 4410);
    Samples settled = test::slice(out, 11025, 11025);
    EXPECT_EQ(*std::max_element(settled.begin(), settled.end()), 32767);
    EXPECT_EQ(*std::min_element(settled.begin(), settled.end()), -32768);
    // A clipped wave would sit at full scale for several samples per period.
    EXPECT_LE(std::count(settled.begin(), settled.end(), 32767), 2 * 500);
}

TEST(EqualizerPCM, AudioLeftUnlimitedSaturatesInsteadOfWrapping)
{
    // At rate 100 a 1 Hz half-wave is longer than the window (10 + 10
    // frames), so it leaves unlimited at about twice full scale.
    for (int bits : { 8, 16 }) {
        int amplitude = bits == 8 ? 64 : 16384;
        Samples in = test::sine(1, 100, 1000, amplitude);
        Band eq(1, 12);
        Samples out = run(eq, in, { 1, bits, 100 }, 10);
        int top = bits == 8 ? 127 : 32767;
        EXPECT_EQ(*std::max_element(out.begin(), out.end()), top) << bits;
        for (std::size_t i = 500; i < out.size(); ++i) {
            // A wrapped sample would flip to the other sign.
            if (std::abs(in[i - 10]) > amplitude / 2) {
                EXPECT_EQ(out[i] > 0, in[i - 10] > 0) << bits << "-bit, frame " << i;
            }
        }
    }
}

TEST(EqualizerPCM, AToneAtTheCentreGainsTheBandsGain)
{
    const BandSettings cases[] = {
        // clang-format off
        { 1000, 6, 1 },
        { 1000, -6, 1 },
        { 200, 3, 2 },
        { 5000, -12, 0.5 },
        // clang-format on
    };

    for (const auto& c : cases) {
        Band eq(c.hertz, c.gain, c.octaves);
        Samples in = test::sine(c.hertz, 44100, 44100, 8000);
        Samples out = run(eq, in, { 1, 16, 44100 }, 4096);
        double gain
            = decibels(test::rms(test::slice(out, 22050, 22050)) / test::rms(test::slice(in, 0, 22050)));
        EXPECT_NEAR(gain, c.gain, 0.05) << c.hertz << " Hz";
    }
}

TEST(EqualizerPCM, StereoChannelsAreFilteredAndLimitedApart)
{
    Samples left = test::sine(1000, 44100, 20000, 6000);
    Samples right = test::sine(3000, 44100, 20000, 20000); // boosted past full scale
    Band stereo(3000, 9);
    Samples both = run(stereo, test::interleave(left, right), { 2, 16, 44100 }, 1001);
    Band mono_left(3000, 9);
    Band mono_right(3000, 9);
    EXPECT_EQ(test::channel_of(both, 2, 0), run(mono_left, left, { 1, 16, 44100 }, 1001));
    EXPECT_EQ(test::channel_of(both, 2, 1), run(mono_right, right, { 1, 16, 44100 }, 1001));
}

TEST(EqualizerPCM, ANewRateOrChannelCountRestartsTheDelay)
{
    struct Case {
        const char* what;
        Format second;
        int zero_frames;
    } cases[] = {
        // clang-format off
        { "same format", { 1, 16, 8000 }, 0 },
        { "8-bit at the same rate", { 1, 8, 8000 }, 0 },
        { "new rate", { 1, 16, 16000 }, 1600 },
        { "stereo", { 2, 16, 8000 }, 800 },
        // clang-format on
    };

    for (const auto& c : cases) {
        Band eq(1000, 6);
        run(eq, test::sine(1000, 8000, 4000, 8000), { 1, 16, 8000 }, 4000);
        eq.set_gain(-6); // a parameter change keeps the delayed audio
        int amplitude = c.second.bits == 8 ? 40 : 8000;
        Samples out
            = run(eq, test::sine(1000, c.second.rate, 4000, amplitude), c.second, 4000 / c.second.channels);
        std::size_t zeros = c.zero_frames * c.second.channels;
        EXPECT_EQ(test::rms(test::slice(out, 0, zeros)), 0) << c.what;
        EXPECT_GT(test::rms(test::slice(out, zeros, 50)), 0) << c.what;
    }
}

TEST(EqualizerPCM, ANewRateRedesignsBeforeTheChunk)
{
    Band eq(1000, 6);
    run(eq, test::sine(1000, 8000, 8000, 4000), { 1, 16, 8000 }, 8000);
    Samples in = test::sine(1000, 32000, 32000, 4000);
    Samples out = run(eq, in, { 1, 16, 32000 }, 32000);
    EXPECT_NEAR(decibels(test::rms(test::slice(out, 16000, 16000)) / test::rms(in)), 6, 0.05);
}

TEST(EqualizerPCM, ThreeBandsPulledInAChainAddTheirGainsAndDelays)
{
    test::ScriptedProvider<PCMData> source;
    Samples in = test::sine(1000, 44100, 44100, 4000);
    for (std::size_t at = 0; at < in.size(); at += 4410)
        source.script.push_back(test::chunk_of(test::slice(in, at, 4410), 1, 16, 44100));
    Band bands[3] = { { 1000, 3 }, { 1000, 2 }, { 1000, 4 } };
    audio::connect<PCMData>(&source, &bands[0]);
    audio::connect<PCMData>(&bands[0], &bands[1]);
    audio::connect<PCMData>(&bands[1], &bands[2]);
    Samples out;
    for (PCMData chunk = bands[2].get_data(4410); !chunk.is_empty(); chunk = bands[2].get_data(4410)) {
        Samples part = test::samples_of(chunk);
        out.insert(out.end(), part.begin(), part.end());
    }
    // Each band's delay is played out at the end.
    ASSERT_EQ(out.size(), in.size() + 3 * 4410);
    EXPECT_EQ(test::rms(test::slice(out, 0, 3 * 4410)), 0);
    EXPECT_GT(std::abs(out[3 * 4410 + 10]), 0);
    EXPECT_NEAR(decibels(test::rms(test::slice(out, 22050, 22050)) / test::rms(in)), 9, 0.05);
    audio::connect<PCMData>(&bands[1], nullptr);
    audio::connect<PCMData>(&bands[0], nullptr);
    audio::connect<PCMData>(&source, nullptr);
}

namespace {

// Bands chained as the document links the active ones, pulled as the player pulls.
struct BandChain {
    test::ScriptedProvider<PCMData> source;
    std::vector<std::unique_ptr<Band>> bands;

    explicit BandChain(const std::vector<BandSettings>& settings)
    {
        audio::Provider<PCMData>* upstream = &source;
        for (const BandSettings& s : settings) {
            bands.push_back(std::make_unique<Band>(s.hertz, s.gain, s.octaves));
            audio::connect<PCMData>(upstream, bands.back().get());
            upstream = bands.back().get();
        }
    }

    ~BandChain()
    {
        for (auto& band : bands)
            audio::connect<PCMData>(band->get_provider(), nullptr);
    }

    audio::Provider<PCMData>& output()
    {
        if (bands.empty())
            return source;
        return *bands.back();
    }

    void feed(const Samples& in, int rate, std::size_t chunk_frames)
    {
        for (std::size_t at = 0; at < in.size(); at += chunk_frames)
            source.script.push_back(test::chunk_of(test::slice(in, at, chunk_frames), 1, 16, rate));
    }

    // Pulls until the stream ends.
    Samples drain(std::int32_t frames)
    {
        Samples out;
        for (PCMData chunk = output().get_data(frames); !chunk.is_empty(); chunk = output().get_data(frames)) {
            Samples part = test::samples_of(chunk);
            out.insert(out.end(), part.begin(), part.end());
        }
        return out;
    }
};

}

// A memo's last word: a file that ends in a tenth of a second of tone loses
// none of it, whichever bands are on, and however small the pulls.
TEST(EqualizerPCM, TheAudioDelayedIsPlayedOutAtTheEndOfTheStream)
{
    const BandSettings all[3] = { { 200, 6, 1 }, { 1000, -4, 1 }, { 3000, 3, 2 } };
    constexpr int rate = 8000;
    Samples in(rate, 0);
    Samples tone = test::sine(1000, rate, rate / 10, 8000);
    in.insert(in.end(), tone.begin(), tone.end());
    for (int combination = 1; combination < 8; ++combination) {
        std::vector<BandSettings> settings;
        for (int b = 0; b < 3; ++b) {
            if (combination & (1 << b))
                settings.push_back(all[b]);
        }
        for (std::int32_t pull : { 4096, 333 }) {
            SCOPED_TRACE(testing::Message() << "bands " << combination << ", pulls of " << pull);
            BandChain chain(settings);
            chain.feed(in, rate, 1000);
            Samples out = chain.drain(pull);
            std::size_t delay = settings.size() * (rate / 10);
            ASSERT_EQ(out.size(), in.size() + delay);
            // The tone comes out whole after the delay: nothing is lost at the end.
            Samples heard = test::slice(out, in.size() - tone.size() + delay, tone.size());
            EXPECT_GT(test::rms(heard), 0.5 * test::rms(tone));
            for (auto& band : chain.bands)
                EXPECT_EQ(band->held_seconds(), 0.0);
            // The stream stays ended.
            EXPECT_TRUE(chain.output().get_data(pull).is_empty());
        }
    }
}

// After a loud file a quiet one, and a seek: restarted, a band plays nothing
// of what came before.
TEST(EqualizerPCM, ARestartedBandCarriesNoAudioIntoTheNextStream)
{
    constexpr int rate = 22050;
    Samples loud = test::sine(1000, rate, rate, 30000);
    Samples quiet = test::sine(1000, rate, rate, 300);
    for (bool restarted : { false, true }) {
        BandChain chain({ { 1000, 3, 1 } });
        chain.feed(loud, rate, 2205);
        for (int i = 0; i < 5; ++i)
            ASSERT_FALSE(chain.output().get_data(2205).is_empty());
        EXPECT_NEAR(chain.bands[0]->held_seconds(), 0.1, 1e-9);
        // The rest of the loud stream is dropped, as by a new file or a seek.
        chain.source.script.clear();
        if (restarted)
            chain.bands[0]->restart();
        chain.feed(quiet, rate, 2205);
        Samples out = chain.drain(2205);
        if (!restarted) {
            // What the fault sounded like: the loud tail in front of the quiet file.
            EXPECT_GT(test::rms(test::slice(out, 0, 2205)), 10000);
            continue;
        }
        ASSERT_EQ(out.size(), quiet.size() + 2205);
        EXPECT_EQ(test::rms(test::slice(out, 0, 2205)), 0);
        EXPECT_LT(test::rms(out), 500);
    }
}

// A band whose gain went to 0 dB passed audio untouched; switched on again it
// starts from silence, not from what it held before.
TEST(EqualizerPCM, ABandSwitchedOffAndOnAgainHoldsNothingStale)
{
    Band eq(1000, 6);
    Samples loud = test::sine(1000, 8000, 1000, 30000);
    eq.process(test::chunk_of(loud, 1, 16, 8000));
    eq.set_gain(0);
    eq.process(test::chunk_of(loud, 1, 16, 8000));
    EXPECT_EQ(eq.held_seconds(), 0.0);
    eq.set_gain(6);
    Samples out = test::samples_of(eq.process(test::chunk_of(Samples(1000, 0), 1, 16, 8000)));
    EXPECT_EQ(test::rms(out), 0);
}

TEST(EqualizerPCM, AgreesWithSoxAtTheCentreFrequency)
{
    if (!test::have_tool("sox"))
        GTEST_SKIP() << "sox is not installed";
    const std::vector<std::string> raw
        = { "-t", "raw", "-r", "44100", "-c", "1", "-b", "16", "-e", "signed" };

    const BandSettings cases[] = {
        // clang-format off
        { 1000, 6, 1 },
        { 200, -9, 2 },
        { 8000, 10, 0.5 },
        // clang-format on
    };

    for (const auto& c : cases) {
        std::vector<std::string> make = { "sox", "-D", "-n" };
        make.insert(make.end(), raw.begin(), raw.end());
        make.insert(make.end(), { "-", "synth", "1", "sine", std::to_string(c.hertz), "vol", "0.2" });
        test::ToolResult tone = test::run_tool(make);
        ASSERT_EQ(tone.exit_code, 0);

        std::vector<std::string> filter = { "sox", "-D" };
        filter.insert(filter.end(), raw.begin(), raw.end());
        filter.push_back("-");
        filter.insert(filter.end(), raw.begin(), raw.end());
        filter.insert(filter.end(),
            { "-", "equalizer", std::to_string(c.hertz), std::to_string(c.octaves) + "o",
                std::to_string(c.gain) });
        test::ToolResult theirs = test::run_tool(filter, tone.out);
        ASSERT_EQ(theirs.exit_code, 0);

        auto as_samples = [](const std::string& bytes) {
            liba::SharedBuffer buffer(bytes.size(), bytes.data());
            return test::samples_of(PCMData(buffer, 1, 16, 44100));
        };
        Samples in = as_samples(tone.out);
        Band eq(c.hertz, c.gain, c.octaves);
        Samples ours = run(eq, in, { 1, 16, 44100 }, 4096);
        // Their output is not delayed; compare the settled levels.
        double our_level = test::rms(test::slice(ours, 22050, 22050));
        double their_level = test::rms(test::slice(as_samples(theirs.out), 22050, 22050));
        EXPECT_NEAR(decibels(our_level / their_level), 0, 0.1) << c.hertz << " Hz";
    }
}

namespace {

// The whole output, pinned, so that buffer handling can change under it.
TEST(EqualizerGolden, OutputIsPinned)
{
    struct Case {
        BandSettings band;
        Format format;
        std::size_t chunk_frames;
        std::uint64_t hash;
    };

    const Case cases[] = {
        { { 1000, 12, 1 }, { 2, 16, 44100 }, 4410, 0x15e5401a13145df },
        { { 125, -9, 2 }, { 1, 16, 22050 }, 777, 0x7c7f4c0a6c9a99aa },
        { { 3000, 6, 0.5 }, { 1, 8, 8000 }, 300, 0x724d40f200ea24b1 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.band.hertz << " " << c.format.channels << "x" << c.format.bits);
        Band band(c.band.hertz, c.band.gain, c.band.octaves);
        Samples out = run(band,
            test::golden_input(c.format.rate * 2, c.format.rate, c.format.channels, c.format.bits), c.format,
            c.chunk_frames);
        EXPECT_EQ(test::fnv1a(out), c.hash)
            << std::hex << test::fnv1a(out) << " over " << std::dec << out.size();
    }
}

}
