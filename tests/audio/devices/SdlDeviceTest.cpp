// The player and the recorder on SDL's disk audio driver: real devices whose
// output and input are raw files.
#include "audio/readers/FileReaderWAVPCM.h"
#include "audio/devices/PlayerPCM.h"
#include "audio/devices/RecorderPCM.h"
#include "platform/Utf8.h"
#include "platform/sdl/SdlWaveDriver.h"
#include "tests/audio/devices/DeviceDoubles.h"
#include "tests/audio/devices/WatchedDriver.h"
#include "tests/support/TempDir.h"
#include "tests/support/Tool.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace {

class SdlDevices : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!test::have_tool("sox"))
            GTEST_SKIP() << "sox makes the fixtures";
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
    std::string wav = dir.file("tone.wav");
    ASSERT_EQ(test::run_tool({ "sox", "-n", "-r", "8000", "-b", "16", "-c", "2", wav, "synth", "0.5", "sine",
                                 "440", "sine", "660" })
                  .exit_code,
        0);
    test::ToolResult raw = test::run_tool({ "sox", wav, "-t", "raw", "-" });
    ASSERT_EQ(raw.exit_code, 0);
    ASSERT_EQ(raw.out.size(), 16000u);

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
    size_t start = out.find(raw.out);
    ASSERT_NE(start, std::string::npos) << "the audio data, whole and in one piece";
    EXPECT_GE(out.find_first_not_of('\0'), start) << "only silence before it";
}

TEST_F(SdlDevices, RecordingARawFileGivesItBack)
{
    setenv("SDL_DISKAUDIODELAY", "0", 1);
    test::ToolResult raw = test::run_tool({ "sox", "-n", "-r", "8000", "-b", "16", "-c", "1", "-e", "signed",
        "-t", "raw", "-", "synth", "0.5", "sine", "300" });
    ASSERT_EQ(raw.exit_code, 0);
    dir.write("in.raw", raw.out);

    platform::ScopedService<platform::WaveDriver, test::WatchedDriver> driver(
        platform::wave_driver_slot());
    test::PcmSink sink;
    {
        audio::RecorderPCM recorder(1, 8000, 16);
        ASSERT_TRUE(recorder.is_recording());
        audio::connect<audio::PCMData>(&recorder, &sink);
        ASSERT_TRUE(recorder.start());
        ASSERT_TRUE(sink.wait_bytes(raw.out.size()));
        recorder.stop();
    }
    std::string recorded = sink.bytes();
    ASSERT_GE(recorded.size(), raw.out.size());
    EXPECT_EQ(recorded.substr(0, raw.out.size()), raw.out);
    // Past the end of its file the driver captures silence.
    EXPECT_EQ(recorded.find_first_not_of('\0', raw.out.size()), std::string::npos);
}
