// The player and the recorder on SDL's disk audio driver: real devices whose
// output and input are raw files.
#include "audio/readers/FileReaderWAVPCM.h"
#include "audio/devices/PlayerPCM.h"
#include "audio/devices/RecorderPCM.h"
#include "platform/core/Utf8.h"
#include "platform/media/sdl/SdlWaveDriver.h"
#include "tests/audio/Signals.h"
#include "tests/audio/WavBytes.h"
#include "tests/audio/devices/DeviceDoubles.h"
#include "tests/audio/devices/WatchedDriver.h"
#include "tests/support/TempDir.h"
#include "tests/support/Tool.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace {

// Little-endian 16-bit samples, as a device plays and captures them.
std::string pcm16_bytes(const test::Samples& samples)
{
    const audio::PCMData chunk = test::chunk_of(samples, 1, 16, 8000);
    return std::string(reinterpret_cast<const char*>(chunk.bytes()), chunk.size());
}

class SdlDevices : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", dir.file("out.raw").c_str(), 1);
        setenv("SDL_DISKAUDIOFILEIN", dir.file("in.raw").c_str(), 1);
    }

    test::TempDir dir;
};

}

TEST_F(SdlDevices, PlayingAWavWritesItsAudioData)
{
    // The disk driver runs in real time here: at full speed it would play
    // silence into every gap between two of the player's refills.
    unsetenv("SDL_DISKAUDIODELAY");
    const std::string raw = pcm16_bytes(
        test::interleave(test::sine(440, 8000, 4000, 16000), test::sine(660, 8000, 4000, 16000)));
    ASSERT_EQ(raw.size(), 16000u);
    const std::string wav = dir.write("tone.wav", test::pcm_wav(2, 8000, 16, raw));

    platform::ScopedService<platform::WaveDriver, test::WatchedDriver> driver(
        platform::wave_driver_slot());
    {
        audio::FileReaderWAVPCM reader(platform::from_utf8(wav));
        audio::PlayerPCM player;
        audio::connect<audio::PCMData>(&reader, &player);
        player.play();
        // At the end of the data the device drains and closes.
        ASSERT_TRUE(driver->wait_for(platform::msg::wave_out_close));
        audio::connect<audio::PCMData>(&reader, nullptr);
    }
    std::string out = test::read_file(dir.file("out.raw"));
    size_t start = out.find(raw);
    ASSERT_NE(start, std::string::npos) << "the audio data, whole and in one piece";
    EXPECT_GE(out.find_first_not_of('\0'), start) << "only silence before it";
}

TEST_F(SdlDevices, RecordingARawFileGivesItBack)
{
    setenv("SDL_DISKAUDIODELAY", "0", 1);
    const std::string raw = pcm16_bytes(test::sine(300, 8000, 4000, 32000));
    dir.write("in.raw", raw);

    platform::ScopedService<platform::WaveDriver, test::WatchedDriver> driver(
        platform::wave_driver_slot());
    test::PcmSink sink;
    {
        audio::RecorderPCM recorder(1, 8000, 16);
        ASSERT_TRUE(recorder.is_recording());
        audio::connect<audio::PCMData>(&recorder, &sink);
        ASSERT_TRUE(recorder.start());
        ASSERT_TRUE(sink.wait_bytes(raw.size()));
        recorder.stop();
    }
    std::string recorded = sink.bytes();
    ASSERT_GE(recorded.size(), raw.size());
    EXPECT_EQ(recorded.substr(0, raw.size()), raw);
    // Past the end of its file the driver captures silence.
    EXPECT_EQ(recorded.find_first_not_of('\0', raw.size()), std::string::npos);
}
