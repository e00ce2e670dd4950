#include "audio/devices/RecorderPCM.h"

#include "platform/media/headless/ScriptedWaveDriver.h"
#include "tests/audio/devices/DeviceDoubles.h"

#include <gtest/gtest.h>
#include <memory>

using platform::headless::ScriptedWaveDriver;

namespace {

// A recorder on the scripted input device, pushing into a sink.
struct Rig {
    Rig(int channels, int rate, int bits, bool open_fails = false)
    {
        driver.set_open_fails(open_fails);
        recorder = std::make_unique<audio::RecorderPCM>(channels, rate, bits);
        audio::connect<audio::PCMData>(recorder.get(), &sink);
    }

    ~Rig()
    {
        if (recorder) {
            audio::connect<audio::PCMData>(recorder.get(), nullptr);
            recorder.reset();
        }
    }

    platform::ScopedService<platform::WaveDriver, ScriptedWaveDriver> scripted {
        platform::wave_driver_slot()
    };
    ScriptedWaveDriver& driver = *scripted;
    test::PcmSink sink;
    std::unique_ptr<audio::RecorderPCM> recorder;
};

}

TEST(RecorderPCM, TwentyBuffersOfFiveThousandFrames)
{
    struct Case {
        int channels, rate, bits;
        std::string add;
        int bitrate;
    };

    const Case cases[] = {
        { 1, 8000, 16, "in add 10000", 128000 },
        { 2, 44100, 16, "in add 20000", 1411200 },
        { 1, 11025, 8, "in add 5000", 88200 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.add);
        Rig rig(c.channels, c.rate, c.bits);
        EXPECT_EQ(rig.driver.count(c.add), 20);
        EXPECT_EQ(rig.driver.count("in start"), 0) << "no capture before start";
        EXPECT_EQ(rig.recorder->get_bitrate(), c.bitrate);
        EXPECT_EQ(rig.recorder->get_channels(), c.channels);
        EXPECT_EQ(rig.recorder->get_sample_rate(), c.rate);
        EXPECT_EQ(rig.recorder->get_bits_per_sample(), c.bits);
        EXPECT_TRUE(rig.recorder->is_recording());
        EXPECT_FALSE(rig.recorder->is_stopped());
    }
}

TEST(RecorderPCM, PushesFullBuffersInOrderAndQueuesThemAgain)
{
    Rig rig(1, 8000, 16);
    ASSERT_TRUE(rig.recorder->start());
    std::vector<uint8_t> captured = test::audio_bytes(25000);
    rig.driver.capture(captured);
    ASSERT_TRUE(rig.sink.wait_received(2));
    ASSERT_TRUE(rig.driver.wait_for_line("in add 10000", 22));

    // Stop hands back the half-filled buffer; a second stop asks the device nothing.
    EXPECT_TRUE(rig.recorder->stop());
    EXPECT_TRUE(rig.recorder->is_stopped());
    ASSERT_TRUE(rig.sink.wait_received(3));
    EXPECT_TRUE(rig.recorder->stop());
    EXPECT_EQ(rig.driver.count("in stop"), 1);

    auto chunks = rig.sink.received();
    ASSERT_EQ(chunks.size(), 3u);
    for (const audio::PCMData& chunk : chunks) {
        EXPECT_EQ(chunk.channels, 1);
        EXPECT_EQ(chunk.bits_per_sample, 16);
        EXPECT_EQ(chunk.sample_rate, 8000);
    }
    EXPECT_EQ(chunks[2].size(), 5000u);
    EXPECT_EQ(rig.sink.bytes(), std::string(captured.begin(), captured.end()));
    EXPECT_TRUE(rig.recorder->is_recording());

    // Start again resumes into the buffers still queued.
    ASSERT_TRUE(rig.recorder->start());
    EXPECT_FALSE(rig.recorder->is_stopped());
}

TEST(RecorderPCM, AConsumerTooSlowForAllTwentyBuffersEndsTheCapture)
{
    Rig rig(1, 8000, 8);
    rig.recorder->start();
    rig.sink.hold();
    rig.driver.capture(test::audio_bytes(5000));
    ASSERT_TRUE(rig.sink.wait_entered(1));
    // While the first push is held, the other nineteen fill and come back too.
    rig.driver.capture(test::audio_bytes(19 * 5000));
    rig.sink.release();
    ASSERT_TRUE(rig.sink.wait_received(20));
    EXPECT_TRUE(test::eventually([&] { return !rig.recorder->is_recording(); }));
    EXPECT_EQ(rig.driver.count("in add 5000"), 20) << "nothing queued again";
}

TEST(RecorderPCM, DestructorPushesTheBufferBeingFilledAndEveryQueuedOne)
{
    Rig rig(1, 8000, 16);
    rig.recorder->start();
    std::vector<uint8_t> captured = test::audio_bytes(15000);
    rig.driver.capture(captured);
    ASSERT_TRUE(rig.driver.wait_for_line("in add 10000", 21));

    rig.recorder.reset(); // still linked: the tail must reach the sink
    auto chunks = rig.sink.received();
    ASSERT_EQ(chunks.size(), 21u) << "one full buffer, then all twenty queued ones";
    EXPECT_EQ(chunks[1].size(), 5000u);
    for (size_t i = 2; i < chunks.size(); ++i)
        EXPECT_TRUE(chunks[i].is_empty());
    EXPECT_EQ(rig.sink.bytes(), std::string(captured.begin(), captured.end()));
    auto log = rig.driver.log();
    EXPECT_EQ(log[log.size() - 2], "in reset");
    EXPECT_EQ(log.back(), "in close");
}

TEST(RecorderPCM, WithoutADeviceNothingRecords)
{
    Rig rig(1, 8000, 16, true);
    EXPECT_FALSE(rig.recorder->is_recording());
    EXPECT_FALSE(rig.recorder->start());
    EXPECT_FALSE(rig.recorder->stop());
    EXPECT_FALSE(rig.recorder->is_stopped());
}

TEST(RecorderPCM, AFormatNoDeviceTakesOpensNothing)
{
    platform::ScopedService<platform::WaveDriver, ScriptedWaveDriver> driver(
        platform::wave_driver_slot());
    const int formats[][3]
        = { { 3, 8000, 16 }, { 1, 8000, 24 }, { 1, 0, 16 }, { 1 << 30, 1 << 30, 1 << 30 } };
    for (auto [channels, rate, bits] : formats) {
        audio::RecorderPCM recorder(channels, rate, bits);
        EXPECT_FALSE(recorder.is_recording());
        EXPECT_FALSE(recorder.start());
        recorder.get_bitrate(); // no overflow on the way
    }
    EXPECT_EQ(driver->count("in add 10000"), 0);
}

TEST(RecorderPCM, AFailedStartLeavesItStopped)
{
    Rig rig(1, 8000, 16);
    rig.driver.set_start_fails(true);
    EXPECT_FALSE(rig.recorder->start());
    EXPECT_TRUE(rig.recorder->is_stopped());
}

TEST(RecorderPCMDeathTest, RefusesPulls)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            audio::RecorderPCM recorder(1, 8000, 16);
            recorder.get_data(100);
        },
        "get_data unexpected - recorder is active object");
}
