#include "audio/readers/FileReaderMP3.h"

#include "audio/chains/ChainFactory.h"
#include "platform/core/Utf8.h"
#include "tests/audio/Mp3Bytes.h"
#include "tests/audio/PipelineDoubles.h"
#include "tests/audio/WavBytes.h"
#include "tests/support/TempDir.h"
#include "tests/support/Tool.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <random>

using audio::FileReaderMP3;
using audio::MP3Data;

namespace {

std::u16string path_of(const std::string& path)
{
    return platform::from_utf8(path);
}

// The frames a reader hands out, each cut to its own length.
std::vector<std::string> all_frames(FileReaderMP3& reader)
{
    std::vector<std::string> frames;
    for (int guard = 0; guard < 100000; ++guard) {
        MP3Data block = reader.get_data(1);
        if (block.is_empty())
            break;
        EXPECT_GE(block.size(), std::size_t(block.frame_length));
        EXPECT_LE(block.size(), std::size_t(std::max(FileReaderMP3::block_size, block.frame_length)));
        frames.push_back(test::bytes_of(block).substr(0, std::size_t(block.frame_length)));
    }
    return frames;
}

std::string joined(const std::vector<std::string>& frames)
{
    std::string out;
    for (const auto& f : frames)
        out += f;
    return out;
}

// The length of an ID3v2 tag at the start of bytes: ten header bytes and a
// size in four 7-bit bytes.
std::size_t id3v2_length(const std::string& bytes)
{
    if (bytes.compare(0, 3, "ID3") != 0)
        return 0;
    std::size_t size = 0;
    for (int i = 6; i < 10; ++i)
        size = size << 7 | (std::uint8_t(bytes[std::size_t(i)]) & 0x7F);
    return 10 + size;
}

}

TEST(FileReaderMP3, HandsOutEveryFrameBetweenTheTags)
{
    struct Case {
        const char* file;
        int version, layer, channels, rate, kbits;
    } cases[] = {
        { "lame_mpeg1_stereo.mp3", 1, 3, 2, 44100, 128 },
        { "lame_mpeg2_mono.mp3", 2, 3, 1, 22050, 32 },
        { "lame_mpeg25_stereo.mp3", 3, 3, 2, 11025, 24 },
        { "ffmpeg_mpeg1_stereo.mp3", 1, 3, 2, 48000, 192 },
        { "ffmpeg_mpeg2_mono.mp3", 2, 3, 1, 24000, 48 },
        { "ffmpeg_mpeg25_mono.mp3", 3, 3, 1, 8000, 16 },
        { "ffmpeg_layer2_stereo.mp2", 1, 2, 2, 48000, 192 },
    };

    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        std::string path = test::fixture(std::string("mp3/") + c.file);
        std::string bytes = test::read_file(path);
        ASSERT_FALSE(bytes.empty());
        // Frames fill everything between an ID3v2 tag and an ID3v1 trailer.
        std::size_t begin = id3v2_length(bytes);
        std::size_t end = bytes.size() - (bytes.compare(bytes.size() - 128, 3, "TAG") == 0 ? 128 : 0);

        FileReaderMP3 reader(path_of(path));
        ASSERT_TRUE(reader.is_open());
        const audio::MpegHeader& first = reader.get_first_header();
        EXPECT_EQ(first.version, c.version);
        EXPECT_EQ(first.layer, c.layer);
        EXPECT_EQ(reader.get_channels(), c.channels);
        EXPECT_EQ(reader.get_sample_rate(), c.rate);
        EXPECT_EQ(reader.get_bitrate(), c.kbits * 1000);
        EXPECT_EQ(reader.get_bits_per_sample(), 16);
        EXPECT_EQ(reader.get_length_bytes(), std::int64_t(bytes.size()));
        EXPECT_DOUBLE_EQ(reader.get_length(), double(bytes.size()) * 8 / c.kbits / 1000);
        EXPECT_FALSE(reader.is_end());

        std::vector<std::string> frames = all_frames(reader);
        EXPECT_EQ(joined(frames), bytes.substr(begin, end - begin));
        EXPECT_TRUE(reader.is_end());
        EXPECT_EQ(reader.get_position_bytes(), reader.get_length_bytes());
        EXPECT_TRUE(reader.get_data(1).is_empty());
    }
}

TEST(FileReaderMP3, RefusesFilesWithoutTwoAgreeingFrames)
{
    test::TempDir dir;
    std::mt19937 random(20261210);
    std::string noise(65536, '\0');
    for (auto& b : noise)
        b = char(random());

    struct Case {
        const char* name;
        std::string bytes;
    } cases[] = {
        { "empty", "" },
        { "random bytes", noise },
        { "one lone frame", test::mpeg_frame(test::mpeg1_128k) },
        { "frames that disagree",
            test::mpeg_frame(test::mpeg1_128k) + test::mpeg_frame(test::mpeg1_128k_mono)
                + test::mpeg_frame(test::mpeg1_128k_48k) },
        { "a header and a few bytes", test::header_bytes(test::mpeg1_128k) + "abc" },
        { "PCM WAV", test::read_file(test::fixture("wav/pcm16_stereo.wav")) },
        { "8-bit WAV", test::read_file(test::fixture("wav/pcm8_mono.wav")) },
        { "ADPCM WAV", test::read_file(test::fixture("wav/adpcm_stereo.wav")) },
        { "GSM WAV", test::read_file(test::fixture("wav/gsm_ffmpeg.wav")) },
    };

    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FileReaderMP3 reader(path_of(dir.write("case.mp3", c.bytes)));
        EXPECT_FALSE(reader.is_open());
        EXPECT_TRUE(reader.is_end());
        EXPECT_EQ(reader.get_first_header(), audio::MpegHeader {});
        EXPECT_EQ(reader.get_sample_rate(), 0);
        EXPECT_DOUBLE_EQ(reader.get_length(), 0);
        EXPECT_TRUE(reader.get_data(1).is_empty());
    }

    FileReaderMP3 missing(path_of(dir.file("missing.mp3")));
    EXPECT_FALSE(missing.is_open());
    EXPECT_TRUE(missing.get_data(1).is_empty());
}

TEST(FileReaderMP3, StepsOverTagsDamageAndStrangers)
{
    std::string junk(3000, '\x22');
    // A false sync in the leading junk: taken for the first frame, the stream
    // would be mono and no real frame would agree with it.
    junk.replace(100, 4, test::header_bytes(test::mpeg1_128k_mono));
    std::string first = test::mpeg_frames(test::mpeg1_128k, 5, 1);
    std::string second = test::mpeg_frames(test::mpeg1_128k, 5, 6);

    std::string cut = test::mpeg_frame(test::mpeg1_128k).substr(0, 200);

    struct Case {
        const char* name;
        std::string between; // what stands between the two runs of five frames
        std::string expected;
    } cases[] = {
        { "nothing", "", first + second },
        { "a short damaged stretch", std::string(300, '\x33'), first + second },
        // Longer than the reader's buffer: the search must not give up half way.
        { "a long damaged stretch", std::string(25000, '\x33'), first + second },
        { "a mono frame", test::mpeg_frame(test::mpeg1_128k_mono), first + second },
        { "a frame at another rate", test::mpeg_frame(test::mpeg1_128k_48k), first + second },
        // Headers are all that is checked: the cut frame takes in the start of
        // the next, whose header is then skipped with it.
        { "a cut frame", cut, first + cut + second.substr(0, 217) + second.substr(417) },
    };

    test::TempDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FileReaderMP3 reader(path_of(dir.write("case.mp3", junk + first + c.between + second)));
        ASSERT_TRUE(reader.is_open());
        // In order, up to the file's last frame, which ends the file.
        EXPECT_EQ(joined(all_frames(reader)), c.expected);
        EXPECT_TRUE(reader.is_end());
    }
}

TEST(FileReaderMP3, MeasuresAndSeeksInBytesOfTheFile)
{
    test::TempDir dir;
    // 2514 frames of 417 bytes and a zero tail: 1 MB at 128 kbit/s.
    std::string bytes = test::mpeg_frames(test::mpeg1_128k, 2514);
    bytes.resize(1048576, '\0');
    FileReaderMP3 reader(path_of(dir.write("1mb.mp3", bytes)));
    ASSERT_TRUE(reader.is_open());
    EXPECT_EQ(reader.get_length_bytes(), 1048576);
    EXPECT_DOUBLE_EQ(reader.get_length(), 65.536);
    EXPECT_EQ(reader.time_to_bytes(10.0), 160000);
    EXPECT_DOUBLE_EQ(reader.bytes_to_time(160000), 10.0);
    EXPECT_EQ(reader.get_position_bytes(), 0);

    // Every frame comes out whole across the buffer's refills.
    std::vector<std::string> frames = all_frames(reader);
    ASSERT_EQ(frames.size(), 2514u);
    EXPECT_EQ(joined(frames), bytes.substr(0, 2514 * 417));
    EXPECT_TRUE(reader.is_end());

    // A seek lands anywhere; the next frame after it comes out.
    reader.seek_bytes(417 * 1000 + 5);
    EXPECT_EQ(reader.get_position_bytes(), 417 * 1000 + 5);
    EXPECT_FALSE(reader.is_end());
    MP3Data next = reader.get_data(1);
    EXPECT_EQ(test::bytes_of(next).substr(0, 417), frames[1001]);
    EXPECT_EQ(reader.get_position_bytes(), 417 * 1002);

    reader.seek(10.0);
    EXPECT_EQ(reader.get_position_bytes(), 160000);

    reader.seek_bytes(-5);
    EXPECT_EQ(reader.get_position_bytes(), 0);
    EXPECT_EQ(test::bytes_of(reader.get_data(1)).substr(0, 417), frames[0]);

    reader.seek_bytes(2000000);
    EXPECT_EQ(reader.get_position_bytes(), 1048576);
    EXPECT_TRUE(reader.is_end());
    EXPECT_TRUE(reader.get_data(1).is_empty());
}

TEST(FileReaderMP3, SkipPushesTheFramesItPasses)
{
    test::TempDir dir;
    std::string bytes = test::mpeg_frames(test::mpeg1_128k, 10);
    FileReaderMP3 reader(path_of(dir.write("10.mp3", bytes)));
    ASSERT_TRUE(reader.is_open());
    test::Collector<MP3Data> collector;
    audio::connect<MP3Data>(&reader, &collector);

    // 0.1 s at 128 kbit/s is 1600 bytes: four frames.
    EXPECT_TRUE(reader.skip(0.1));
    EXPECT_EQ(collector.received.size(), 4u);
    EXPECT_TRUE(reader.skip_bytes(1000));
    EXPECT_EQ(collector.received.size(), 7u);
    EXPECT_EQ(reader.get_position_bytes(), 7 * 417);
    // Past the end: the rest is pushed, then it fails.
    EXPECT_FALSE(reader.skip(1.0));
    EXPECT_EQ(collector.received.size(), 10u);
    std::string pushed;
    for (const auto& block : collector.received)
        pushed += test::bytes_of(block).substr(0, std::size_t(block.frame_length));
    EXPECT_EQ(pushed, bytes);
    audio::connect<MP3Data>(&reader, nullptr);
}

TEST(FileReaderMP3, HandsOutFramesLongerThanABlock)
{
    // MPEG-2.5 Layer II at 160 kbit/s and 8000 Hz: 2880 bytes a frame. After
    // the leading bytes, some frames start with less than that left in the buffer.
    test::TempDir dir;
    std::string bytes = test::mpeg_frames(0xFFE5E800, 20);
    FileReaderMP3 reader(path_of(dir.write("long.mp2", std::string(2000, '\x22') + bytes)));
    ASSERT_TRUE(reader.is_open());
    EXPECT_EQ(reader.get_first_header().frame_length, 2880);
    EXPECT_EQ(joined(all_frames(reader)), bytes);
}

TEST(FileReaderMP3, EndsWhenTheFileShrinksUnderIt)
{
    test::TempDir dir;
    std::string path = dir.write("shrinks.mp3", test::mpeg_frames(test::mpeg1_128k, 100));
    FileReaderMP3 reader(path_of(path));
    ASSERT_TRUE(reader.is_open());
    std::filesystem::resize_file(path, 1000);
    // The length known at opening is never reached: the reader must still stop.
    EXPECT_LE(all_frames(reader).size(), 24u);
    EXPECT_TRUE(reader.get_data(1).is_empty());
}

namespace {

std::string lame_stream(const test::TempDir& dir, const std::string& name, std::vector<std::string> options)
{
    std::string wav = dir.file(name + ".wav");
    std::string mp3 = dir.file(name);
    test::run_tool({ "sox", "-n", "-r", "22050", "-c", "1", "-b", "16", wav, "synth", "0.5", "sine", "440" });
    std::vector<std::string> argv { "lame", "--quiet", "-t", "-b", "32" };
    argv.insert(argv.end(), options.begin(), options.end());
    argv.insert(argv.end(), { wav, mp3 });
    EXPECT_EQ(test::run_tool(argv).exit_code, 0);
    return mp3;
}

}

TEST(FileReaderMP3, AStreamMustStartNearTheStartOfTheFile)
{
    if (!test::have_tool("sox") || !test::have_tool("lame"))
        GTEST_SKIP() << "sox or lame missing";
    test::TempDir dir;
    std::string stream = test::read_file(lame_stream(dir, "plain.mp3", {}));
    // lame pads its ID3v2 tag to the size asked: 100 KB before the first frame.
    std::string tagged = lame_stream(dir, "tagged.mp3", { "--add-id3v2", "--pad-id3v2-size", "100000" });
    std::string junk(FileReaderMP3::search_span + 5000, '\x22');
    // Six channels: no WAV reader takes it, and its samples are no MPEG audio.
    std::string six = dir.file("six.wav");
    test::run_tool({ "sox", "-n", "-r", "8000", "-c", "6", "-b", "16", six, "synth", "0.5", "sine", "440" });
    // PCM samples that happen to be MPEG frames, under a PCM WAV header.
    std::string pcm_of_frames = test::pcm_wav(1, 8000, 16, test::mpeg_frames(test::mpeg1_128k, 20));

    struct Case {
        const char* name;
        std::string path;
        bool opens;
    } cases[] = {
        { "frames from the first byte", dir.write("a.mp3", stream), true },
        { "a large ID3v2 tag first", tagged, true },
        { "junk a little before", dir.write("b.mp3", std::string(3000, '\x22') + stream), true },
        { "junk far before", dir.write("c.mp3", junk + stream), false },
        { "a six-channel WAV", six, false },
        { "a PCM WAV of frame bytes", dir.write("d.wav", pcm_of_frames), false },
        { "MPEG audio in a WAV", test::fixture("mp3/ffmpeg_mp3_in_wav.wav"), true },
    };

    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FileReaderMP3 reader(path_of(c.path));
        EXPECT_EQ(reader.is_open(), c.opens);
        EXPECT_EQ(all_frames(reader).empty(), !c.opens);
    }
    EXPECT_EQ(audio::create_play_chain(path_of(six)), nullptr);
}

TEST(FileReaderMP3, AVbrHeaderFrameGivesTheLengthAndTheSeekTableAndIsNotPlayed)
{
    struct Case {
        const char* file;
        int frames; // as the header says: all but itself
        int samples, rate;
    } cases[] = {
        { "lame_vbr_xing.mp3", 40, 1152, 44100 },
        { "lame_cbr_info.mp3", 18, 576, 22050 },
    };

    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        std::string path = test::fixture(std::string("mp3/") + c.file);
        FileReaderMP3 reader(path_of(path));
        ASSERT_TRUE(reader.is_open());
        const double length = double(c.frames) * c.samples / c.rate;
        EXPECT_NEAR(reader.get_length(), length, 1e-9);
        // Frames and where each begins, in time and in bytes.
        std::vector<std::int64_t> starts;
        for (int guard = 0; guard < 1000; ++guard) {
            std::int64_t at = reader.get_position_bytes();
            if (reader.get_data(1).is_empty())
                break;
            starts.push_back(at);
        }
        ASSERT_EQ(starts.size(), std::size_t(c.frames));
        // A seek lands on the frame that plays at that time, as near as a
        // table in hundredths of the length can tell: within a frame.
        const double frame_time = double(c.samples) / c.rate;
        for (double t : { 0.1, 0.25, 0.4 }) {
            SCOPED_TRACE(t);
            reader.seek(t);
            EXPECT_NEAR(reader.get_position(), t, frame_time);
            std::int64_t landed = reader.get_position_bytes();
            auto frame = std::lower_bound(starts.begin(), starts.end(), landed) - starts.begin();
            EXPECT_NEAR(double(frame) * frame_time, t, frame_time);
        }
    }

    // Fraunhofer's VBRI: no tool at hand writes one, so it is put into the
    // first of fifty frames here: 49 frames in two stretches, whose sizes
    // count from the header frame's start, as Xing's offsets do.
    std::string frames = test::mpeg_frames(test::mpeg1_128k, 50);
    std::string vbri = "VBRI" + std::string { 0, 1, 0, 0, 0, 75 };
    for (std::uint32_t value : { 50u * 417, 49u })
        vbri += std::string { char(value >> 24), char(value >> 16), char(value >> 8), char(value) };
    vbri += std::string { 0, 2, 0, 1, 0, 2, 0, 25 };
    for (std::uint32_t value : { 25u * 417, 24u * 417 })
        vbri += std::string { char(value >> 8), char(value) };
    frames.replace(36, vbri.size(), vbri);
    test::TempDir dir;
    FileReaderMP3 reader(path_of(dir.write("vbri.mp3", frames)));
    ASSERT_TRUE(reader.is_open());
    EXPECT_NEAR(reader.get_length(), 49 * 1152 / 44100.0, 1e-9);
    EXPECT_EQ(reader.time_to_bytes(25 * 1152 / 44100.0), 25 * 417);
    EXPECT_EQ(joined(all_frames(reader)), frames.substr(417));
}

// A damaged table whose first entry is not the stream's start: times before
// it are the start, and nothing reads in front of the table.
TEST(FileReaderMP3, AXingTableThatDoesNotStartAtZeroStillMapsTheStart)
{
    std::string frames = test::mpeg_frames(test::mpeg1_128k, 20);
    std::string xing = "Xing" + std::string { 0, 0, 0, 7, 0, 0, 0, 19 };
    const std::uint32_t bytes = 19 * 417;
    xing += std::string { char(bytes >> 24), char(bytes >> 16), char(bytes >> 8), char(bytes) };
    for (int i = 0; i < 100; ++i)
        xing += char(0x80 + i);
    frames.replace(36, xing.size(), xing);
    test::TempDir dir;
    FileReaderMP3 reader(path_of(dir.write("xing.mp3", frames)));
    ASSERT_TRUE(reader.is_open());
    EXPECT_EQ(reader.get_position(), 0);
    reader.seek(0);
    EXPECT_EQ(reader.get_position(), 0);
    EXPECT_EQ(reader.time_to_bytes(0), 0);
}
