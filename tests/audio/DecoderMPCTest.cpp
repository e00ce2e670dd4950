#include "audio/codecs/DecoderMPC.h"
#include "tests/audio/DecodedAudio.h"

#include <gtest/gtest.h>

namespace {

std::string sv7_fixture()
{
    return test::fixture("musepack/sv7-440hz.mpc");
}

// mpcdec writes a plain 44-byte WAV header before the samples.
std::string mpcdec_samples(const test::TempDir& dir, const std::string& path)
{
    std::string wav = dir.file("mpcdec.wav");
    test::tool({ "mpcdec", path, wav });
    return test::read_file(wav).substr(44);
}

std::string sv8_file(const test::TempDir& dir)
{
    std::string wav = test::make_file(dir, "in.wav",
        { "sox", "-n", "-r", "44100", "-c", "2", "-b", "16", "%o", "synth", "2.5", "sine", "440", "sine", "660",
            "gain", "-3" });
    return test::make_file(dir, "sv8.mpc", { "mpcenc", "--silent", "--overwrite", wav, "%o" });
}

std::string whole(const std::string& path)
{
    audio::DecoderMPC reader(test::u16(path));
    return test::read_all(reader, 1 << 20, reader.get_channels(), reader.get_sample_rate());
}

bool have_tools()
{
    return test::have_tool("mpcenc") && test::have_tool("mpcdec") && test::have_tool("sox");
}

}

TEST(DecoderMPC, DecodesVersions7And8AsMpcdecDoes)
{
    if (!have_tools())
        GTEST_SKIP() << "mpcenc, mpcdec or sox missing";
    test::TempDir dir;
    for (const std::string& path : { sv7_fixture(), sv8_file(dir) }) {
        SCOPED_TRACE(path);
        std::string expected = mpcdec_samples(dir, path);
        ASSERT_FALSE(expected.empty());
        for (std::int32_t size : { 100000, 1000, 7 }) {
            audio::DecoderMPC reader(test::u16(path));
            test::expect_format(reader, 2, 44100);
            EXPECT_EQ(reader.get_length_bytes(), std::int64_t(expected.size() / 4));
            std::string got = test::read_all(reader, size, 2, 44100);
            ASSERT_EQ(got.size(), expected.size()) << "requests of " << size;
            EXPECT_LE(test::max_difference(got, expected), 1) << "requests of " << size;
            EXPECT_TRUE(reader.is_end());
            EXPECT_EQ(reader.get_position_bytes(), reader.get_length_bytes());
        }
    }
}

TEST(DecoderMPC, HandsOutOnePassInSlices)
{
    audio::DecoderMPC reader(test::u16(sv7_fixture()));
    ASSERT_TRUE(reader.is_open());
    // The first pass lacks the synthesis delay; the next ones are whole.
    EXPECT_EQ(reader.get_data(1152).get_frames(), 1152 - 481);
    audio::PCMData first = reader.get_data(1000);
    EXPECT_EQ(first.size(), 4000u);
    EXPECT_EQ(reader.get_position_bytes(), 671 + 1152); // decoded, ahead of what went out
    EXPECT_FALSE(reader.is_end());
    audio::PCMData rest = reader.get_data(1000);
    EXPECT_EQ(rest.size(), 608u);
    EXPECT_EQ(rest.buffer.offset(), 4000u); // a slice of the same pass
    EXPECT_EQ(reader.get_data(1000).size(), 4000u);
    EXPECT_EQ(reader.get_position_bytes(), 671 + 2 * 1152);
}

TEST(DecoderMPC, SeeksToTheExactFrame)
{
    if (!have_tools())
        GTEST_SKIP() << "mpcenc or sox missing";
    test::TempDir dir;
    for (const std::string& path : { sv7_fixture(), sv8_file(dir) }) {
        SCOPED_TRACE(path);
        std::string all = whole(path);
        audio::DecoderMPC reader(test::u16(path));
        ASSERT_TRUE(reader.is_open());
        std::int64_t length = reader.get_length_bytes();
        EXPECT_EQ(reader.time_to_bytes(0.5), 22050);
        EXPECT_DOUBLE_EQ(reader.bytes_to_time(22050), 0.5);
        reader.get_data(500); // leaves most of a pass pending
        test::expect_exact_seeks(reader, all,
            {
                { 22050, 22050 },
                { 1153, 1153 },
                { 0, 0 },
                { length - 300, length - 300 },
                { -1, 0 },
                { length + 10, length },
            });
        reader.seek(0.5);
        EXPECT_EQ(reader.get_position_bytes(), 22050);
        test::Collector<audio::PCMData> sink;
        audio::connect<audio::PCMData>(&reader, &sink);
        EXPECT_TRUE(reader.skip_bytes(3000));
        EXPECT_EQ(sink.all_bytes(), all.substr(22050 * 4, 12000));
        audio::connect<audio::PCMData>(&reader, nullptr);
    }
}

TEST(DecoderMPC, RefusesOtherFilesAndOlderStreamVersions)
{
    test::TempDir dir;
    std::string sv7 = test::read_file(sv7_fixture());
    ASSERT_EQ(sv7.substr(0, 4), std::string("MP+\x07", 4));
    std::string sv6 = sv7;
    sv6[3] = 6;
    // A stream of versions 4 to 6 starts with a bare header word instead of
    // "MP+": bit rate, bands, mid/side, version 6, frame count.
    std::string bare = std::string("\x00\x00\x9C\x01", 4) + sv7.substr(8);
    const std::string refused[] = {
        dir.write("sv6.mpc", sv6),
        dir.write("bare.mpc", bare),
        dir.write("empty.mpc", ""),
        dir.write("magic.mpc", "MPCK"),
        dir.write("text.mpc", "not a Musepack stream at all, just text\n"),
        dir.write("wav.mpc", std::string("RIFF\x24\x00\x00\x00WAVEfmt ", 16)),
        dir.file("missing.mpc"),
    };
    for (const auto& path : refused)
        test::expect_refused<audio::DecoderMPC>(path);
}

TEST(DecoderMPC, EndsAFileCutShort)
{
    test::TempDir dir;
    std::string sv7 = test::read_file(sv7_fixture());
    for (std::size_t keep : { sv7.size() / 2, sv7.size() - 1, std::size_t(40) }) {
        SCOPED_TRACE(keep);
        audio::DecoderMPC reader(test::u16(dir.write("cut.mpc", sv7.substr(0, keep))));
        if (!reader.is_open())
            continue;
        for (int guard = 0; guard < 1000 && !reader.is_end(); ++guard)
            reader.get_data(4096);
        EXPECT_TRUE(reader.is_end());
    }
}

TEST(DecoderMPC, BoundsAForgedFrameCountByTheFileSize)
{
    // A version-7 header claiming 654 million frames in a 3 KB file: seeking
    // into it had the library walk frame by frame for ever.
    test::TempDir dir;
    std::string sv7 = test::read_file(sv7_fixture());
    sv7.replace(4, 4, std::string("\x27\x00\x00\x27", 4));
    audio::DecoderMPC reader(test::u16(dir.write("forged.mpc", sv7)));
    ASSERT_TRUE(reader.is_open());
    std::int64_t bound = (std::int64_t(sv7.size()) * 8 / 20 + 1) * 1152;
    EXPECT_LE(reader.get_length_bytes(), bound);
    reader.seek_bytes(reader.get_length_bytes() / 2);
    std::int64_t frames = 0;
    for (int guard = 0; guard < 100000 && !reader.is_end(); ++guard)
        frames += reader.get_data(8192).get_frames();
    EXPECT_TRUE(reader.is_end());
    EXPECT_LE(frames, bound);
}
