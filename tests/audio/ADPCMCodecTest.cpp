#include "audio/codecs/DecoderADPCM.h"
#include "audio/codecs/EncoderADPCM.h"
#include "audio/writers/FileWriterWAVADPCM.h"
#include "tests/audio/CodecFiles.h"
#include "tests/audio/PipelineDoubles.h"
#include "tests/audio/WavBytes.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

using audio::ADPCMData;
using audio::PCMData;

namespace {

ADPCMData adpcm_block(const std::string& bytes, int channels, int rate = 8000)
{
    ADPCMData block;
    block.buffer = liba::SharedBuffer(bytes.size(), bytes.data());
    block.channels = channels;
    block.bits_per_sample = 4;
    block.sample_rate = rate;
    block.block_align = int(bytes.size());
    return block;
}

// Encodes PCM pushed in pieces of `piece` bytes and returns the blocks.
std::vector<ADPCMData> encode(const std::string& pcm, int channels, int rate, std::size_t piece = 3000)
{
    audio::EncoderADPCM encoder;
    test::Collector<ADPCMData> out;
    audio::connect(&encoder, &out);
    for (std::size_t at = 0; at < pcm.size(); at += piece)
        encoder.on_data(test::pcm_chunk(pcm.substr(at, piece), channels, rate));
    audio::connect(&encoder, nullptr);
    return out.received;
}

// Encodes a PCM WAV file made by sox into an ADPCM WAV file of ours.
std::string encode_file(const std::string& pcm_wav, const std::string& target, int channels, int rate)
{
    std::string pcm = test::sox_decode(pcm_wav);
    audio::EncoderADPCM encoder;
    {
        audio::FileWriterWAVADPCM writer(test::u16(target));
        audio::connect(&encoder, &writer);
        for (std::size_t at = 0; at < pcm.size(); at += 4410)
            encoder.on_data(test::pcm_chunk(pcm.substr(at, 4410), channels, rate));
        audio::connect(&encoder, nullptr);
        EXPECT_TRUE(writer.is_ok());
    }
    return pcm;
}

}

TEST(EncoderADPCM, SizesBlocksByRateAndChannels)
{
    struct Case {
        int rate, channels, block_align, samples, bitrate;
    } cases[] = {
        // clang-format off
        { 8000,  1, 256,  500,  32768 },
        { 11025, 2, 512,  500,  90316 },
        { 22050, 1, 512,  1012, 89245 },
        { 44100, 2, 2048, 2036, 354879 },
        { 48000, 1, 1024, 2036, 193131 },
        { 96000, 2, 4096, 4084, 770256 },
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rate);
        audio::EncoderADPCM encoder;
        EXPECT_EQ(encoder.get_bitrate(), 0);
        PCMData block = encoder.make_block(test::pcm_chunk("", c.channels, c.rate));
        EXPECT_EQ(block.size(), std::size_t(c.samples * c.channels * 2));
        EXPECT_EQ(encoder.get_bitrate(), c.bitrate);

        auto blocks = encode(std::string(c.samples * c.channels * 2, '\0'), c.channels, c.rate);
        ASSERT_EQ(blocks.size(), 1u);
        EXPECT_EQ(blocks[0].size(), std::size_t(c.block_align));
        EXPECT_EQ(blocks[0].block_align, c.block_align);
        EXPECT_EQ(blocks[0].bits_per_sample, 4);
        EXPECT_EQ(blocks[0].channels, c.channels);
        EXPECT_EQ(blocks[0].sample_rate, c.rate);
    }
}

TEST(EncoderADPCM, RefusesWhatItCannotCode)
{
    struct Case {
        int channels, bits;
    } cases[] = { { 1, 8 }, { 3, 16 }, { 0, 0 }, { 2, 24 } };
    for (const auto& c : cases) {
        auto blocks = [&] {
            audio::EncoderADPCM encoder;
            test::Collector<ADPCMData> out;
            audio::connect(&encoder, &out);
            for (int i = 0; i < 10; ++i)
                encoder.on_data(test::pcm_chunk(std::string(3000, '\x40'), c.channels, 8000, c.bits));
            audio::connect(&encoder, nullptr);
            return out.received;
        }();
        EXPECT_TRUE(blocks.empty()) << c.channels << " channels, " << c.bits << " bits";
    }
}

TEST(EncoderADPCM, CutsPushedChunksIntoWholeBlocks)
{
    audio::EncoderADPCM encoder;
    test::Collector<ADPCMData> out;
    audio::connect(&encoder, &out);
    const std::size_t block = 500 * 2;
    encoder.on_data(test::pcm_chunk(std::string(block * 3 / 2, '\0'), 1, 8000));
    EXPECT_EQ(out.received.size(), 1u);
    // A chunk of another format is dropped, not mixed in.
    encoder.on_data(test::pcm_chunk(std::string(block, '\0'), 1, 11025));
    EXPECT_EQ(out.received.size(), 1u);
    encoder.on_data(test::pcm_chunk(std::string(block / 2, '\0'), 1, 8000));
    EXPECT_EQ(out.received.size(), 2u);
    audio::connect(&encoder, nullptr);
}

TEST(EncoderADPCM, SilenceKeepsTheFirstPredictor)
{
    auto blocks = encode(std::string(500 * 2 * 2, '\0'), 2, 8000);
    ASSERT_EQ(blocks.size(), 1u);
    std::string header = test::bytes_of(blocks[0]).substr(0, 14);
    // Predictors 0 and 0, deltas 16 and 16, then four zero samples.
    EXPECT_EQ(header, std::string("\0\0\x10\0\x10\0", 6) + std::string(8, '\0'));
    EXPECT_EQ(test::bytes_of(blocks[0]).substr(14), std::string(512 - 14, '\0'));
}

TEST(EncoderADPCM, PullsOneBlockPerRequest)
{
    test::ScriptedProvider<PCMData> source;
    for (int i = 0; i < 3; ++i)
        source.script.push_back(test::pcm_chunk(std::string(700, '\0'), 1, 8000));
    audio::EncoderADPCM encoder;
    audio::connect(&source, &encoder);
    ADPCMData block = encoder.get_data(1);
    EXPECT_EQ(block.size(), 256u);
    // 2100 bytes pulled, 1000 used: the rest makes no whole block yet.
    EXPECT_TRUE(encoder.get_data(1).is_empty());
    source.script.push_back(test::pcm_chunk(std::string(400, '\0'), 1, 8000));
    EXPECT_EQ(encoder.get_data(1).size(), 256u);
    audio::connect(&source, nullptr);
}

TEST(DecoderADPCM, FollowsThePredictorAndStepTables)
{
    // Predictor 0, delta 16, both samples 0; codes 8, 8, 7, 0.
    std::string block = std::string("\0\x10\0\0\0\0\0", 7) + "\x88\x70" + std::string(256 - 9, '\0');
    audio::DecoderADPCM decoder;
    PCMData pcm = decoder.decode(adpcm_block(block, 1));
    ASSERT_EQ(pcm.size(), 1000u);
    EXPECT_EQ(pcm.channels, 1);
    EXPECT_EQ(pcm.bits_per_sample, 16);
    EXPECT_EQ(pcm.sample_rate, 8000);
    std::string bytes = test::bytes_of(pcm);
    // -8 x 16 = -128, delta 48; (-128 x 256) >> 8 = -128, -8 x 48 = -384;
    // delta 144, then +7 x 144 from -512.
    std::vector<int> expected { 0, 0, -128, -512, -512 + 1008 };
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(test::sample_at(bytes, i), expected[i]) << i;
}

TEST(DecoderADPCM, DamagedBlocksDecodeToSilence)
{
    audio::DecoderADPCM decoder;
    std::string good = std::string("\0\x10\0\x11\x11\x22\x22", 7) + std::string(249, '\x77');
    std::string bad = test::patched(good, 0, "\x07");
    ADPCMData two = adpcm_block(good + bad, 1);
    two.block_align = 256;
    PCMData pcm = decoder.decode(two);
    ASSERT_EQ(pcm.size(), 2000u);
    std::string bytes = test::bytes_of(pcm);
    EXPECT_NE(bytes.substr(0, 1000), std::string(1000, '\0'));
    EXPECT_EQ(bytes.substr(1000), std::string(1000, '\0'));

    // Codes that keep raising the step saturate instead of overflowing.
    std::string loud = std::string("\0\xff\x7f\0\0\0\0", 7) + std::string(249, '\x77');
    EXPECT_EQ(test::sample_at(test::bytes_of(decoder.decode(adpcm_block(loud, 1))), 499), 32767);

    // Formats no block can have give nothing rather than reading past it.
    ADPCMData odd = adpcm_block(good, 1);
    odd.bits_per_sample = 2;
    EXPECT_TRUE(decoder.decode(odd).is_empty());
    odd = adpcm_block(good, 3);
    EXPECT_TRUE(decoder.decode(odd).is_empty());
    odd = adpcm_block(good.substr(0, 6), 1);
    EXPECT_TRUE(decoder.decode(odd).is_empty());
}

TEST(DecoderADPCM, MatchesSoxOnSoxAndFfmpegFiles)
{
    if (!test::have_tool("sox") || !test::have_tool("ffmpeg"))
        GTEST_SKIP() << "sox or ffmpeg missing";
    test::TempDir dir;
    std::string mono = dir.file("mono.wav"), stereo = dir.file("stereo.wav"), ff = dir.file("ffmpeg.wav");
    test::tool({ "sox", "-n", "-r", "8000", "-c", "1", "-e", "ms-adpcm", mono, "synth", "1.3", "sine", "300-3000",
        "vol", "0.9" });
    test::tool({ "sox", "-n", "-r", "44100", "-c", "2", "-e", "ms-adpcm", stereo, "synth", "0.5", "sine", "440",
        "whitenoise", "vol", "0.7" });
    std::string source = dir.file("source.wav");
    test::tool({ "sox", "-n", "-r", "22050", "-c", "2", "-b", "16", source, "synth", "0.6", "pinknoise", "sine",
        "1000", "vol", "0.9" });
    test::tool({ "ffmpeg", "-loglevel", "error", "-i", source, "-c:a", "adpcm_ms", ff });

    struct Case {
        std::string path;
        int block_align;
    } cases[] = { { mono, 256 }, { stereo, 2048 }, { ff, 1024 } };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        audio::FileReaderWAVADPCM reader(test::u16(c.path));
        EXPECT_EQ(reader.get_wav_info().block_align, c.block_align);
        std::string ours = test::decode_adpcm_file(c.path, 1000);
        std::string sox = test::sox_decode(c.path);
        // Whole blocks only: sox also decodes the last partial block.
        ASSERT_GT(ours.size(), 0u);
        ASSERT_LE(ours.size(), sox.size());
        EXPECT_TRUE(ours == sox.substr(0, ours.size()));
    }
}

TEST(EncoderADPCM, SoxDecodesOurFilesAsWeDo)
{
    if (!test::have_tool("sox") || !test::have_tool("ffmpeg"))
        GTEST_SKIP() << "sox or ffmpeg missing";
    test::TempDir dir;
    struct Case {
        int rate, channels;
        const char* synth;
    } cases[] = {
        { 8000, 1, "sine 200-3000" },
        { 44100, 2, "pinknoise" },
        { 22050, 1, "square 440" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.synth);
        std::string source = dir.file("source.wav"), coded = dir.file("coded.wav");
        std::vector<std::string> make { "sox", "-n", "-r", std::to_string(c.rate), "-c",
            std::to_string(c.channels), "-b", "16", source, "synth", "1" };
        std::string synth = c.synth;
        for (std::size_t at = 0; at != std::string::npos;) {
            std::size_t space = synth.find(' ', at);
            make.push_back(synth.substr(at, space - at));
            at = space == std::string::npos ? space : space + 1;
        }
        make.insert(make.end(), { "vol", "0.8" });
        test::tool(make);
        std::string pcm = encode_file(source, coded, c.channels, c.rate);

        std::string ours = test::decode_adpcm_file(coded);
        EXPECT_EQ(test::sox_decode(coded), ours);
        EXPECT_EQ(test::ffmpeg_decode(coded).size(), ours.size());
        // Truncating quantisation costs some quality; a broken coder is near 0 dB.
        EXPECT_GT(test::snr_db(pcm, ours), 12);
        // Whole blocks of the source, nothing more.
        std::size_t block = audio::ADPCMFormat::samples_per_block(
                                audio::ADPCMFormat::block_align_for(c.rate, c.channels), c.channels)
            * c.channels * 2;
        EXPECT_EQ(ours.size(), pcm.size() / block * block);
    }
}
