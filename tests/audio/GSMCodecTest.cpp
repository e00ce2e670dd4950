#include "audio/codecs/DecoderGSM.h"
#include "audio/codecs/EncoderGSM.h"
#include "audio/writers/FileWriterWAVGSM.h"
#include "tests/audio/CodecFiles.h"
#include "tests/audio/PipelineDoubles.h"
#include "tests/support/TempDir.h"

#include <cstdlib>
#include <gtest/gtest.h>

using audio::GSMData;
using audio::PCMData;

namespace {

GSMData gsm_blocks(const std::string& bytes)
{
    GSMData data;
    data.buffer = liba::SharedBuffer(bytes.size(), bytes.data());
    return data;
}

std::string encode(const std::string& pcm, int channels = 1, int rate = 8000, std::size_t piece = 1000)
{
    audio::EncoderGSM encoder;
    test::Collector<GSMData> out;
    audio::connect(&encoder, &out);
    for (std::size_t at = 0; at < pcm.size(); at += piece)
        encoder.on_data(test::pcm_chunk(pcm.substr(at, piece), channels, rate));
    audio::connect(&encoder, nullptr);
    return out.all_bytes();
}

// The stored blocks of a WAV file, as ffmpeg copies them out.
std::string stored_blocks(const std::string& path)
{
    return test::tool({ "ffmpeg", "-loglevel", "error", "-i", path, "-map", "0:a", "-c:a", "copy", "-f", "data", "-" });
}

}

TEST(DecoderGSM, DecodesWholeBlocksOnly)
{
    audio::DecoderGSM decoder;
    struct Case {
        std::size_t in, out;
    } cases[] = { { 130, 1280 }, { 100, 640 }, { 64, 0 } };
    for (const auto& c : cases) {
        PCMData pcm = decoder.decode(gsm_blocks(std::string(c.in, '\0')));
        EXPECT_EQ(pcm.size(), c.out) << c.in;
        if (c.out) {
            EXPECT_EQ(pcm.channels, 1);
            EXPECT_EQ(pcm.bits_per_sample, 16);
            EXPECT_EQ(pcm.sample_rate, 8000);
        }
    }
    EXPECT_EQ(decoder.blocks_for_size(1000), 7);
    EXPECT_EQ(decoder.blocks_for_size(160), 1);
    EXPECT_EQ(decoder.blocks_for_size(161), 2);
}

TEST(EncoderGSM, TakesOnly8000HzMono16Bit)
{
    struct Case {
        int channels, rate, bits;
        std::size_t blocks;
    } cases[] = {
        // clang-format off
        { 1, 8000,  16, 3 },
        { 1, 11025, 16, 0 },
        { 2, 8000,  16, 0 },
        { 1, 8000,  8,  0 },
        // clang-format on
    };
    for (const auto& c : cases) {
        audio::EncoderGSM encoder;
        EXPECT_EQ(encoder.get_bitrate(), 13000);
        test::Collector<GSMData> out;
        audio::connect(&encoder, &out);
        encoder.on_data(test::pcm_chunk(std::string(640 * 3 + 100, '\x10'), c.channels, c.rate, c.bits));
        audio::connect(&encoder, nullptr);
        EXPECT_EQ(out.all_bytes().size(), c.blocks * 65) << c.channels << " " << c.rate << " " << c.bits;
    }
}

TEST(EncoderGSM, SilenceStaysSilent)
{
    std::string coded = encode(std::string(640 * 4, '\0'));
    ASSERT_EQ(coded.size(), 4u * 65);
    audio::DecoderGSM decoder;
    std::string pcm = test::bytes_of(decoder.decode(gsm_blocks(coded)));
    ASSERT_EQ(pcm.size(), 640u * 4);
    // The codec's floor: a few steps of 16-bit, far below anything audible.
    int loudest = 0;
    for (std::size_t i = 0; i < pcm.size() / 2; ++i)
        loudest = std::max(loudest, std::abs(int(test::sample_at(pcm, i))));
    EXPECT_LE(loudest, 16);
}

TEST(GSMCodec, MatchesSoxAndFfmpegBothWays)
{
    if (!test::have_tool("sox") || !test::have_tool("ffmpeg"))
        GTEST_SKIP() << "sox or ffmpeg missing";
    test::TempDir dir;
    std::string source = dir.file("source.wav");
    test::tool({ "sox", "-n", "-r", "8000", "-c", "1", "-b", "16", source, "synth", "1.2", "sine", "200-2500",
        "pinknoise", "vol", "0.6" });
    std::string pcm = test::sox_decode(source);
    std::string by_sox = dir.file("sox.wav"), by_ffmpeg = dir.file("ffmpeg.wav");
    test::tool({ "sox", source, "-e", "gsm-full-rate", by_sox });
    test::tool({ "ffmpeg", "-loglevel", "error", "-i", source, "-c:a", "libgsm_ms", by_ffmpeg });

    // Encoding: the same blocks as both tools, for whole blocks of input.
    std::string ours = encode(pcm, 1, 8000, 777);
    ASSERT_EQ(ours.size(), pcm.size() / 640 * 65);
    for (const auto& path : { by_sox, by_ffmpeg }) {
        std::string theirs = stored_blocks(path);
        ASSERT_GE(theirs.size(), ours.size());
        EXPECT_TRUE(theirs.substr(0, ours.size()) == ours) << path;
    }

    // Decoding: the same samples as both tools.
    for (const auto& path : { by_sox, by_ffmpeg }) {
        SCOPED_TRACE(path);
        std::string decoded = test::decode_gsm_file(path, 1000);
        ASSERT_GT(decoded.size(), 0u);
        std::string sox = test::sox_decode(path);
        std::string ffmpeg = test::ffmpeg_decode(path, "libgsm_ms");
        ASSERT_LE(decoded.size(), sox.size());
        ASSERT_LE(decoded.size(), ffmpeg.size());
        EXPECT_TRUE(decoded == sox.substr(0, decoded.size()));
        EXPECT_TRUE(decoded == ffmpeg.substr(0, decoded.size()));
        EXPECT_GT(test::snr_db(pcm, decoded), 5);
    }
}

TEST(EncoderGSM, OurFilesDecodeTheSameInSoxAndFfmpeg)
{
    if (!test::have_tool("sox") || !test::have_tool("ffmpeg"))
        GTEST_SKIP() << "sox or ffmpeg missing";
    test::TempDir dir;
    std::string source = dir.file("source.wav"), coded = dir.file("coded.wav");
    test::tool({ "sox", "-n", "-r", "8000", "-c", "1", "-b", "16", source, "synth", "0.9", "sine", "440", "vol",
        "0.5" });
    std::string pcm = test::sox_decode(source);
    {
        audio::EncoderGSM encoder;
        audio::FileWriterWAVGSM writer(test::u16(coded));
        audio::connect(&encoder, &writer);
        encoder.on_data(test::pcm_chunk(pcm, 1, 8000));
        audio::connect(&encoder, nullptr);
        EXPECT_TRUE(writer.is_ok());
        EXPECT_EQ(writer.get_data_size(), std::int64_t(pcm.size() / 640));
    }
    std::string ours = test::decode_gsm_file(coded);
    EXPECT_EQ(ours.size(), pcm.size() / 640 * 640);
    EXPECT_EQ(test::sox_decode(coded), ours);
    EXPECT_EQ(test::ffmpeg_decode(coded, "libgsm_ms"), ours);
}
