#include "audio/filters/EqualizerPCM.h"
#include "audio/filters/FastPlay.h"
#include "audio/filters/LevelFilter.h"
#include "audio/filters/LevelMeter.h"
#include "audio/filters/StretchFilter.h"
#include "tests/audio/Signals.h"

#include <algorithm>
#include <atomic>
#include <functional>
#include <gtest/gtest.h>
#include <numbers>
#include <thread>

using audio::PCMData;

namespace {

// A 440 Hz stereo tone for ever, in whatever sizes are asked.
class Tone : public audio::Provider<PCMData> {
public:
    PCMData get_data(std::int32_t frames) override
    {
        frames = std::min(frames, 8820);
        test::Samples one = test::sine(440, 44100, frames, 12000, m_phase);
        m_phase += 2 * std::numbers::pi * 440 * frames / 44100;
        return test::chunk_of(test::interleave(one, one), 2, 16, 44100);
    }

private:
    double m_phase = 0;
};

// Pulls the filter on one thread while change() alters it on another; every
// chunk must come out whole and in the tone's format.
template<typename Filter>
void pull_while_changing(Filter& filter, const std::function<void(int)>& change)
{
    Tone tone;
    audio::connect<PCMData>(&tone, &filter);
    std::atomic<bool> done { false };
    std::thread changer([&] {
        for (int i = 0; !done.load(); ++i)
            change(i);
    });
    for (int i = 0; i < 60; ++i) {
        PCMData chunk = filter.get_data(2205);
        ASSERT_FALSE(chunk.is_empty());
        EXPECT_EQ(chunk.channels, 2);
        EXPECT_EQ(chunk.bits_per_sample, 16);
        EXPECT_EQ(chunk.size() % 4, 0u);
    }
    done = true;
    changer.join();
    audio::connect<PCMData>(&tone, nullptr);
}

}

TEST(FilterRace, EqualizerSettingsChangeWhileItIsPulled)
{
    audio::EqualizerPCM band;
    pull_while_changing(band, [&](int i) {
        band.set_gain(i % 3 == 0 ? 0 : 6);
        band.set_frequency(200 + i % 1000);
        band.set_bandwidth(0.5 + i % 3);
    });
}

TEST(FilterRace, StretchFactorChangesWhileItIsPulled)
{
    audio::StretchFilter stretch;
    pull_while_changing(stretch, [&](int i) { stretch.set_factor(1 + i % 3); });
}

TEST(FilterRace, FastPlaySpeedChangesWhileItIsPulled)
{
    audio::FastPlay fast;
    pull_while_changing(fast, [&](int i) { fast.set_speed(0.5 + (i % 4) * 0.5); });
}

TEST(FilterRace, LevelCurveChangesWhileItIsPulled)
{
    audio::LevelFilter levels;
    pull_while_changing(levels, [&](int i) {
        levels.reset();
        if (i % 4 == 0)
            levels.set_table(nullptr);
        else
            levels.set_curve(i % 3 == 0 ? 128 : 8, i % 2 == 0 ? 32 : 0, 128);
    });
}

TEST(FilterRace, LevelMeterIsReadAndPausedWhileItIsPulled)
{
    audio::LevelMeter meter;
    pull_while_changing(meter, [&](int i) {
        meter.set_paused(i % 2 == 1);
        double level = meter.get_level();
        EXPECT_TRUE(level >= 0 && level <= 1);
    });
}
