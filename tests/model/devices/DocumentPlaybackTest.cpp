// The document playing real files on SDL's disk audio driver, driven by its
// tick as the main form drives it.
#include "audio/readers/FileReader.h"
#include "model/PlayChainFactory.h"
#include "tests/audio/DecodedAudio.h"
#include "tests/model/DocumentFixture.h"
#include "tests/model/devices/DiskDriver.h"

#include <chrono>
#include <gtest/gtest.h>
#include <thread>

namespace {

class DocumentPlayback : public test::DocumentTest {
protected:
    void SetUp() override
    {
        if (!test::have_tool("sox") || !test::have_tool("ffmpeg") || !test::have_tool("lame")
            || !test::have_tool("oggenc"))
            GTEST_SKIP() << "sox, ffmpeg, lame and oggenc make the files";
        // Real time: at full speed the driver would play silence into the
        // gaps between the player's refills.
        unsetenv("SDL_DISKAUDIODELAY");
        setenv("SDL_AUDIODRIVER", "disk", 1);
    }

    std::string tone(const std::string& name, const char* seconds, const char* frequency)
    {
        return test::make_file(dir, name,
            { "sox", "-n", "-r", "22050", "-c", "2", "-b", "16", "%o", "synth", seconds, "sine", frequency,
                "sine", "660" });
    }

    // The file's audio as its own chain decodes it.
    static std::string decoded(const std::string& file)
    {
        auto chain = open_play_chain(test::u16(file), nullptr);
        if (!chain)
            return {};
        audio::FileReader* reader = chain->get_reader();
        return test::read_all(*chain->get_output(), 4096, reader->get_channels(), reader->get_sample_rate());
    }

    // Ticks as the main form's timer does until playback stops.
    static bool tick_until_stopped(Document& document)
    {
        for (int i = 0; i < 600 && document.is_playing(); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            document.on_timer();
        }
        return !document.is_playing();
    }
};

// Frames of silence left out: a pause plays silence, and the player may
// leave a gap between two items.
std::string without_silence(const std::string& pcm)
{
    std::string kept;
    for (std::size_t i = 0; i + 4 <= pcm.size(); i += 4) {
        if (pcm.compare(i, 4, std::string(4, '\0')) != 0)
            kept.append(pcm, i, 4);
    }
    return kept;
}

}

TEST_F(DocumentPlayback, APlayListOfEveryKindPlaysThroughInOrder)
{
    const std::string wav = tone("a.wav", "0.4", "440");
    const std::string files[] = {
        wav,
        test::make_file(dir, "b.mp3", { "lame", "--quiet", "-b", "64", tone("b.wav", "0.4", "550"), "%o" }),
        test::make_file(dir, "c.ogg", { "oggenc", "-Q", "-o", "%o", tone("c.wav", "0.4", "330") }),
        test::make_file(dir, "d.wma",
            { "ffmpeg", "-loglevel", "error", "-i", tone("d.wav", "0.4", "770"), "-c:a", "wmav2", "-y",
                "%o" }),
    };
    std::vector<playlist::Entry> list;
    for (const auto& file : files) {
        playlist::Entry entry;
        entry.path = test::u16(file);
        list.push_back(entry);
    }

    platform::ScopedService<platform::WaveDriver, test::DiskDriver> driver(
        platform::wave_driver_slot(), dir);
    {
        Document document;
        document.set_play_mode(PlayMode::PlaylistOnce);
        document.set_play_list(test::u16(dir.path()), list, 0, false);
        ASSERT_TRUE(document.play_item(0));
        EXPECT_TRUE(tick_until_stopped(document));
        // The last buffers play out after the stop.
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    }

    const std::string played = without_silence(driver->played());
    std::size_t at = 0;
    for (const auto& file : files) {
        SCOPED_TRACE(file);
        const std::string expected = without_silence(decoded(file));
        ASSERT_FALSE(expected.empty());
        const std::size_t found = played.find(expected, at);
        ASSERT_NE(found, std::string::npos) << "the decoded audio, whole, after the item before it";
        at = found + expected.size();
    }
}

TEST_F(DocumentPlayback, PauseHoldsThePositionAndResumeGoesOnWhereItStopped)
{
    const std::string file = tone("long.wav", "2.5", "440");
    platform::ScopedService<platform::WaveDriver, test::DiskDriver> driver(
        platform::wave_driver_slot(), dir);
    {
        Document document;
        document.set_play_list(test::u16(dir.path()), test::entries({ test::u16(file) }), 0, false);
        ASSERT_TRUE(document.play_item(0));
        std::this_thread::sleep_for(std::chrono::milliseconds(700));
        ASSERT_TRUE(document.pause());
        EXPECT_TRUE(document.is_paused());
        const double paused_at = document.get_position_seconds();
        std::this_thread::sleep_for(std::chrono::milliseconds(1000));
        // One 200 ms buffer may still have been pulled.
        EXPECT_LE(document.get_position_seconds() - paused_at, 0.2);
        EXPECT_LT(document.get_position_seconds(), 2.5);
        ASSERT_TRUE(document.resume());
        EXPECT_FALSE(document.is_paused());
        EXPECT_TRUE(tick_until_stopped(document));
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    }
    // Nothing lost or played twice: only silence came between.
    EXPECT_NE(without_silence(driver->played()).find(without_silence(decoded(file))), std::string::npos);
}
