#include "audio/devices/PlayerPCM.h"

#include "platform/media/headless/ScriptedWaveDriver.h"
#include "tests/audio/devices/DeviceDoubles.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <memory>
#include <thread>

using platform::headless::ScriptedWaveDriver;

namespace {

// A player on the scripted output device, fed by a source the test fills.
struct Rig {
    Rig()
    {
        player = std::make_unique<audio::PlayerPCM>();
        audio::connect<audio::PCMData>(&source, player.get());
    }

    ~Rig()
    {
        audio::connect<audio::PCMData>(&source, nullptr);
        player.reset();
    }

    // Plays what the player queues until count bytes came out, waiting for the
    // player whenever the device has nothing queued.
    std::vector<uint8_t> drain(size_t count)
    {
        std::vector<uint8_t> out;
        while (out.size() < count) {
            size_t seen = driver.log().size();
            std::vector<uint8_t> got = driver.play_queued(std::min<size_t>(count - out.size(), 4096));
            if (got.empty()) {
                if (!driver.wait_for([&](const auto& log) { return log.size() > seen; }))
                    break;
                continue;
            }
            out.insert(out.end(), got.begin(), got.end());
        }
        return out;
    }

    // The log from the first line equal to from on.
    std::vector<std::string> log_from(const std::string& from)
    {
        auto log = driver.log();
        auto start = std::find(log.begin(), log.end(), from);
        return std::vector<std::string>(start, log.end());
    }

    platform::ScopedService<platform::WaveDriver, ScriptedWaveDriver> scripted {
        platform::wave_driver_slot()
    };
    ScriptedWaveDriver& driver = *scripted;
    test::PcmSource source;
    std::unique_ptr<audio::PlayerPCM> player;
};

std::vector<uint8_t> join(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b)
{
    std::vector<uint8_t> all = a;
    all.insert(all.end(), b.begin(), b.end());
    return all;
}

}

TEST(PlayerPCM, SixBuffersOfTwoHundredMilliseconds)
{
    struct Case {
        int channels, bits, rate;
        std::string open, write;
    };

    const Case cases[] = {
        { 2, 16, 44100, "out open 44100 16 2", "out write 35280" },
        { 1, 16, 8000, "out open 8000 16 1", "out write 3200" },
        { 1, 8, 11025, "out open 11025 8 1", "out write 2205" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.open);
        Rig rig;
        rig.source.add(test::audio_bytes(7 * 35280), c.channels, c.bits, c.rate);
        rig.player->play();
        EXPECT_TRUE(rig.driver.wait_for_line(c.write, 6));
        EXPECT_EQ(rig.driver.count(c.open), 1);
        EXPECT_EQ(rig.driver.count(c.write), 6) << "no seventh buffer before one comes back";
    }
}

TEST(PlayerPCM, PlaysEverythingInOrderClosesAtTheEndAndPlaysAgainLater)
{
    Rig rig;
    std::vector<uint8_t> first = test::audio_bytes(24002, 3);
    // Pieces of odd sizes, so that chunks straddle the buffers.
    rig.source.add(std::vector<uint8_t>(first.begin(), first.begin() + 7002), 1, 16, 8000);
    rig.source.add(std::vector<uint8_t>(first.begin() + 7002, first.end()), 1, 16, 8000);
    EXPECT_TRUE(rig.player->is_idle());
    rig.player->play();
    ASSERT_TRUE(rig.driver.wait_for_line("out open 8000 16 1"));
    // Busy while the device holds audio that has not been heard.
    EXPECT_FALSE(rig.player->is_idle());
    EXPECT_EQ(rig.drain(first.size()), first);
    EXPECT_TRUE(rig.driver.wait_for_line("out close"));
    for (int i = 0; i < 500 && !rig.player->is_idle(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_TRUE(rig.player->is_idle());

    std::vector<uint8_t> second = test::audio_bytes(1000, 9);
    rig.source.add(second, 1, 16, 8000);
    rig.player->play();
    EXPECT_EQ(rig.drain(second.size()), second);
    EXPECT_TRUE(rig.driver.wait_for_line("out close", 2));
    EXPECT_EQ(rig.driver.count("out open 8000 16 1"), 2);
}

TEST(PlayerPCM, FormatChangeClosesAndReopensTheDevice)
{
    // 35,280 bytes end exactly on the boundary of two 22,050 Hz buffers: the
    // new format must not slip into a third buffer of the old device.
    for (size_t first_size : { size_t(35280), size_t(30002) }) {
        SCOPED_TRACE(first_size);
        Rig rig;
        std::vector<uint8_t> part1 = test::audio_bytes(first_size, 1);
        std::vector<uint8_t> part2 = test::audio_bytes(50000, 2);
        rig.source.add(part1, 2, 16, 22050);
        rig.source.add(part2, 2, 16, 44100);
        rig.player->play();
        EXPECT_EQ(rig.drain(part1.size()), part1);
        EXPECT_TRUE(rig.driver.wait_for_line("out open 44100 16 2"));
        EXPECT_EQ(rig.drain(part2.size()), part2);
        auto log = rig.log_from("out open 22050 16 2");
        auto close = std::find(log.begin(), log.end(), "out close");
        EXPECT_NE(std::find(close, log.end(), "out open 44100 16 2"), log.end()) << "closed, then reopened";
    }
}

TEST(PlayerPCM, PauseThenPlayResumesWithoutReopening)
{
    Rig rig;
    std::vector<uint8_t> audio = test::audio_bytes(8 * 3200);
    rig.source.add(audio, 1, 16, 8000);
    rig.player->play();
    std::vector<uint8_t> before = rig.drain(1000);

    rig.player->pause();
    EXPECT_TRUE(rig.player->is_paused());
    ASSERT_TRUE(rig.driver.wait_for_line("out pause"));
    EXPECT_TRUE(rig.driver.play_queued(4096).empty()) << "a paused device plays silence";

    rig.player->play();
    EXPECT_FALSE(rig.player->is_paused());
    ASSERT_TRUE(rig.driver.wait_for_line("out restart"));
    EXPECT_EQ(join(before, rig.drain(audio.size() - 1000)), audio);
    EXPECT_EQ(rig.driver.count("out open 8000 16 1"), 1);
}

TEST(PlayerPCM, StopWhilePausedResetsTheDeviceAndClearsThePause)
{
    Rig rig;
    rig.source.add(test::audio_bytes(8 * 3200), 1, 16, 8000);
    rig.player->play();
    ASSERT_TRUE(rig.driver.wait_for_line("out write 3200", 6));
    rig.player->pause();
    ASSERT_TRUE(rig.driver.wait_for_line("out pause"));
    rig.player->stop();
    EXPECT_FALSE(rig.player->is_paused());
    ASSERT_TRUE(rig.driver.wait_for_line("out close"));
    EXPECT_EQ(
        rig.log_from("out reset"), (std::vector<std::string> { "out reset", "out restart", "out close" }));
}

TEST(PlayerPCM, VolumeIsClampedKeptAndAppliedWhenTheDeviceOpens)
{
    Rig rig;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::pair<double, double> stored[] = { { 1.5, 1.0 }, { -1, 0.0 }, { nan, 0.0 }, { 0.5, 0.5 } };
    for (auto [given, kept] : stored) {
        rig.player->set_volume(given);
        EXPECT_EQ(rig.player->get_volume(), kept) << given;
    }
    rig.source.add(test::audio_bytes(3200), 1, 16, 8000);
    rig.player->play();
    // 0.5 x 65535 truncates to 0x7FFF, on both channels.
    ASSERT_TRUE(rig.driver.wait_for_line("out volume 7fff7fff"));
    EXPECT_EQ(rig.log_from("out open 8000 16 1")[1], "out volume 7fff7fff") << "before the first buffer";
    rig.player->set_volume(1.5);
    EXPECT_TRUE(rig.driver.wait_for_line("out volume ffffffff"));
}

TEST(PlayerPCM, WithoutADeviceItStopsDropsThePendingDataAndCanPlayLater)
{
    Rig rig;
    rig.driver.set_open_fails(true);
    std::vector<uint8_t> lost = test::audio_bytes(1000, 1);
    std::vector<uint8_t> kept = test::audio_bytes(1000, 2);
    rig.source.add(lost, 1, 16, 8000);
    rig.source.add(kept, 1, 16, 8000);
    rig.player->play();
    ASSERT_TRUE(rig.driver.wait_for_line("out open 8000 16 1 failed"));
    EXPECT_TRUE(test::eventually([&] { return rig.player->has_failed(); }));

    rig.driver.set_open_fails(false);
    rig.player->play();
    EXPECT_EQ(rig.drain(kept.size()), kept);
    EXPECT_FALSE(rig.player->has_failed());
}

TEST(PlayerPCM, DestroyingItWhilePlayingDoesNotWaitForTheBuffers)
{
    Rig rig;
    rig.source.add(test::audio_bytes(8 * 3200), 1, 16, 8000);
    rig.player->play();
    ASSERT_TRUE(rig.driver.wait_for_line("out write 3200", 6));
    // The scripted device never plays unless told to: a player that waited
    // for its buffers would hang here.
    audio::connect<audio::PCMData>(&rig.source, nullptr);
    rig.player.reset();
    EXPECT_EQ(rig.log_from("out reset"), (std::vector<std::string> { "out reset", "out close" }));
    EXPECT_FALSE(rig.driver.has_output());
}

TEST(PlayerPCMDeathTest, RefusesPushes)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            audio::PlayerPCM player;
            player.on_data(test::pcm(test::audio_bytes(4), 1, 16, 8000));
        },
        "on_data unexpected - player is active object");
}
