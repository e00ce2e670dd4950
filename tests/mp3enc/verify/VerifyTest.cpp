#include "mp3enc/Encoder.h"
#include "tests/mp3enc/verify/Decoders.h"
#include "tests/support/TempDir.h"

#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <ostream>

using namespace verify;

namespace {

enum class Signal { Sine, Sweep, Noise, Speech };
const char* const signal_names[] = { "sine", "sweep", "noise", "speech" };

struct Case {
    int32_t rate;
    int32_t channels;
    int32_t kbps;
    Signal signal;
};

const int32_t rates[] = { 8000, 11025, 12000, 16000, 22050, 24000, 32000, 44100, 48000 };
const int32_t mpeg1_row[] = { 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320 };
const int32_t mpeg2_row[] = { 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160 };

const int32_t* row_of(int32_t rate)
{
    return rate >= 32000 ? mpeg1_row : mpeg2_row;
}

bool full_matrix()
{
    const char* v = std::getenv("ORVANTA_MP3_MATRIX");
    return v && std::strcmp(v, "full") == 0;
}

std::vector<Case> matrix()
{
    std::vector<Case> cases;
    if (full_matrix()) {
        for (int32_t rate : rates)
            for (int32_t channels = 1; channels <= 2; ++channels)
                for (int32_t i = 0; i < 14; ++i)
                    for (int32_t s = 0; s < 4; ++s)
                        cases.push_back({ rate, channels, row_of(rate)[i], Signal(s) });
        return cases;
    }
    // Every rate in mono and stereo, the bitrates and signals taken in turn so that each row's
    // ends and every signal appear.
    int32_t turn = 0;
    for (int32_t rate : rates) {
        for (int32_t channels = 1; channels <= 2; ++channels, ++turn)
            cases.push_back({ rate, channels, row_of(rate)[(turn * 5) % 14], Signal(turn % 4) });
    }
    cases.push_back({ 48000, 2, 320, Signal::Noise });
    cases.push_back({ 44100, 2, 256, Signal::Sweep });
    cases.push_back({ 8000, 1, 8, Signal::Speech });
    cases.push_back({ 32000, 1, 32, Signal::Noise });
    return cases;
}

void PrintTo(const Case& c, std::ostream* out)
{
    *out << c.rate << " Hz, " << c.channels << " ch, " << c.kbps << " kbit/s, "
         << signal_names[int(c.signal)];
}

std::string name_of(const testing::TestParamInfo<Case>& info)
{
    const Case& c = info.param;
    return std::to_string(c.rate) + (c.channels == 2 ? "_stereo_" : "_mono_") + std::to_string(c.kbps) + "_"
        + signal_names[int(c.signal)];
}

std::vector<int16_t> input_for(const Case& c)
{
    switch (c.signal) {
    case Signal::Sine:
        return sine(c.rate, c.channels, 1.5, 440, 0.5);
    case Signal::Sweep:
        return sweep(c.rate, c.channels, 1.5, 0.7);
    case Signal::Noise:
        return noise(c.rate, c.channels, 1.5, 0.9, uint32_t(c.rate + c.kbps));
    case Signal::Speech:
        return speech(c.rate, c.channels);
    }
    return {};
}

int32_t out_rate_of(int32_t rate, int32_t channels, int32_t kbps)
{
    mp3enc::Params* p = mp3enc::create(rate, channels, kbps);
    int32_t out = p ? p->out_rate : 0;
    mp3enc::destroy(p);
    return out;
}

class Mp3Decoders : public testing::TestWithParam<Case> { };

}

TEST_P(Mp3Decoders, DecodeWithoutErrors)
{
    const Case& c = GetParam();
    std::vector<int16_t> pcm = input_for(c);
    if (pcm.empty())
        GTEST_SKIP() << "no espeak-ng or sox";
    const std::string mp3 = encode(pcm, c.rate, c.channels, c.kbps);
    ASSERT_FALSE(mp3.empty());

    Decoded decoded = decode_with_mad(mp3);
    EXPECT_TRUE(decoded.errors.empty()) << decoded.errors.front();
    EXPECT_GT(decoded.frames, 0);
    EXPECT_EQ(decoded.channels, c.channels);
    const int32_t out_rate = out_rate_of(c.rate, c.channels, c.kbps);
    EXPECT_EQ(decoded.rate, out_rate);

    test::TempDir dir;
    const std::string path = dir.write("out.mp3", mp3);
    EXPECT_EQ(mpg123_complaints(path), "");
    EXPECT_EQ(ffmpeg_complaints(path), "");

    if (c.signal == Signal::Sine) {
        // Compare the level of the steady middle, aligned by cross-correlation where the rate
        // stayed.
        const size_t frames = pcm.size() / size_t(c.channels);
        int32_t delay = 0;
        if (out_rate == c.rate)
            delay = best_delay(pcm, decoded.samples, c.channels, 3000);
        const double scale = double(out_rate) / c.rate;
        const double in_db = rms_db(pcm, c.channels, frames / 4, frames * 3 / 4);
        const double out_db
            = rms_db(decoded.samples, c.channels, size_t(double(frames / 4) * scale) + size_t(delay),
                size_t(double(frames * 3 / 4) * scale) + size_t(delay));
        EXPECT_NEAR(out_db, in_db, 0.5) << "delay " << delay;
    }
}

INSTANTIATE_TEST_SUITE_P(Matrix, Mp3Decoders, testing::ValuesIn(matrix()), name_of);

TEST(Mp3Silence, DecodesToZeros)
{
    const Case cases[] = { { 44100, 2, 128, Signal::Sine }, { 22050, 1, 32, Signal::Sine },
        { 8000, 1, 8, Signal::Sine }, { 48000, 2, 320, Signal::Sine } };
    for (const Case& c : cases) {
        std::vector<int16_t> pcm(size_t(c.rate) * size_t(c.channels), 0);
        Decoded decoded = decode_with_mad(encode(pcm, c.rate, c.channels, c.kbps));
        EXPECT_TRUE(decoded.errors.empty()) << c.rate;
        EXPECT_GT(decoded.frames, 0);
        EXPECT_EQ(std::count(decoded.samples.begin(), decoded.samples.end(), 0),
            std::ptrdiff_t(decoded.samples.size()))
            << c.rate;
    }
}
