// The document recording from SDL's disk audio driver, whose input is a raw
// file of sox's, into every recording format.
#include "tests/audio/RecordedFile.h"
#include "tests/model/DocumentFixture.h"
#include "tests/model/devices/DiskDriver.h"

#include <chrono>
#include <gtest/gtest.h>
#include <thread>

namespace {

class DocumentRecord : public test::DocumentTest { };

}

TEST_F(DocumentRecord, RecordsTheInputIntoEachFormat)
{
    if (!test::have_tool("sox") || !test::have_tool("ffprobe"))
        GTEST_SKIP() << "sox and ffprobe make and check the files";
    setenv("SDL_AUDIODRIVER", "disk", 1);
    // Real time, as a microphone fills the buffers: a device that fills all
    // of them before the recorder hands one back reads as one that stopped.
    unsetenv("SDL_DISKAUDIODELAY");
    const std::string input = dir.file("in.raw");
    ASSERT_EQ(test::run_tool({ "sox", "-n", "-r", "8000", "-b", "16", "-c", "1", "-e", "signed", "-t", "raw",
                                 input, "synth", "3", "sine", "440", "vol", "0.4" })
                  .exit_code,
        0);
    setenv("SDL_DISKAUDIOFILEIN", input.c_str(), 1);

    struct Case {
        std::u16string codec;
        std::string file, probe;
    } cases[] = {
        { u"PCM", "1.wav", "pcm_s16le,8000,1\n" },
        { u"ADPCM", "2.wav", "adpcm_ms,8000,1\n" },
        { u"GSM", "3.wav", "gsm_ms,8000,1\n" },
        { u"mp3", "1.mp3", "mp3,8000,1\n" },
    };

    platform::ScopedService<platform::WaveDriver, test::DiskDriver> driver(platform::wave_driver_slot(), dir);
    Document document;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        Settings& s = document.get_settings();
        s.codec = c.codec;
        s.channels = 1;
        s.bits = 16;
        s.samples = 8000;
        s.bitrate = 16000;
        ASSERT_TRUE(document.record(test::u16(dir.path())));
        for (int i = 0; i < 500 && document.get_position_seconds() < 1.0; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            document.on_timer();
        }
        EXPECT_TRUE(document.is_ok());
        EXPECT_TRUE(document.stop());
        EXPECT_EQ(test::probe_stream(dir.file(c.file)), c.probe);
        auto decoded = test::decode_s16(dir.file(c.file));
        EXPECT_GE(decoded.size(), 7000u);
        // The tone is there: 0.4 of full scale is an RMS near 9,300.
        EXPECT_NEAR(test::rms(decoded, 1000, 6000), 9300.0, 1500.0);
    }
}
