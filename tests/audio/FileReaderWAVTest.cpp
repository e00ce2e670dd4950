#include "audio/readers/FileReaderWAVADPCM.h"
#include "audio/readers/FileReaderWAVGSM.h"
#include "audio/readers/FileReaderWAVPCM.h"
#include "platform/core/Utf8.h"
#include "tests/audio/CodecFiles.h"
#include "tests/audio/PipelineDoubles.h"
#include "tests/audio/WavBytes.h"
#include "tests/support/TempDir.h"
#include "tests/support/Tool.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

using audio::PCMData;

namespace {

std::u16string fixture_path(const std::string& name)
{
    return platform::from_utf8(test::fixture("wav/" + name));
}

std::u16string path_of(const std::string& path)
{
    return platform::from_utf8(path);
}

// Everything a provider hands out for requests of the given size.
template<typename Reader>
std::string read_all(Reader& reader, std::int32_t size, std::size_t unit)
{
    std::string out;
    for (int guard = 0; guard < 100000; ++guard) {
        auto chunk = reader.get_data(size);
        if (chunk.is_empty())
            break;
        EXPECT_EQ(chunk.size() % unit, 0u);
        EXPECT_LE(chunk.size(), std::size_t(size) * unit);
        out += test::bytes_of(chunk);
    }
    return out;
}

// A header in the standard layout (written by the code under test, checked
// against sox elsewhere) followed by zero blocks.
template<typename Info>
std::string block_file(Info info, std::size_t data_bytes, const test::TempDir& dir)
{
    info.data_size = std::uint32_t(data_bytes);
    std::string path = dir.file("blocks.wav");
    {
        os::File out(path_of(path), os::File::Mode::write);
        EXPECT_TRUE(info.write(out));
        std::string zeros(data_bytes, '\0');
        out.write(zeros.data(), std::uint32_t(zeros.size()));
    }
    return path;
}

}

TEST(FileReaderWAVPCM, HandsOutWhatSoxDecodes)
{
    if (!test::have_tool("sox"))
        GTEST_SKIP() << "sox missing";

    struct Case {
        const char* file;
        int channels, bits, rate;
    } cases[] = {
        { "pcm16_stereo.wav", 2, 16, 8000 },
        { "pcm8_mono.wav", 1, 8, 11025 },
        { "pcm16_mono_list.wav", 1, 16, 22050 },
    };

    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        std::string expected
            = test::tool({ "sox", test::fixture(std::string("wav/") + c.file), "-t", "raw", "-" });
        ASSERT_FALSE(expected.empty());
        for (std::int32_t size : { 1, 7, 1000, 16384 }) {
            audio::FileReaderWAVPCM reader(fixture_path(c.file));
            ASSERT_TRUE(reader.is_open());
            EXPECT_EQ(reader.get_channels(), c.channels);
            EXPECT_EQ(reader.get_bits_per_sample(), c.bits);
            EXPECT_EQ(reader.get_sample_rate(), c.rate);
            EXPECT_EQ(reader.get_bitrate(), c.rate * c.channels * c.bits);
            PCMData first = reader.get_data(1);
            EXPECT_EQ(first.channels, c.channels);
            EXPECT_EQ(first.bits_per_sample, c.bits);
            EXPECT_EQ(first.sample_rate, c.rate);
            std::string all = test::bytes_of(first) + read_all(reader, size, c.channels * c.bits / 8);
            EXPECT_EQ(all, expected) << "requests of " << size;
            EXPECT_TRUE(reader.is_end());
            EXPECT_EQ(reader.get_position_bytes(), reader.get_length_bytes());
        }
    }
}

// Wider integers and floats, as sox writes them (tag 1, 3 or the extensible
// header), come out as 16 bits within one step of sox's own conversion.
TEST(FileReaderWAVPCM, NarrowsWideAndFloatSamplesTo16Bits)
{
    if (!test::have_tool("sox"))
        GTEST_SKIP() << "sox missing";
    test::TempDir dir;
    struct Case {
        const char* name;
        std::vector<std::string> format;
        int channels;
    } cases[] = {
        { "s24.wav", { "-b", "24" }, 1 },
        { "s32.wav", { "-b", "32" }, 2 },
        { "f32.wav", { "-e", "floating-point", "-b", "32" }, 1 },
        { "f64.wav", { "-e", "floating-point", "-b", "64" }, 2 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> make { "sox", "-n", "-r", "8000", "-c", std::to_string(c.channels) };
        make.insert(make.end(), c.format.begin(), c.format.end());
        const std::string path = dir.file(c.name);
        make.push_back(path);
        for (const char* arg : { "synth", "0.5", "sine", "440", "vol", "0.9" })
            make.push_back(arg);
        ASSERT_EQ(test::run_tool(make).exit_code, 0);
        const std::string expected = test::tool({ "sox", path, "-b", "16", "-e", "signed", "-D", "-t", "raw", "-" });
        ASSERT_EQ(expected.size(), 4000u * 2u * std::size_t(c.channels));

        audio::FileReaderWAVPCM reader(path_of(path));
        ASSERT_TRUE(reader.is_open());
        EXPECT_EQ(reader.get_channels(), c.channels);
        EXPECT_EQ(reader.get_bits_per_sample(), 16);
        const std::string all = read_all(reader, 1000, std::size_t(c.channels) * 2);
        ASSERT_EQ(all.size(), expected.size());
        int worst = 0;
        for (std::size_t i = 0; i + 1 < all.size(); i += 2) {
            const int ours = std::int16_t(std::uint8_t(all[i]) | std::uint8_t(all[i + 1]) << 8);
            const int theirs = std::int16_t(std::uint8_t(expected[i]) | std::uint8_t(expected[i + 1]) << 8);
            worst = std::max(worst, std::abs(ours - theirs));
        }
        EXPECT_LE(worst, 1);
        reader.seek_bytes(reader.get_length_bytes() / 2);
        EXPECT_EQ(reader.get_position_bytes(), reader.get_length_bytes() / 2) << "positions stay in stored bytes";
    }
}

// Tags no PCM reader knows, and float widths that are no float, stay refused
// (six channels in the extensible header are covered with the MP3 reader).
TEST(FileReaderWAVPCM, RefusesOtherCodingsInsideTheHeader)
{
    test::TempDir dir;
    const std::string path = dir.file("odd.wav");
    for (auto [tag, bits] : { std::pair { 0x0055, 16 }, std::pair { 3, 16 }, std::pair { 3, 24 } }) {
        SCOPED_TRACE(tag);
        audio::WAVInfoPCM info;
        info.format_tag = std::uint16_t(tag);
        info.fmt_size = 16;
        info.channels = 1;
        info.bits_per_sample = bits;
        info.sample_rate = 8000;
        info.block_align = std::uint16_t(bits / 8);
        info.avg_bytes_per_sec = 8000u * info.block_align;
        block_file(info, 64, dir);
        audio::FileReaderWAVPCM reader(path_of(dir.file("blocks.wav")));
        EXPECT_FALSE(reader.is_open());
    }
}

// A plain tag 1 header whose frames are too small for its sample width cannot
// be narrowed; it opens as it always did, handed out as stored, since the
// writers append to it.
TEST(FileReaderWAVPCM, APlainHeaderTooNarrowForItsSamplesIsHandedOutAsStored)
{
    test::TempDir dir;
    audio::WAVInfoPCM info;
    info.format_tag = 1;
    info.fmt_size = 16;
    info.channels = 1;
    info.bits_per_sample = 72;
    info.sample_rate = 11025;
    info.block_align = 1;
    info.avg_bytes_per_sec = 11025;
    block_file(info, 64, dir);
    audio::FileReaderWAVPCM reader(path_of(dir.file("blocks.wav")));
    ASSERT_TRUE(reader.is_open());
    EXPECT_EQ(reader.get_bits_per_sample(), 72);
    EXPECT_EQ(read_all(reader, 16, 1).size(), 64u);
}

TEST(FileReaderWAVBlocks, HandsOutTheStoredBlocks)
{
    if (!test::have_tool("ffmpeg"))
        GTEST_SKIP() << "ffmpeg missing";

    struct Case {
        const char* file;
        bool adpcm;
        std::int64_t length; // blocks
        double seconds;
    } cases[] = {
        { "adpcm_mono.wav", true, 8, 8 * 500 / 8000.0 },
        { "adpcm_stereo.wav", true, 9, 9 * 1012 / 44100.0 },
        { "gsm_sox.wav", false, 13, 13 * 320 / 8000.0 }, // "fact" says 4000 samples: half the last block
        { "gsm_ffmpeg.wav", false, 13, 13 * 320 / 8000.0 },
    };

    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        // ffmpeg copies the "data" chunk's bytes as they are.
        std::string stored = test::tool({ "ffmpeg", "-loglevel", "error", "-i",
            test::fixture(std::string("wav/") + c.file), "-map", "0:a", "-c:a", "copy", "-f", "data", "-" });
        for (std::int32_t size : { 1, 3, 100 }) {
            std::unique_ptr<audio::FileReaderWAV> reader;
            std::string got;
            std::size_t align;
            if (c.adpcm) {
                auto r = std::make_unique<audio::FileReaderWAVADPCM>(fixture_path(c.file));
                align = r->get_wav_info().block_align;
                audio::ADPCMData block = r->get_data(1);
                EXPECT_EQ(block.channels, r->get_wav_info().channels);
                EXPECT_EQ(block.bits_per_sample, 4);
                EXPECT_EQ(block.sample_rate, r->get_sample_rate());
                EXPECT_EQ(block.block_align, int(align));
                got = test::bytes_of(block) + read_all(*r, size, align);
                reader = std::move(r);
            } else {
                auto r = std::make_unique<audio::FileReaderWAVGSM>(fixture_path(c.file));
                align = 65;
                audio::GSMData block = r->get_data(1);
                EXPECT_EQ(block.channels, 0);
                got = test::bytes_of(block) + read_all(*r, size, align);
                reader = std::move(r);
            }
            ASSERT_TRUE(reader->is_open());
            EXPECT_EQ(reader->get_bits_per_sample(), 16);
            EXPECT_EQ(reader->get_length_bytes(), c.length);
            EXPECT_DOUBLE_EQ(reader->get_length(), c.seconds);
            EXPECT_EQ(got.size(), c.length * align);
            EXPECT_EQ(got, stored.substr(0, got.size()));
            EXPECT_TRUE(reader->is_end());
            EXPECT_EQ(reader->get_position_bytes(), c.length);
        }
    }
}

TEST(FileReaderWAVPCM, SeeksAndConvertsTimeInWholeFrames)
{
    test::TempDir dir;
    const int second = 44100 * 4;
    audio::FileReaderWAVPCM reader(
        path_of(dir.write("2s.wav", test::pcm_wav(2, 44100, 16, std::string(2 * second, '\0')))));
    ASSERT_TRUE(reader.is_open());
    EXPECT_EQ(reader.time_to_bytes(1.5), 264600);
    EXPECT_DOUBLE_EQ(reader.bytes_to_time(264600), 1.5);
    EXPECT_DOUBLE_EQ(reader.get_length(), 2.0);

    reader.seek(1.5);
    EXPECT_EQ(reader.get_position_bytes(), 264600);
    EXPECT_DOUBLE_EQ(reader.get_position(), 1.5);

    struct Case {
        std::int64_t to, lands;
    } seeks[] = {
        // clang-format off
        { 6, 4 },
        { 3, 0 },
        { -5, 0 },
        { 2 * second - 2, 2 * second - 4 },
        { 2 * second + 4000, 2 * second },  // never beyond the audio data
        // clang-format on
    };

    for (const auto& s : seeks) {
        reader.seek_bytes(s.to);
        EXPECT_EQ(reader.get_position_bytes(), s.lands) << s.to;
    }
    EXPECT_TRUE(reader.is_end());
    EXPECT_TRUE(reader.get_data(1000).is_empty());

    reader.seek_bytes(2 * second - 400);
    EXPECT_EQ(reader.get_data(1000).size(), 400u);
    EXPECT_TRUE(reader.get_data(1000).is_empty());
    reader.seek_bytes(0);
    EXPECT_EQ(reader.get_data(1000).size(), 4000u);
    EXPECT_FALSE(reader.is_end());
}

TEST(FileReaderWAVBlocks, LengthTimeAndSeekCountBlocks)
{
    test::TempDir dir;
    // Mono ADPCM, 1024-byte blocks of 2036 samples, "fact" 10000: 4 whole
    // blocks and 1856 samples of the fifth.
    audio::FileReaderWAVADPCM adpcm(
        path_of(block_file(test::adpcm_info(1, 44100, 1024, 2036, 10000), 5 * 1024, dir)));
    ASSERT_TRUE(adpcm.is_open());
    EXPECT_EQ(adpcm.get_length_bytes(), 5);
    EXPECT_EQ(adpcm.get_bits_per_sample(), 16);
    EXPECT_EQ(adpcm.time_to_bytes(0.1), 2); // truncate(4410 / 2036)
    EXPECT_DOUBLE_EQ(adpcm.bytes_to_time(3), 3 * 2036 / 44100.0);

    // GSM with "fact" 8000: 25 blocks, one second.
    test::TempDir gsm_dir;
    audio::FileReaderWAVGSM gsm(path_of(block_file(test::gsm_info(8000), 25 * 65, gsm_dir)));
    ASSERT_TRUE(gsm.is_open());
    EXPECT_EQ(gsm.get_length_bytes(), 25);
    EXPECT_DOUBLE_EQ(gsm.get_length(), 1.0);
    EXPECT_EQ(gsm.time_to_bytes(0.5), 12);

    struct Case {
        std::int64_t to, lands;
    } seeks[] = {
        // clang-format off
        { 2, 2 },
        { -1, 0 },
        { 25, 25 },
        { 40, 25 },  // never beyond the audio data
        // clang-format on
    };

    for (const auto& s : seeks) {
        gsm.seek_bytes(s.to);
        EXPECT_EQ(gsm.get_position_bytes(), s.lands) << s.to;
    }
    EXPECT_TRUE(gsm.is_end());
    EXPECT_TRUE(gsm.get_data(5).is_empty());
    gsm.seek(0.8); // block 20
    EXPECT_EQ(gsm.get_position_bytes(), 20);
    EXPECT_EQ(gsm.get_data(10).size(), 5u * 65);
}

TEST(FileReaderWAVBlocks, SeekLandsOnTheStoredBlock)
{
    audio::FileReaderWAVADPCM reader(fixture_path("adpcm_mono.wav"));
    std::string all = read_all(reader, 100, 256);
    reader.seek_bytes(5);
    EXPECT_EQ(test::bytes_of(reader.get_data(2)), all.substr(5 * 256, 2 * 256));
    EXPECT_EQ(reader.get_position_bytes(), 7);
}

TEST(FileReaders, SkipPushesThePassedSpanDownstream)
{
    {
        test::TempDir dir;
        const int frames = 12345;
        audio::FileReaderWAVPCM reader(
            path_of(dir.write("s.wav", test::pcm_wav(1, 8000, 16, std::string(2 * frames, '\1')))));
        test::Collector<PCMData> sink;
        audio::connect(&reader, &sink);
        EXPECT_TRUE(reader.skip_bytes(0));
        EXPECT_TRUE(sink.received.empty());
        EXPECT_TRUE(reader.skip_bytes(2 * 11000 + 1));
        ASSERT_EQ(sink.received.size(), 3u); // at most 5000 frames a step
        EXPECT_EQ(sink.received[0].get_frames(), 5000);
        EXPECT_EQ(sink.received[2].get_frames(), 1000);
        EXPECT_EQ(reader.get_position_bytes(), 2 * 11000);
        EXPECT_TRUE(reader.skip(0.125)); // 1000 frames
        EXPECT_EQ(reader.get_position_bytes(), 2 * 12000);
        EXPECT_FALSE(reader.skip_bytes(2 * 1000)); // only 345 frames are left
        EXPECT_EQ(sink.all_bytes().size(), 2u * frames);
        audio::connect(&reader, nullptr);
    }

    struct Case {
        const char* file;
        bool adpcm;
        std::int64_t blocks;
        std::vector<std::size_t> pushed; // blocks per push
    } cases[] = {
        { "adpcm_mono.wav", true, 7, { 5, 2 } },
        { "gsm_ffmpeg.wav", false, 12, { 10, 2 } },
    };

    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        std::vector<std::size_t> pushed;
        bool done;
        if (c.adpcm) {
            audio::FileReaderWAVADPCM reader(fixture_path(c.file));
            test::Collector<audio::ADPCMData> sink;
            audio::connect(&reader, &sink);
            done = reader.skip_bytes(c.blocks);
            for (auto& chunk : sink.received)
                pushed.push_back(chunk.size() / 256);
            EXPECT_EQ(reader.get_position_bytes(), c.blocks);
            audio::connect(&reader, nullptr);
        } else {
            audio::FileReaderWAVGSM reader(fixture_path(c.file));
            test::Collector<audio::GSMData> sink;
            audio::connect(&reader, &sink);
            done = reader.skip(c.blocks * 0.04);
            for (auto& chunk : sink.received)
                pushed.push_back(chunk.size() / 65);
            EXPECT_EQ(reader.get_position_bytes(), c.blocks);
            audio::connect(&reader, nullptr);
        }
        EXPECT_TRUE(done);
        EXPECT_EQ(pushed, c.pushed);
    }
}

TEST(FileReaders, NotOpenReadersAnswerHarmlessly)
{
    test::TempDir dir;
    std::string text = dir.write("notes.wav", "just some text, not a RIFF file at all");
    std::vector<std::unique_ptr<audio::FileReaderWAV>> readers;
    for (const std::string& path : { dir.file("missing.wav"), text }) {
        readers.push_back(std::make_unique<audio::FileReaderWAVPCM>(path_of(path)));
        readers.push_back(std::make_unique<audio::FileReaderWAVADPCM>(path_of(path)));
        readers.push_back(std::make_unique<audio::FileReaderWAVGSM>(path_of(path)));
    }
    // Each reader also refuses the other two kinds of WAV.
    readers.push_back(std::make_unique<audio::FileReaderWAVPCM>(fixture_path("gsm_sox.wav")));
    readers.push_back(std::make_unique<audio::FileReaderWAVADPCM>(fixture_path("pcm16_stereo.wav")));
    readers.push_back(std::make_unique<audio::FileReaderWAVGSM>(fixture_path("adpcm_mono.wav")));
    for (auto& reader : readers) {
        EXPECT_FALSE(reader->is_open());
        EXPECT_TRUE(reader->is_end());
        EXPECT_EQ(reader->get_length_bytes(), 0);
        EXPECT_EQ(reader->get_length(), 0);
        reader->seek(3.0);
        reader->seek_bytes(100);
        EXPECT_EQ(reader->get_position_bytes(), 0);
        EXPECT_FALSE(reader->skip_bytes(10));
        EXPECT_FALSE(reader->skip(1.0));
    }
    audio::FileReaderWAVPCM pcm(path_of(text));
    EXPECT_TRUE(pcm.get_data(100).is_empty());
    audio::FileReaderWAVGSM gsm(path_of(text));
    EXPECT_TRUE(gsm.get_data(100).is_empty());
}

TEST(FileReaders, ReadsStopAtTheEndOfTheAudioData)
{
    test::TempDir dir;
    const std::string pcm = test::read_file(test::fixture("wav/pcm16_stereo.wav"));
    const std::string samples = pcm.substr(44);

    // A chunk after "data" is not audio.
    audio::FileReaderWAVPCM trailing(
        path_of(dir.write("trailing.wav", pcm + test::chunk("LIST", std::string(400, 'x')))));
    EXPECT_EQ(read_all(trailing, 1000, 4), samples);
    EXPECT_TRUE(trailing.is_end());

    // A file cut short ends at its last whole frame, and then is at its end.
    audio::FileReaderWAVPCM cut(path_of(dir.write("cut.wav", pcm.substr(0, 44 + 4001))));
    EXPECT_EQ(cut.get_length_bytes(), 4000);
    EXPECT_EQ(read_all(cut, 1000, 4), samples.substr(0, 4000));
    EXPECT_TRUE(cut.is_end());

    // "fact" promising more than the data holds: 2048 bytes are 8 blocks.
    std::string adpcm = test::read_file(test::fixture("wav/adpcm_mono.wav"));
    audio::FileReaderWAVADPCM promised(
        path_of(dir.write("fact.wav", test::patched(adpcm, 78, test::le32(100000)))));
    EXPECT_EQ(promised.get_length_bytes(), 8);
    EXPECT_EQ(read_all(promised, 3, 256), adpcm.substr(90, 2048));
    EXPECT_TRUE(promised.is_end());

    // A GSM file cut inside its last block keeps the whole blocks only.
    std::string gsm = test::read_file(test::fixture("wav/gsm_ffmpeg.wav"));
    audio::FileReaderWAVGSM short_gsm(path_of(dir.write("gsm.wav", gsm.substr(0, 94 + 5 * 65 + 30))));
    EXPECT_EQ(short_gsm.get_length_bytes(), 5);
    EXPECT_EQ(read_all(short_gsm, 100, 65), gsm.substr(94, 5 * 65));
    EXPECT_TRUE(short_gsm.is_end());
}

namespace {

// Whole units a reader hands out, and its length in its own units.
template<typename Reader>
std::pair<std::string, std::int64_t> read_whole(const std::string& path, std::size_t unit)
{
    Reader reader(path_of(path));
    EXPECT_TRUE(reader.is_open());
    std::int64_t length = reader.get_length_bytes();
    return { read_all(reader, 7, unit), length };
}

}

// A "data" size of 0 (a recording whose process died before its header was
// written) or past the end of the file (a stream) reads to the end of the
// file in whole frames or blocks, and "fact" then has no say.
TEST(FileReaders, ADataSizeOfZeroOrPastTheEndReadsToTheEndOfTheFile)
{
    test::TempDir dir;

    struct Case {
        const char* fixture;
        std::size_t unit; // bytes of a frame or block
        std::int64_t units_per_length_unit; // PCM lengths count bytes
    } cases[] = {
        { "pcm16_stereo.wav", 4, 4 },
        { "adpcm_mono.wav", 256, 1 },
        { "gsm_ffmpeg.wav", 65, 1 },
    };

    for (const auto& c : cases) {
        const std::string whole = test::read_file(test::fixture(std::string("wav/") + c.fixture));
        const std::size_t data = whole.find("data") + 8;
        const std::size_t fact = whole.find("fact");
        for (std::uint32_t declared : { 0u, 0xFFFFFFFFu }) {
            SCOPED_TRACE(std::string(c.fixture) + " " + std::to_string(declared));
            // Five whole units and half of a sixth on disk.
            std::string bytes = whole.substr(0, data + 5 * c.unit + c.unit / 2);
            bytes = test::patched(bytes, 4, test::le32(declared));
            bytes = test::patched(bytes, data - 4, test::le32(declared));
            if (fact != std::string::npos)
                bytes = test::patched(bytes, fact + 8, test::le32(0));
            const std::string path = dir.write("cut.wav", bytes);
            const std::string expected = whole.substr(data, 5 * c.unit);
            std::pair<std::string, std::int64_t> got;
            if (c.unit == 4)
                got = read_whole<audio::FileReaderWAVPCM>(path, c.unit);
            else if (c.unit == 256)
                got = read_whole<audio::FileReaderWAVADPCM>(path, c.unit);
            else
                got = read_whole<audio::FileReaderWAVGSM>(path, c.unit);
            EXPECT_EQ(got.second, 5 * c.units_per_length_unit);
            EXPECT_TRUE(got.first == expected);
        }
    }
}

namespace {

// Files of sox and ffmpeg whose end is not a whole block: sox's "fact" count
// ends the stream inside the last block, and ffmpeg writing to a pipe gives no
// "fact" at all. Ours is sox's decode up to the count, or of every block.
TEST(FileReaderWAVBlocks, PlaysTheLastBlockUpToTheFactCountOrEveryBlockWithoutOne)
{
    if (!test::have_tool("sox"))
        GTEST_SKIP() << "sox missing";

    struct Case {
        const char* file;
        bool adpcm;
        std::size_t frames;
        int channels;
    } cases[] = {
        { "adpcm_part_block_mono.wav", true, 2866, 1 }, // 2 blocks of 1012, 842 of the third
        { "adpcm_part_block_stereo.wav", true, 4851, 2 },
        { "gsm_part_block.wav", false, 2400, 1 }, // 7 blocks of 320, half the eighth
        { "adpcm_no_fact.wav", true, 2 * 2036, 1 },
        { "gsm_no_fact.wav", false, 8 * 320, 1 },
    };

    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string path = test::fixture(std::string("wav/") + c.file);
        for (std::int32_t frames : { 100, 4096 }) {
            std::string ours
                = c.adpcm ? test::decode_adpcm_file(path, frames) : test::decode_gsm_file(path, frames);
            std::string theirs = test::sox_decode(path).substr(0, c.frames * c.channels * 2);
            EXPECT_EQ(ours.size(), c.frames * c.channels * 2);
            EXPECT_TRUE(ours == theirs) << "differs from sox's decode";
        }
    }
}

}
