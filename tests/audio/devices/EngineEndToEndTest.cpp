// The engine end to end on SDL's disk audio driver: files play through their
// chains and the fixed play stages into a raw output file, and a raw input
// file is recorded into every recording format.
#include "audio/devices/ActiveBuffer.h"
#include "audio/chains/ChainFactory.h"
#include "audio/filters/EqualizerPCM.h"
#include "audio/filters/FastPlay.h"
#include "audio/readers/FileReader.h"
#include "audio/writers/FileWriter.h"
#include "audio/filters/LevelFilter.h"
#include "audio/filters/LevelMeter.h"
#include "audio/filters/NullProcessor.h"
#include "audio/devices/PlayerPCM.h"
#include "audio/Processor.h"
#include "audio/devices/RecorderPCM.h"
#include "audio/filters/StretchFilter.h"
#include "model/PlayChainFactory.h"
#include "tests/audio/DecodedAudio.h"
#include "tests/audio/RecordedFile.h"
#include "tests/audio/devices/WatchedDriver.h"

#include <atomic>
#include <cstdlib>
#include <gtest/gtest.h>
#include <thread>

namespace {

// Counts what is pushed through it.
class Tap : public audio::Processor<audio::PCMData, audio::PCMData> {
public:
    std::atomic<std::size_t> bytes { 0 };

    audio::PCMData process(const audio::PCMData& chunk) override
    {
        bytes += chunk.size();
        return chunk;
    }
};

template<typename Predicate>
bool wait_until(Predicate done)
{
    for (int i = 0; i < 2000 && !done(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return done();
}

class Engine : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!test::have_tool("sox") || !test::have_tool("ffmpeg") || !test::have_tool("lame"))
            GTEST_SKIP() << "sox, ffmpeg and lame make and check the files";
        setenv("SDL_AUDIODRIVER", "disk", 1);
    }

    test::TempDir dir;
};

}

TEST_F(Engine, PlaysEachFormatThroughTheFixedStages)
{
    // Real time, as in the device tests: at full speed the driver would play
    // silence into the gaps between the player's refills.
    unsetenv("SDL_DISKAUDIODELAY");
    const std::string wav = test::make_file(dir, "tone.wav",
        { "sox", "-n", "-r", "22050", "-c", "2", "-b", "16", "%o", "synth", "0.4", "sine", "440", "sine",
            "550" });
    const std::string files[] = {
        test::fixture("wav/pcm16_stereo.wav"),
        test::make_file(dir, "tone.mp3", { "lame", "--quiet", "-b", "64", wav, "%o" }),
        test::make_file(dir, "tone.ogg", { "oggenc", "-Q", "-o", "%o", wav }),
        test::make_file(
            dir, "tone.wma", { "ffmpeg", "-loglevel", "error", "-i", wav, "-c:a", "wmav2", "-y", "%o" }),
    };
    int n = 0;
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        std::string expected;
        {
            auto chain = open_play_chain(test::u16(file), nullptr);
            ASSERT_NE(chain, nullptr);
            audio::FileReader* reader = chain->get_reader();
            expected = test::read_all(
                *chain->get_output(), 4096, reader->get_channels(), reader->get_sample_rate());
        }
        ASSERT_FALSE(expected.empty());

        const std::string out = dir.file("out" + std::to_string(n++) + ".raw");
        setenv("SDL_DISKAUDIOFILE", out.c_str(), 1);
        platform::ScopedService<platform::WaveDriver, test::WatchedDriver> driver(
            platform::wave_driver_slot());
        {
            auto chain = open_play_chain(test::u16(file), nullptr);
            audio::NullProcessor<audio::PCMData> head;
            audio::EqualizerPCM band;
            band.set_frequency(1000);
            band.set_gain(0);
            band.design();
            audio::FastPlay fast;
            audio::StretchFilter stretch;
            // Every level control off: the filter hands the audio on untouched.
            audio::LevelFilter levels;
            audio::LevelMeter meter;
            audio::PlayerPCM player;
            audio::connect<audio::PCMData>(chain->get_output(), &head);
            audio::connect<audio::PCMData>(&head, &band);
            audio::connect<audio::PCMData>(&band, &fast);
            audio::connect<audio::PCMData>(&fast, &stretch);
            audio::connect<audio::PCMData>(&stretch, &levels);
            audio::connect<audio::PCMData>(&levels, &meter);
            audio::connect<audio::PCMData>(&meter, &player);
            ASSERT_TRUE(player.play());
            EXPECT_TRUE(driver->wait_for(platform::msg::wave_out_close));
            audio::connect<audio::PCMData>(chain->get_output(), nullptr);
            audio::connect<audio::PCMData>(&head, nullptr);
            audio::connect<audio::PCMData>(&band, nullptr);
            audio::connect<audio::PCMData>(&fast, nullptr);
            audio::connect<audio::PCMData>(&stretch, nullptr);
            audio::connect<audio::PCMData>(&levels, nullptr);
            audio::connect<audio::PCMData>(&meter, nullptr);
        }
        const std::string played = test::read_file(out);
        EXPECT_NE(played.find(expected), std::string::npos) << "the decoded audio, whole and in one piece";
    }
}

TEST_F(Engine, RecordsAnInputFileIntoEachFormat)
{
    setenv("SDL_DISKAUDIODELAY", "0", 1);
    const std::string input = dir.file("in.raw");
    ASSERT_EQ(test::run_tool({ "sox", "-n", "-r", "8000", "-b", "16", "-c", "1", "-e", "signed", "-t", "raw",
                                 input, "synth", "1", "sine", "440", "vol", "0.4" })
                  .exit_code,
        0);
    setenv("SDL_DISKAUDIOFILEIN", input.c_str(), 1);
    setenv("SDL_DISKAUDIOFILE", dir.file("unused.raw").c_str(), 1);

    struct Case {
        std::u16string name;
        std::string file, codec;
        std::size_t min_samples;
    } cases[] = {
        { u"PCM", "rec.wav", "pcm_s16le", 8000 },
        { u"ADPCM", "rec_adpcm.wav", "adpcm_ms", 7575 },
        { u"GSM", "rec_gsm.wav", "gsm_ms", 8000 },
        { u"mp3", "rec.mp3", "mp3", 8000 },
    };

    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string path = dir.file(c.file);
        platform::ScopedService<platform::WaveDriver, test::WatchedDriver> driver(
            platform::wave_driver_slot());
        {
            auto chain = audio::create_record_chain(test::u16(path), c.name, 1, 16, 8000, 16000, false);
            ASSERT_NE(chain, nullptr);
            Tap tap;
            audio::ActiveBuffer buffer;
            audio::connect<audio::PCMData>(&tap, &buffer);
            audio::connect<audio::PCMData>(&buffer, chain->get_input());
            {
                audio::RecorderPCM recorder(1, 8000, 16);
                ASSERT_TRUE(recorder.is_recording());
                audio::connect<audio::PCMData>(&recorder, &tap);
                ASSERT_TRUE(recorder.start());
                EXPECT_TRUE(wait_until([&] { return tap.bytes >= 16000; }));
                recorder.stop();
            }
            EXPECT_TRUE(wait_until([&] { return buffer.get_queued_chunks() == 0; }));
            audio::connect<audio::PCMData>(&tap, nullptr);
            audio::connect<audio::PCMData>(&buffer, nullptr);
            EXPECT_TRUE(chain->get_writer()->is_ok());
        }
        EXPECT_EQ(test::probe_stream(path), c.codec + ",8000,1\n");
        auto decoded = test::decode_s16(path);
        EXPECT_GE(decoded.size(), c.min_samples);
        // The tone is there: 0.4 of full scale is an RMS near 9,300.
        EXPECT_NEAR(test::rms(decoded, 1000, 7000), 9300.0, 1500.0);
    }
}
