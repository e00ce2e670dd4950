#include "mp3enc/Encoder.h"
#include "mp3enc/State.h"

#include <gtest/gtest.h>

namespace {

struct Handle {
    explicit Handle(mp3enc::Params* p)
        : params(p)
    {
    }

    ~Handle() { mp3enc::destroy(params); }

    mp3enc::Params* params;
};

}

TEST(Mp3EncSetup, ChoosesOutputFormat)
{
    struct Case {
        int in_rate, channels, kbps;
        int out_rate, bitrate, version, frame_size, lowpass_hz, lowpass_band, side_info_len;
    } cases[] = {
        { 44100, 2, 128, 44100, 128, 1, 1152, 15402, 22, 36 },
        // Too few bits per sample for the input rate: halved.
        { 44100, 2, 64, 22050, 64, 0, 576, 8833, 25, 21 },
        { 44100, 1, 64, 44100, 64, 1, 1152, 13673, 20, 21 },
        { 44100, 2, 96, 32000, 96, 1, 1152, 12286, 24, 36 },
        { 96000, 2, 128, 48000, 128, 1, 1152, 15299, 20, 36 },
        { 48000, 2, 320, 48000, 320, 1, 1152, 22292, 29, 36 },
        { 22050, 1, 32, 22050, 32, 0, 576, 7816, 22, 13 },
        // MPEG-2.5; the bandwidth is capped at half the rate, so only the top subband goes.
        { 8000, 1, 16, 8000, 16, 0, 576, 4000, 31, 13 },
        { 8000, 1, 8, 8000, 8, 0, 576, 2822, 22, 13 },
        // Far too few bits even at the lowest rate of MPEG-1: 8 kHz.
        { 44100, 1, 8, 8000, 8, 0, 576, 2822, 22, 13 },
        // No bitrate: a compression ratio of 11.025 picks one.
        { 44100, 2, 0, 44100, 128, 1, 1152, 15402, 22, 36 },
        { 22050, 2, 0, 22050, 64, 0, 576, 8833, 25, 21 },
        // 11.6 kbit/s lies nearer 8 than 16.
        { 8000, 1, 0, 8000, 8, 0, 576, 2822, 22, 13 },
    };

    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.in_rate << " Hz x" << c.channels << " at " << c.kbps);
        Handle h(mp3enc::create(c.in_rate, c.channels, c.kbps));
        ASSERT_NE(h.params, nullptr);
        const auto& p = *h.params;
        EXPECT_EQ(p.out_rate, c.out_rate);
        EXPECT_EQ(p.bitrate, c.bitrate);
        EXPECT_EQ(p.version, c.version);
        EXPECT_EQ(p.frame_size, c.frame_size);
        EXPECT_EQ(mp3enc::frame_size(h.params), c.frame_size);
        EXPECT_EQ(p.lowpass_hz, c.lowpass_hz);
        EXPECT_EQ(p.mode, c.channels == 2 ? 1 : 3);
        EXPECT_EQ(p.state->lowpass_band, c.lowpass_band);
        EXPECT_EQ(p.state->side_info_len, c.side_info_len);
        EXPECT_EQ(p.state->granules * 576, c.frame_size);
        EXPECT_NEAR(p.compression_ratio, double(c.out_rate) * c.channels * 16 / (c.bitrate * 1000.0), 1e-4);
        EXPECT_EQ(p.no_reservoir, c.bitrate >= 320 ? 1 : 0);
    }
}

TEST(Mp3EncSetup, HeaderIndices)
{
    struct Case {
        int in_rate, channels, kbps, rate_index, bitrate_index;
    } cases[] = {
        { 44100, 2, 128, 0, 9 },
        { 48000, 1, 64, 1, 5 },
        { 32000, 1, 320, 2, 14 },
        { 22050, 1, 32, 0, 4 },
        { 24000, 1, 160, 1, 14 },
        { 16000, 1, 64, 2, 8 },
        { 11025, 1, 16, 0, 2 },
        { 12000, 1, 24, 1, 3 },
        { 8000, 1, 16, 2, 2 },
    };

    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.in_rate << " Hz at " << c.kbps);
        Handle h(mp3enc::create(c.in_rate, c.channels, c.kbps));
        ASSERT_NE(h.params, nullptr);
        EXPECT_EQ(h.params->state->rate_index, c.rate_index);
        EXPECT_EQ(h.params->state->bitrate_index, c.bitrate_index);
    }
}

TEST(Mp3EncSetup, ScalefactorBandsFollowTheOutputRate)
{
    struct Case {
        int in_rate, kbps, long_band_8, short_band_5;
    } cases[] = {
        { 44100, 128, 36, 22 },
        { 48000, 128, 36, 22 },
        { 32000, 128, 36, 22 },
        { 22050, 64, 54, 24 },
        { 24000, 64, 54, 26 },
        { 16000, 64, 54, 26 },
        { 8000, 16, 108, 52 },
    };

    for (const auto& c : cases) {
        SCOPED_TRACE(c.in_rate);
        Handle h(mp3enc::create(c.in_rate, 1, c.kbps));
        ASSERT_NE(h.params, nullptr);
        const auto& s = *h.params->state;
        EXPECT_EQ(s.sfb_long[0], 0);
        EXPECT_EQ(s.sfb_long[8], c.long_band_8);
        EXPECT_EQ(s.sfb_long[22], 576);
        EXPECT_EQ(s.sfb_short[5], c.short_band_5);
        EXPECT_EQ(s.sfb_short[13], 192);
        for (int i = 1; i < 23; ++i)
            EXPECT_LT(s.sfb_long[i - 1], s.sfb_long[i]) << i;
    }
}

TEST(Mp3EncSetup, RefusesWhatCannotBeEncoded)
{
    struct Case {
        int in_rate, channels, kbps;
    } cases[] = {
        { 22050, 1, 320 }, // MPEG-2's row ends at 160
        { 24000, 2, 192 },
        { 44100, 2, 33 }, // in no row
        // Below any row: too little for the side information, let alone audio.
        { 8000, 1, 1 },
        { 44100, 1, 1 },
        { 22050, 2, 1 },
        { 44100, 2, 2 },
        { 44100, 0, 128 },
        { 44100, 3, 128 },
        { 44100, -1, 128 },
        { 0, 1, 64 },
        { 999, 1, 8 },
        { -44100, 1, 64 },
        { 44100, 1, -64 },
        { 1000001, 2, 128 },
        { 2000000000, 2, 128 },
    };

    for (const auto& c : cases) {
        mp3enc::Params* p = mp3enc::create(c.in_rate, c.channels, c.kbps);
        EXPECT_EQ(p, nullptr) << c.in_rate << " Hz x" << c.channels << " at " << c.kbps;
        mp3enc::destroy(p);
    }
}

TEST(Mp3EncSetup, SettersRefuseWithoutAHandle)
{
    EXPECT_EQ(mp3enc::set_sample_rate(nullptr, 44100), -1);
    EXPECT_EQ(mp3enc::set_channels(nullptr, 1), -1);
    EXPECT_EQ(mp3enc::set_bitrate(nullptr, 128), -1);
    EXPECT_EQ(mp3enc::frame_size(nullptr), 0);
    mp3enc::destroy(nullptr);
}
