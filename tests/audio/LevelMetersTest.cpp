#include "audio/filters/LevelMeter.h"
#include "audio/filters/LevelMeterRecord.h"
#include "audio/filters/Muter.h"
#include "audio/filters/RecordLevelControl.h"
#include "audio/filters/TimeMeter.h"
#include "platform/core/headless/FakeClock.h"
#include "tests/audio/Signals.h"

#include <gtest/gtest.h>

namespace {

using test::chunk_of;
using test::Samples;
using test::samples_of;
using FakeClock = platform::ScopedService<platform::Clock, platform::headless::FakeClock>;

TEST(Muter, SilencesInTheChunksOwnFormatOnlyWhileMuted)
{
    audio::Muter muter;
    for (int bits : { 8, 16 }) {
        SCOPED_TRACE(bits);
        audio::PCMData input = chunk_of({ 5, -7, 100, -100, 3, 1 }, 2, bits, 22050);
        muter.set_muted(false);
        EXPECT_EQ(muter.process(input).bytes(), input.bytes());

        muter.set_muted(true);
        audio::PCMData out = muter.process(input);
        EXPECT_EQ(out.size(), input.size());
        EXPECT_EQ(out.channels, 2);
        EXPECT_EQ(out.bits_per_sample, bits);
        EXPECT_EQ(out.sample_rate, 22050);
        for (std::size_t i = 0; i < out.size(); ++i)
            EXPECT_EQ(out.bytes()[i], bits == 8 ? 128 : 0);
    }
}

TEST(RecordLevelControl, ScalesAndClampsByLevel)
{
    struct Case {
        double level;
        int bits;
        Samples in;
        Samples out;
    };
    const Case cases[] = {
        { 1.0, 16, { 1000, -1000, 4000, -4000 }, { 10000, -10000, 32767, -32768 } },
        { 0.0, 16, { 1000, -1000, 32767, -19 }, { 50, -50, 1638, 0 } },
        { 0.75, 16, { 100, -100, 0, 1 }, { 550, -550, 0, 5 } },
        { 1.0, 8, { 10, -10, 20, -20 }, { 100, -100, 127, -128 } },
        { 0.0, 8, { 100, -100, 127, -128 }, { 5, -5, 6, -7 } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.level << " " << c.bits);
        audio::RecordLevelControl control;
        control.set_level(c.level);
        EXPECT_EQ(control.get_level(), c.level);
        // Stereo: both channels are scaled.
        audio::PCMData out = control.process(chunk_of(c.in, 2, c.bits, 8000));
        EXPECT_EQ(samples_of(out), c.out);
        EXPECT_EQ(out.channels, 2);
        EXPECT_EQ(out.bits_per_sample, c.bits);
    }
}

TEST(RecordLevelControl, UnityPassesTheVeryChunk)
{
    audio::RecordLevelControl control;
    EXPECT_EQ(control.get_level(), 0.5);
    audio::PCMData input = chunk_of({ 1, 2, 3 }, 1, 16, 8000);
    EXPECT_EQ(control.process(input).bytes(), input.bytes());
}

TEST(LevelMeterRecord, ReadsTheLevelAndSilenceOfChannelZero)
{
    audio::LevelMeterRecord meter(2.0);
    meter.set_threshold(0.5);
    EXPECT_FALSE(meter.is_silent());

    // The last loud sample is the last frame: silent for one frame's time.
    meter.process(chunk_of({ 100, 0, 0, 0, 20000 }, 1, 16, 1000));
    EXPECT_DOUBLE_EQ(meter.get_silence_seconds(), 1 / 1000.0);
    EXPECT_DOUBLE_EQ(meter.get_level(), 20000 / 32767.0);

    // Loud only on the right channel and below zero on the left: nothing counts.
    Samples quiet = test::interleave(Samples(1500, -30000), Samples(1500, 30000));
    meter.process(chunk_of(quiet, 2, 16, 1000));
    EXPECT_DOUBLE_EQ(meter.get_silence_seconds(), 1.501);
    EXPECT_EQ(meter.get_level(), 0);
    EXPECT_FALSE(meter.is_silent());
    meter.process(chunk_of(Samples(500, 0), 1, 16, 1000));
    EXPECT_TRUE(meter.is_silent());

    // 8-bit: full scale is 127.
    meter.process(chunk_of({ 0, 127, 0, 0 }, 1, 8, 1000));
    EXPECT_DOUBLE_EQ(meter.get_level(), 1.0);
    EXPECT_DOUBLE_EQ(meter.get_silence_seconds(), 3 / 1000.0);
    EXPECT_FALSE(meter.is_silent());
}

TEST(TimeMeter, CountsSecondsUntilReset)
{
    audio::TimeMeter meter;
    meter.process(chunk_of(Samples(2 * 4000, 0), 2, 16, 8000));
    meter.process(chunk_of(Samples(11025, 0), 1, 8, 11025));
    meter.process(audio::PCMData());
    EXPECT_DOUBLE_EQ(meter.get_seconds(), 1.5);
    meter.reset();
    EXPECT_EQ(meter.get_seconds(), 0);
}

// 150 Hz gives a step of 10 frames: step k of this second peaks at k x 1000.
Samples stepped_second()
{
    Samples samples;
    for (int step = 0; step < 15; ++step) {
        for (int i = 0; i < 10; ++i)
            samples.push_back(i == 4 ? step * 1000 : -5);
    }
    return samples;
}

TEST(LevelMeter, FollowsTheQueuedAudioOnTheClock)
{
    FakeClock clock(platform::clock_slot(), 1000);
    audio::LevelMeter meter;
    EXPECT_EQ(meter.get_level(), 0);
    meter.process(chunk_of(stepped_second(), 1, 16, 150));
    meter.process(chunk_of(stepped_second(), 1, 16, 150));

    EXPECT_EQ(meter.get_level(), 0); // step 0 holds only negative samples
    clock->advance(500);
    EXPECT_DOUBLE_EQ(meter.get_level(), 7000 / 32768.0);
    clock->advance(1000); // into the second chunk
    EXPECT_DOUBLE_EQ(meter.get_level(), 7000 / 32768.0);
    clock->advance(600); // everything heard
    EXPECT_EQ(meter.get_level(), 0);
}

TEST(LevelMeter, PausingFreezesTheReading)
{
    FakeClock clock(platform::clock_slot(), 1000);
    audio::LevelMeter meter;
    meter.process(chunk_of(stepped_second(), 1, 16, 150));
    clock->advance(200);
    meter.set_paused(true);
    for (int i = 0; i < 4; ++i) {
        clock->advance(5000);
        EXPECT_DOUBLE_EQ(meter.get_level(), 3000 / 32768.0);
    }
    meter.set_paused(false);
    clock->advance(300);
    EXPECT_DOUBLE_EQ(meter.get_level(), 7000 / 32768.0);
}

TEST(LevelMeter, HoldsAFewSecondsOfAudioHoweverFastItComes)
{
    FakeClock clock(platform::clock_slot(), 0);
    audio::LevelMeter meter;
    // A minute pulled through at once, as a conversion does: second k peaks
    // at k x 500. The history keeps only its last seconds.
    for (int second = 0; second < 60; ++second)
        meter.process(chunk_of(Samples(150, second * 500), 1, 16, 150));
    const int kept = int(audio::LevelMeter::history_seconds);
    EXPECT_DOUBLE_EQ(meter.get_level(), (60 - kept) * 500 / 32768.0);
    clock->advance(1000 * kept - 500);
    EXPECT_DOUBLE_EQ(meter.get_level(), 59 * 500 / 32768.0);
}

TEST(LevelMeter, RatesBelowFifteenStillStep)
{
    FakeClock clock(platform::clock_slot(), 0);
    audio::LevelMeter meter;
    // 10 Hz: one reading per frame instead of a step of 0 frames.
    meter.process(chunk_of({ 0, 64, 127, 32 }, 1, 8, 10));
    clock->advance(250);
    EXPECT_DOUBLE_EQ(meter.get_level(), 127 / 128.0);
    meter.process(chunk_of({ 1 }, 1, 16, 0));
}

}
