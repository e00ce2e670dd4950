#include "audio/codecs/DecoderMP3.h"
#include "audio/readers/FileReaderMP3.h"
#include "audio/readers/FileReaderWAVADPCM.h"
#include "audio/readers/FileReaderWAVPCM.h"
#include "platform/core/Utf8.h"
#include "tests/audio/ReaderRace.h"
#include "tests/support/TempDir.h"

#include <atomic>
#include <gtest/gtest.h>
#include <thread>

TEST(FileReaderRace, GuiQueriesWhileThePlayerPulls)
{
    audio::FileReaderWAVPCM pcm(platform::from_utf8(test::fixture("wav/pcm16_mono_list.wav")));
    ASSERT_TRUE(pcm.is_open());
    test::pull_while_seeking(pcm, 100, 2);

    audio::FileReaderWAVADPCM adpcm(platform::from_utf8(test::fixture("wav/adpcm_stereo.wav")));
    ASSERT_TRUE(adpcm.is_open());
    test::pull_while_seeking(adpcm, 2, 1024);

    audio::FileReaderMP3 mp3(platform::from_utf8(test::fixture("mp3/lame_mpeg1_stereo.mp3")));
    ASSERT_TRUE(mp3.is_open());
    test::pull_while_seeking(mp3, 1, 1);
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
