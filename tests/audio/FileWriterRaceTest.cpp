#include "audio/codecs/EncoderADPCM.h"
#include "audio/writers/FileWriterMP3.h"
#include "audio/writers/FileWriterWAVADPCM.h"
#include "platform/core/Utf8.h"
#include "tests/support/TempDir.h"

#include <atomic>
#include <gtest/gtest.h>
#include <thread>

// The record buffer's worker pushes into the encoder and writer while the
// user interface asks for the recording's size and health.
TEST(FileWriterRace, QueriesWhileTheWorkerWrites)
{
    test::TempDir dir;
    audio::EncoderADPCM encoder;
    audio::FileWriterWAVADPCM writer(platform::from_utf8(dir.file("race.wav")));
    audio::FileWriterMP3 mp3(platform::from_utf8(dir.file("race.mp3")));
    audio::connect(&encoder, &writer);
    std::atomic<bool> done { false };
    std::thread worker([&] {
        liba::SharedBuffer pcm(3000);
        pcm.fill(0x11);
        audio::MP3Data frame;
        frame.buffer = pcm;
        for (int i = 0; i < 400; ++i) {
            encoder.on_data(audio::PCMData(pcm, 1, 16, 8000));
            mp3.on_data(frame);
        }
        done = true;
    });
    std::int64_t last = 0, last_mp3 = 0;
    int bad = 0;
    while (!done.load()) {
        std::int64_t size = writer.get_data_size(), size_mp3 = mp3.get_data_size();
        if (size < last || size_mp3 < last_mp3 || !writer.is_ok() || !mp3.is_ok() || encoder.get_bitrate() < 0)
            ++bad;
        last = size;
        last_mp3 = size_mp3;
    }
    worker.join();
    audio::connect(&encoder, nullptr);
    EXPECT_EQ(bad, 0);
    EXPECT_EQ(writer.get_data_size(), 400 * 3000 / 1000);
    EXPECT_EQ(mp3.get_data_size(), 400 * 3000);
}
