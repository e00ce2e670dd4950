#include "audio/readers/FileReaderWMA.h"
#include "tests/audio/DecodedAudio.h"

#include <gtest/gtest.h>

namespace {

std::string wma_file(const test::TempDir& dir, const std::string& name, const std::string& codec, int channels,
    int rate, double seconds)
{
    std::string tone = "sine=f=440:d=" + std::to_string(seconds) + ":r=" + std::to_string(rate);
    std::string other = "sine=f=660:d=" + std::to_string(seconds) + ":r=" + std::to_string(rate);
    if (channels == 1)
        return test::make_file(dir, name,
            { "ffmpeg", "-loglevel", "error", "-f", "lavfi", "-i", tone, "-c:a", codec, "-y", "%o" });
    return test::make_file(dir, name,
        { "ffmpeg", "-loglevel", "error", "-f", "lavfi", "-i", tone, "-f", "lavfi", "-i", other, "-filter_complex",
            "amerge", "-c:a", codec, "-y", "%o" });
}

}

TEST(FileReaderWMA, DecodesAsFfmpegDoes)
{
    if (!test::have_tool("ffmpeg"))
        GTEST_SKIP() << "ffmpeg missing";
    test::TempDir dir;
    struct Case {
        std::string file;
        int channels, rate;
        std::int64_t length_ms;
    } cases[] = {
        { wma_file(dir, "v1.wma", "wmav1", 2, 44100, 2.0), 2, 44100, 2000 },
        { wma_file(dir, "v2.wma", "wmav2", 2, 44100, 2.0), 2, 44100, 2000 },
        { wma_file(dir, "v2mono.wma", "wmav2", 1, 22050, 1.5), 1, 22050, 1500 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        std::string expected = test::ffmpeg_decode(c.file);
        ASSERT_FALSE(expected.empty());
        for (std::int32_t size : { 100000, 1000, 3 }) {
            audio::FileReaderWMA reader(test::u16(c.file));
            test::expect_format(reader, c.channels, c.rate);
            // The stated duration: within one coded frame of the tone's.
            EXPECT_NEAR(double(reader.get_length_bytes()), double(c.length_ms), 100.0);
            std::string got = test::read_all(reader, std::min(size, 8192), c.channels, c.rate);
            EXPECT_EQ(got.size(), expected.size()) << "requests of " << size;
            EXPECT_TRUE(got == expected) << "requests of " << size;
            EXPECT_TRUE(reader.is_end());
            std::int64_t frames = std::int64_t(got.size()) / (2 * c.channels);
            EXPECT_EQ(reader.get_position_bytes(), frames * 1000 / c.rate);
        }
    }
}

TEST(FileReaderWMA, CountsMillisecondsAndHandsOutAtMost8192Frames)
{
    if (!test::have_tool("ffmpeg"))
        GTEST_SKIP() << "ffmpeg missing";
    test::TempDir dir;
    audio::FileReaderWMA reader(test::u16(wma_file(dir, "v2.wma", "wmav2", 2, 44100, 3.0)));
    ASSERT_TRUE(reader.is_open());
    EXPECT_EQ(reader.time_to_bytes(60.0), 60000);
    EXPECT_EQ(reader.time_to_bytes(1.2345), 1234);
    EXPECT_DOUBLE_EQ(reader.bytes_to_time(1500), 1.5);
    audio::PCMData chunk = reader.get_data(100000);
    EXPECT_EQ(chunk.get_frames(), 8192);
    EXPECT_EQ(reader.get_position_bytes(), 8192 * 1000 / 44100);
    EXPECT_FALSE(reader.is_paused());
    reader.set_paused(true);
    EXPECT_TRUE(reader.is_paused());
}

TEST(FileReaderWMA, SeeksWithinAMillisecond)
{
    if (!test::have_tool("ffmpeg"))
        GTEST_SKIP() << "ffmpeg missing";
    test::TempDir dir;
    for (const char* codec : { "wmav1", "wmav2" }) {
        SCOPED_TRACE(codec);
        std::string path = wma_file(dir, std::string(codec) + ".wma", codec, 2, 44100, 3.0);
        std::string whole = test::ffmpeg_decode(path);
        audio::FileReaderWMA reader(test::u16(path));
        ASSERT_TRUE(reader.is_open());
        std::int64_t length = reader.get_length_bytes();
        reader.get_data(5000);
        struct Case {
            std::int64_t to, lands;
        } seeks[] = {
            { 1000, 1000 },
            { 2345, 2345 },
            { 0, 0 },
            { 10, 10 },
            { -50, 0 },
            { length + 1000, length },
        };
        for (const auto& s : seeks) {
            SCOPED_TRACE(s.to);
            reader.seek_bytes(s.to);
            EXPECT_EQ(reader.get_position_bytes(), s.lands);
            std::string next = test::read_all(reader, 4096, 2, 44100);
            EXPECT_TRUE(reader.is_end());
            if (s.lands >= length)
                continue;
            // The samples that come next are the whole decode's, from a
            // place no further than a millisecond (44 frames) off.
            next = next.substr(0, 8000);
            std::int64_t at = s.lands * 44100 / 1000;
            std::int64_t found = -1;
            for (std::int64_t offset = std::max<std::int64_t>(at - 45, 0); offset <= at + 45; ++offset) {
                if (whole.compare(std::size_t(offset) * 4, next.size(), next) == 0)
                    found = offset;
            }
            EXPECT_NE(found, -1);
        }
        reader.seek(1.5);
        EXPECT_EQ(reader.get_position_bytes(), 1500);
        test::Collector<audio::PCMData> sink;
        audio::connect<audio::PCMData>(&reader, &sink);
        EXPECT_TRUE(reader.skip_bytes(500));
        EXPECT_EQ(sink.all_bytes().size(), 22050u * 4);
        EXPECT_EQ(reader.get_position_bytes(), 2000);
        EXPECT_FALSE(reader.skip(5.0));
        audio::connect<audio::PCMData>(&reader, nullptr);
    }
}

TEST(FileReaderWMA, RefusesOtherFilesAndEndsCutOnes)
{
    if (!test::have_tool("ffmpeg"))
        GTEST_SKIP() << "ffmpeg missing";
    test::TempDir dir;
    std::string wma = wma_file(dir, "v2.wma", "wmav2", 2, 44100, 2.0);
    std::string bytes = test::read_file(wma);
    auto make = [&](const std::string& name, const std::string& codec) {
        return test::make_file(dir, name,
            { "ffmpeg", "-loglevel", "error", "-f", "lavfi", "-i", "sine=d=0.5", "-c:a", codec, "-y", "%o" });
    };
    const std::string refused[] = {
        make("pcm.wav", "pcm_s16le"),
        make("vorbis.ogg", "libvorbis"),
        make("mp3.wma", "libmp3lame"), // the right container, another codec
        dir.write("empty.wma", ""),
        dir.write("header.wma", bytes.substr(0, 30)),
        dir.write("text.wma", "not a WMA file\n"),
        dir.file("missing.wma"),
    };
    for (const auto& path : refused)
        test::expect_refused<audio::FileReaderWMA>(path);

    audio::FileReaderWMA cut(test::u16(dir.write("cut.wma", bytes.substr(0, bytes.size() / 2))));
    ASSERT_TRUE(cut.is_open());
    // The header's duration is gone with the end of the file: the length is
    // what the packets left hold, which is what plays, to a packet.
    double length = cut.get_length();
    std::string got = test::read_all(cut, 4096, 2, 44100);
    EXPECT_GT(got.size(), 44100u * 4 / 2);
    EXPECT_LT(got.size(), 44100u * 4 * 3 / 2);
    EXPECT_NEAR(length, double(got.size()) / (44100 * 4), 0.1);
    EXPECT_TRUE(cut.is_end());
}

TEST(FileReaderWMA, ACutLongFileMeasuresItsEndAlone)
{
    if (!test::have_tool("ffmpeg"))
        GTEST_SKIP() << "ffmpeg missing";
    test::TempDir dir;
    // Three minutes at 128 kbit/s: far more than the end that is read.
    std::string bytes = test::read_file(wma_file(dir, "long.wma", "wmav2", 2, 44100, 180.0));
    audio::FileReaderWMA cut(test::u16(dir.write("cut.wma", bytes.substr(0, bytes.size() / 2))));
    ASSERT_TRUE(cut.is_open());
    EXPECT_NEAR(cut.get_length(), 90.0, 1.0);
    cut.seek(80.0);
    EXPECT_NEAR(cut.get_position(), 80.0, 0.01);
}

TEST(FileReaderWMA, FfmpegComesWithTheFirstWmaFile)
{
    if (!test::have_tool("ffmpeg"))
        GTEST_SKIP() << "ffmpeg missing";
    const auto ffmpeg_loaded = [] { return test::read_file("/proc/self/maps").find("libavcodec") != std::string::npos; };
    // ctest runs each test in a process of its own; a whole run of the suite may have opened one before.
    if (ffmpeg_loaded())
        GTEST_SKIP() << "a WMA file was opened before in this process";
    test::TempDir dir;
    const std::string file = wma_file(dir, "first.wma", "wmav2", 1, 22050, 0.5);
    EXPECT_FALSE(ffmpeg_loaded()) << "nothing before a WMA file opens";
    audio::FileReaderWMA reader(test::u16(file));
    test::expect_format(reader, 1, 22050);
    EXPECT_TRUE(ffmpeg_loaded());
}
