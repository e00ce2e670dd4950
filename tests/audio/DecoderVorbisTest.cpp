#include "audio/codecs/DecoderVorbis.h"
#include "tests/audio/DecodedAudio.h"

#include <gtest/gtest.h>

namespace {

bool have_tools()
{
    return test::have_tool("oggenc") && test::have_tool("oggdec") && test::have_tool("ffmpeg")
        && test::have_tool("sox");
}

// Two tones, so the channels differ.
std::string stereo_wav(const test::TempDir& dir, double seconds)
{
    return test::make_file(dir, "in.wav",
        { "sox", "-n", "-r", "44100", "-c", "2", "-b", "16", "%o", "synth", std::to_string(seconds), "sine", "440",
            "sine", "660", "gain", "-3" });
}

std::string oggenc_stereo(const test::TempDir& dir)
{
    return test::make_file(dir, "oggenc.ogg", { "oggenc", "-Q", "-q", "3", "-o", "%o", stereo_wav(dir, 3) });
}

std::string whole(const std::string& path)
{
    audio::DecoderVorbis reader(test::u16(path));
    return test::read_all(reader, 8192, 2, 44100);
}

}

TEST(DecoderVorbis, DecodesAsOggdecDoes)
{
    if (!have_tools())
        GTEST_SKIP() << "oggenc, oggdec, ffmpeg or sox missing";
    test::TempDir dir;
    struct Case {
        std::string file;
        int channels, rate;
    } cases[] = {
        { oggenc_stereo(dir), 2, 44100 },
        { test::make_file(dir, "ffmpeg.ogg",
              { "ffmpeg", "-loglevel", "error", "-f", "lavfi", "-i", "sine=f=300:d=1.7:r=22050", "-c:a", "libvorbis",
                  "-y", "%o" }),
            1, 22050 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        std::string expected = test::tool({ "oggdec", "-Q", "-R", "-o", "-", c.file });
        ASSERT_FALSE(expected.empty());
        std::int64_t frames = std::int64_t(expected.size()) / (2 * c.channels);
        for (std::int32_t size : { 100000, 1000, 1 }) {
            audio::DecoderVorbis reader(test::u16(c.file));
            test::expect_format(reader, c.channels, c.rate);
            EXPECT_EQ(reader.get_length_bytes(), frames);
            std::string got = test::read_all(reader, size, c.channels, c.rate);
            ASSERT_EQ(got.size(), expected.size()) << "requests of " << size;
            // Tremor decodes in integers, oggdec in floating point.
            EXPECT_LE(test::max_difference(got, expected), 4) << "requests of " << size;
            EXPECT_TRUE(reader.is_end());
            EXPECT_EQ(reader.get_position_bytes(), frames);
        }
    }
}

TEST(DecoderVorbis, HandsOutAtMost8192FramesPerCall)
{
    if (!have_tools())
        GTEST_SKIP() << "oggenc or sox missing";
    test::TempDir dir;
    audio::DecoderVorbis reader(test::u16(oggenc_stereo(dir)));
    ASSERT_TRUE(reader.is_open());
    for (int i = 0; i < 20; ++i) {
        audio::PCMData chunk = reader.get_data(100000);
        ASSERT_FALSE(chunk.is_empty());
        EXPECT_LE(chunk.size(), 32768u);
        EXPECT_EQ(chunk.size() % 4, 0u);
    }
}

TEST(DecoderVorbis, SeeksToTheExactFrame)
{
    if (!have_tools())
        GTEST_SKIP() << "oggenc or sox missing";
    test::TempDir dir;
    std::string path = oggenc_stereo(dir);
    audio::DecoderVorbis reader(test::u16(path));
    ASSERT_TRUE(reader.is_open());
    EXPECT_EQ(reader.time_to_bytes(2.0), 88200);
    EXPECT_DOUBLE_EQ(reader.bytes_to_time(66150), 1.5);
    EXPECT_DOUBLE_EQ(reader.get_length(), 3.0);
    std::int64_t length = reader.get_length_bytes();
    test::expect_exact_seeks(reader, whole(path),
        {
            { 88200, 88200 },
            { 12345, 12345 },
            { 0, 0 },
            { length - 100, length - 100 },
            { -7, 0 },
            { length + 5000, length },
        });
    reader.seek(2.0);
    EXPECT_EQ(reader.get_position_bytes(), 88200);
    EXPECT_FALSE(reader.is_end());
}

TEST(DecoderVorbis, SkipPassesTheSpanOnToTheConsumer)
{
    if (!have_tools())
        GTEST_SKIP() << "oggenc or sox missing";
    test::TempDir dir;
    std::string path = oggenc_stereo(dir);
    std::string all = whole(path);
    audio::DecoderVorbis reader(test::u16(path));
    test::Collector<audio::PCMData> sink;
    audio::connect<audio::PCMData>(&reader, &sink);
    reader.seek_bytes(1000);
    EXPECT_TRUE(reader.skip_bytes(20000));
    EXPECT_EQ(reader.get_position_bytes(), 21000);
    EXPECT_EQ(sink.all_bytes(), all.substr(4000, 80000));
    EXPECT_TRUE(reader.skip(0.5));
    EXPECT_EQ(reader.get_position_bytes(), 21000 + 22050);
    EXPECT_FALSE(reader.skip(10.0)); // runs out first
    EXPECT_TRUE(reader.is_end());
    audio::connect<audio::PCMData>(&reader, nullptr);
}

TEST(DecoderVorbis, RefusesOtherFilesAndEndsCutOnes)
{
    if (!have_tools())
        GTEST_SKIP() << "oggenc or sox missing";
    test::TempDir dir;
    std::string ogg = oggenc_stereo(dir);
    std::string bytes = test::read_file(ogg);
    const std::string refused[] = {
        stereo_wav(dir, 0.2),
        dir.write("empty.ogg", ""),
        dir.write("text.ogg", "OggS is not enough to be a stream\n"),
        dir.write("first_bytes.ogg", bytes.substr(0, 200)),
        dir.file("missing.ogg"),
    };
    for (const auto& path : refused)
        test::expect_refused<audio::DecoderVorbis>(path);

    // Headers without audio: nothing to play, and no division by its zero
    // length.
    std::size_t audio_page = bytes.find("OggS", bytes.find("OggS", 1) + 1);
    ASSERT_NE(audio_page, std::string::npos);
    audio::DecoderVorbis silent(test::u16(dir.write("headers.ogg", bytes.substr(0, audio_page))));
    EXPECT_EQ(silent.get_length_bytes(), 0);
    EXPECT_TRUE(silent.is_end());
    EXPECT_TRUE(silent.get_data(100).is_empty());

    // A file cut inside a page plays the whole pages it holds, then ends.
    std::string cut_path = dir.write("cut.ogg", bytes.substr(0, bytes.size() * 3 / 4));
    audio::DecoderVorbis cut(test::u16(cut_path));
    ASSERT_TRUE(cut.is_open());
    std::string got = test::read_all(cut, 8192, 2, 44100);
    EXPECT_GT(got.size(), 0u);
    EXPECT_EQ(got.size(), test::tool({ "oggdec", "-Q", "-R", "-o", "-", cut_path }).size());
    EXPECT_TRUE(cut.is_end());
}
