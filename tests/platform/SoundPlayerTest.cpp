#include "platform/media/WaveSoundPlayer.h"
#include "platform/media/headless/ScriptedWaveDriver.h"

#include <future>
#include <gtest/gtest.h>

TEST(WaveSoundPlayer, PlaysTheSoundToItsEndBeforeReturning)
{
    platform::ScopedService<platform::WaveDriver, platform::headless::ScriptedWaveDriver> driver(
        platform::wave_driver_slot());
    platform::WaveSoundPlayer player;
    std::vector<std::uint8_t> beep(1600);
    for (std::size_t i = 0; i < beep.size(); ++i)
        beep[i] = std::uint8_t(i * 7);
    auto playing = std::async(std::launch::async, [&] { return player.play({ 1, 16, 8000 }, beep); });
    ASSERT_TRUE(driver->wait_for_line("out write 1600"));
    EXPECT_EQ(playing.wait_for(std::chrono::milliseconds(100)), std::future_status::timeout);
    EXPECT_EQ(driver->play_queued(4000), beep);
    EXPECT_TRUE(playing.get());
    EXPECT_TRUE(driver->wait_for_line("out close"));
}

TEST(WaveSoundPlayer, WithoutADeviceOrSamplesNothingPlays)
{
    platform::WaveSoundPlayer player;
    std::vector<std::uint8_t> beep(1600, 1);
    EXPECT_FALSE(player.play({ 1, 16, 8000 }, beep));
    platform::ScopedService<platform::WaveDriver, platform::headless::ScriptedWaveDriver> driver(
        platform::wave_driver_slot());
    EXPECT_FALSE(player.play({ 1, 16, 8000 }, {}));
    EXPECT_FALSE(player.play({ 3, 16, 8000 }, beep));
    EXPECT_FALSE(player.play({ 1, 16, 8000 }, std::vector<std::uint8_t>(1, 1))) << "less than one frame";
    EXPECT_TRUE(driver->log().empty());
}
