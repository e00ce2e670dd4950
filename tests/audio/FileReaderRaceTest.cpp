#include "audio/DecoderMP3.h"
#include "audio/FileReaderMP3.h"
#include "audio/FileReaderWAVADPCM.h"
#include "audio/FileReaderWAVPCM.h"
#include "platform/Utf8.h"
#include "tests/support/TempDir.h"

#include <atomic>
#include <gtest/gtest.h>
#include <thread>

namespace {

// One thread pulls as the player does while this one asks and seeks as the
// user interface does; every answer must stay within the file.
template<typename Reader>
void pull_while_seeking(Reader& reader, std::int32_t request, std::size_t unit)
{
    std::atomic<bool> done { false };
    std::atomic<int> bad { 0 };
    std::thread player([&] {
        while (!done.load()) {
            auto chunk = reader.get_data(request);
            if (chunk.size() % unit != 0)
                ++bad;
        }
    });
    const std::int64_t length = reader.get_length_bytes();
    for (int i = 0; i < 500; ++i) {
        std::int64_t at = reader.get_position_bytes();
        if (at < 0 || at > length || reader.get_length_bytes() != length)
            ++bad;
        reader.is_end();
        reader.get_position();
        reader.seek_bytes(i * 7919 % (length + 1));
    }
    done = true;
    player.join();
    EXPECT_EQ(bad.load(), 0);
}

}

TEST(FileReaderRace, GuiQueriesWhileThePlayerPulls)
{
    audio::FileReaderWAVPCM pcm(platform::from_utf8(test::fixture("wav/pcm16_mono_list.wav")));
    ASSERT_TRUE(pcm.is_open());
    pull_while_seeking(pcm, 100, 2);

    audio::FileReaderWAVADPCM adpcm(platform::from_utf8(test::fixture("wav/adpcm_stereo.wav")));
    ASSERT_TRUE(adpcm.is_open());
    pull_while_seeking(adpcm, 2, 1024);

    audio::FileReaderMP3 mp3(platform::from_utf8(test::fixture("mp3/lame_mpeg1_stereo.mp3")));
    ASSERT_TRUE(mp3.is_open());
    pull_while_seeking(mp3, 1, 1);
}

TEST(FileReaderRace, SeeksWhileTheDecoderPulls)
{
    audio::FileReaderMP3 reader(platform::from_utf8(test::fixture("mp3/lame_mpeg1_stereo.mp3")));
    ASSERT_TRUE(reader.is_open());
    audio::DecoderMP3 decoder;
    audio::connect<audio::MP3Data>(&reader, &decoder);
    std::atomic<bool> done { false };
    std::atomic<int> bad { 0 };
    std::thread player([&] {
        while (!done.load()) {
            auto chunk = decoder.get_data(700);
            if (chunk.size() % 4 != 0 || chunk.size() > 2800)
                ++bad;
        }
    });
    for (int i = 0; i < 300; ++i)
        reader.seek_bytes(i * 1237 % reader.get_length_bytes());
    done = true;
    player.join();
    audio::connect<audio::MP3Data>(&reader, nullptr);
    EXPECT_EQ(bad.load(), 0);
}
