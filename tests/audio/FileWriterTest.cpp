#include "audio/Id3Tag.h"
#include "audio/codecs/EncoderADPCM.h"
#include "audio/codecs/EncoderGSM.h"
#include "audio/readers/FileReaderWAVPCM.h"
#include "audio/readers/MpegHeader.h"
#include "audio/writers/FileWriterMP3.h"
#include "audio/writers/FileWriterWAVADPCM.h"
#include "audio/writers/FileWriterWAVGSM.h"
#include "audio/writers/FileWriterWAVPCM.h"
#include "os/File.h"
#include "tests/audio/CodecFiles.h"
#include "tests/audio/FullDisk.h"
#include "tests/audio/Mp3Bytes.h"
#include "tests/audio/PipelineDoubles.h"
#include "tests/audio/WavBytes.h"
#include "tests/support/TempDir.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>

using audio::FileWriter;
using namespace std::string_literals;
using audio::PCMData;

namespace {

enum class Coding { PCM, ADPCM, GSM };

const char* name_of(Coding coding)
{
    return coding == Coding::PCM ? "PCM" : coding == Coding::ADPCM ? "ADPCM" : "GSM";
}

struct Layout {
    std::size_t data_offset;
    std::size_t unit; // bytes of one counted unit at 8000 Hz mono
    std::size_t samples; // samples per unit
    std::size_t fact_at; // 0: none
};

Layout layout_of(Coding coding)
{
    switch (coding) {
    case Coding::PCM:
        return { 44, 2, 1, 0 };
    case Coding::ADPCM:
        return { 90, 256, 500, 78 };
    case Coding::GSM:
        return { 60, 65, 320, 48 };
    }
    return {};
}

struct Result {
    bool ok;
    std::int64_t size;
};

// Called after each chunk, while the writer still has its file open.
using AfterChunk = std::function<void()>;

template<typename Encoder, typename Writer>
Result run_encoded(const std::string& path, const std::string& pcm, bool append, FileWriter::Opener opener,
    std::size_t piece, const AfterChunk& after_chunk)
{
    Encoder encoder;
    Writer writer(test::u16(path), append, opener);
    audio::connect(&encoder, &writer);
    for (std::size_t at = 0; at < pcm.size(); at += piece) {
        encoder.on_data(test::pcm_chunk(pcm.substr(at, piece), 1, 8000));
        if (after_chunk)
            after_chunk();
    }
    audio::connect(&encoder, nullptr);
    return { writer.is_ok(), writer.get_data_size() };
}

// Records 8000 Hz 16-bit mono PCM into a file of the coding.
Result record(Coding coding, const std::string& path, const std::string& pcm, bool append = false,
    FileWriter::Opener opener = {}, std::size_t piece = 1600, const AfterChunk& after_chunk = {})
{
    switch (coding) {
    case Coding::PCM: {
        audio::FileWriterWAVPCM writer(test::u16(path), append, opener);
        for (std::size_t at = 0; at < pcm.size(); at += piece) {
            writer.on_data(test::pcm_chunk(pcm.substr(at, piece), 1, 8000));
            if (after_chunk)
                after_chunk();
        }
        return { writer.is_ok(), writer.get_data_size() };
    }
    case Coding::ADPCM:
        return run_encoded<audio::EncoderADPCM, audio::FileWriterWAVADPCM>(
            path, pcm, append, opener, piece, after_chunk);
    case Coding::GSM:
        return run_encoded<audio::EncoderGSM, audio::FileWriterWAVGSM>(
            path, pcm, append, opener, piece, after_chunk);
    }
    return {};
}

// What our readers (and decoders) make of a file.
std::string decode(Coding coding, const std::string& path)
{
    switch (coding) {
    case Coding::PCM: {
        audio::FileReaderWAVPCM reader(test::u16(path));
        std::string out;
        for (PCMData chunk; !(chunk = reader.get_data(4096)).is_empty();)
            out += test::bytes_of(chunk);
        return out;
    }
    case Coding::ADPCM:
        return test::decode_adpcm_file(path);
    case Coding::GSM:
        return test::decode_gsm_file(path);
    }
    return {};
}

std::string sine(const test::TempDir& dir, double seconds, int hz = 440)
{
    std::string path = dir.file("sine.wav");
    test::tool({ "sox", "-n", "-r", "8000", "-c", "1", "-b", "16", path, "synth", std::to_string(seconds),
        "sine", std::to_string(hz), "vol", "0.5" });
    return test::sox_decode(path);
}

// Sizes in the header agree with the file and with the units counted.
void expect_consistent_header(Coding coding, const std::string& bytes, std::int64_t units)
{
    Layout l = layout_of(coding);
    ASSERT_GE(bytes.size(), l.data_offset);
    std::size_t data = bytes.size() - l.data_offset;
    EXPECT_EQ(test::read_le32(bytes, 4), bytes.size() - 8);
    EXPECT_EQ(test::read_le32(bytes, l.data_offset - 4), data);
    EXPECT_EQ(data, std::size_t(units) * l.unit);
    if (l.fact_at)
        EXPECT_EQ(test::read_le32(bytes, l.fact_at), std::size_t(units) * l.samples);
}

bool tools_present()
{
    return test::have_tool("sox") && test::have_tool("ffmpeg");
}

}

TEST(FileWriterWAV, WritesFilesThatSoxAndFfmpegRead)
{
    if (!tools_present())
        GTEST_SKIP() << "sox or ffmpeg missing";
    test::TempDir dir;
    std::string pcm = sine(dir, 1.1);
    for (Coding coding : { Coding::PCM, Coding::ADPCM, Coding::GSM }) {
        SCOPED_TRACE(name_of(coding));
        std::string path = dir.file(std::string(name_of(coding)) + ".wav");
        Result r = record(coding, path, pcm);
        EXPECT_TRUE(r.ok);
        Layout l = layout_of(coding);
        std::int64_t units = coding == Coding::PCM ? r.size / 2 : r.size;
        EXPECT_EQ(units, std::int64_t(pcm.size() / (l.unit == 2 ? 2 : l.samples * 2)));
        std::string bytes = test::read_file(path);
        expect_consistent_header(coding, bytes, units);

        std::string ours = decode(coding, path);
        EXPECT_EQ(ours.size(), std::size_t(units) * l.samples * 2);
        EXPECT_TRUE(test::sox_decode(path) == ours);
        std::string ffmpeg = test::ffmpeg_decode(path, coding == Coding::GSM ? "libgsm_ms" : "");
        if (coding == Coding::ADPCM)
            EXPECT_EQ(ffmpeg.size(), ours.size());
        else
            EXPECT_TRUE(ffmpeg == ours);
    }
}

TEST(FileWriterWAVPCM, TakesTheFirstChunksFormat)
{
    test::TempDir dir;
    std::string path = dir.file("new.wav");
    {
        audio::FileWriterWAVPCM writer(test::u16(path));
        EXPECT_EQ(writer.get_bitrate(), 0);
        // Nothing to write yet: no file, no format.
        writer.on_data(PCMData());
        EXPECT_FALSE(std::filesystem::exists(path));
        PCMData first = test::counting_pcm(1200, 1, 16, 8000);
        EXPECT_EQ(writer.process(first).bytes(), first.bytes());
        writer.on_data(test::counting_pcm(800, 1, 16, 8000));
        // Another rate is skipped and the writer stays ok.
        writer.on_data(test::counting_pcm(800, 1, 16, 22050));
        EXPECT_TRUE(writer.is_ok());
        EXPECT_EQ(writer.get_data_size(), 2000);
        EXPECT_EQ(writer.get_bitrate(), 128000);
    }
    std::string bytes = test::read_file(path);
    EXPECT_EQ(bytes.size(), 2044u);
    EXPECT_EQ(test::read_le32(bytes, 4), 2036u);
    EXPECT_EQ(test::read_le32(bytes, 40), 2000u);
    EXPECT_EQ(bytes.substr(44),
        test::bytes_of(test::counting_pcm(1200, 1)) + test::bytes_of(test::counting_pcm(800, 1)));
}

TEST(FileWriterWAV, AppendsToFilesWithOtherChunks)
{
    if (!tools_present())
        GTEST_SKIP() << "sox or ffmpeg missing";
    test::TempDir dir;
    std::string ten = dir.file("ten.wav");
    test::tool({ "sox", "-n", "-r", "8000", "-c", "1", "-b", "16", ten, "synth", "10", "sine", "300", "vol",
        "0.5" });
    std::string more = sine(dir, 3, 700);

    struct Case {
        Coding coding;
        std::vector<std::string> codec;
    } cases[] = {
        { Coding::PCM, { "-c:a", "pcm_s16le" } },
        { Coding::ADPCM, { "-c:a", "adpcm_ms", "-block_size", "256" } },
        { Coding::GSM, { "-c:a", "libgsm_ms" } },
    };

    for (const auto& c : cases) {
        SCOPED_TRACE(name_of(c.coding));
        // ffmpeg puts a LIST chunk before "data".
        std::string path = dir.file(std::string(name_of(c.coding)) + ".wav");
        std::vector<std::string> argv { "ffmpeg", "-loglevel", "error", "-i", ten };
        argv.insert(argv.end(), c.codec.begin(), c.codec.end());
        argv.push_back(path);
        test::tool(argv);
        std::string before = test::read_file(path);
        std::size_t data_offset = before.find("data") + 8;
        ASSERT_NE(before.find("LIST"), std::string::npos);
        std::string before_audio = decode(c.coding, path);

        Result r = record(c.coding, path, more, true);
        EXPECT_TRUE(r.ok);
        std::string after = test::read_file(path);
        Layout l = layout_of(c.coding);
        std::int64_t units = c.coding == Coding::PCM ? r.size / 2 : r.size;
        EXPECT_EQ(units * std::int64_t(l.samples), 13 * 8000);
        // The sizes are patched where they stand; every other header byte stays.
        std::string header = after.substr(0, data_offset);
        header = test::patched(header, 4, before.substr(4, 4));
        header = test::patched(header, data_offset - 4, before.substr(data_offset - 4, 4));
        std::size_t fact = before.find("fact");
        if (fact != std::string::npos)
            header = test::patched(header, fact + 8, before.substr(fact + 8, 4));
        EXPECT_TRUE(header == before.substr(0, data_offset));
        EXPECT_EQ(test::read_le32(after, 4), after.size() - 8);
        EXPECT_EQ(test::read_le32(after, data_offset - 4), std::size_t(units) * l.unit);
        if (fact != std::string::npos)
            EXPECT_EQ(test::read_le32(after, fact + 8), std::size_t(units) * l.samples);

        std::string ours = decode(c.coding, path);
        EXPECT_EQ(ours.size(), 13u * 8000 * 2);
        EXPECT_TRUE(ours.substr(0, before_audio.size()) == before_audio);
        EXPECT_TRUE(test::sox_decode(path) == ours);
        EXPECT_EQ(test::tool({ "sox", "--i", "-D", path }), "13.000000\n");
    }
}

TEST(FileWriterWAV, AppendsAfterAPartlyUsedLastBlockOrWithoutFact)
{
    if (!tools_present())
        GTEST_SKIP() << "sox or ffmpeg missing";
    test::TempDir dir;
    std::string more = sine(dir, 3, 700);
    // sox's file ends its "fact" count half way into its eighth block;
    // ffmpeg's, written to a pipe, has no "fact" at all.
    for (const char* name : { "gsm_part_block.wav", "gsm_no_fact.wav" }) {
        SCOPED_TRACE(name);
        std::string path = dir.file(name);
        std::string before = test::read_file(test::fixture(std::string("wav/") + name));
        std::ofstream(path, std::ios::binary) << before;
        std::string old_blocks = test::sox_decode(path);
        ASSERT_EQ(old_blocks.size(), 8u * 320 * 2);

        Result r = record(Coding::GSM, path, more, true);
        EXPECT_TRUE(r.ok);
        EXPECT_EQ(r.size, 8 + 75);
        // The old blocks play whole, then every new sample.
        std::string ours = decode(Coding::GSM, path);
        EXPECT_EQ(ours.size(), (8u + 75) * 320 * 2);
        EXPECT_TRUE(ours.substr(0, old_blocks.size()) == old_blocks);
        EXPECT_EQ(test::tool({ "sox", "--i", "-s", path }), std::to_string((8 + 75) * 320) + "\n");
    }
}

TEST(FileWriterWAV, RefusesToAppendToOtherFiles)
{
    test::TempDir dir;
    std::string pcm_file = dir.write("pcm.wav", test::pcm_wav(1, 8000, 16, std::string(1000, '\x11')));
    std::string text = dir.write("notes.txt", "not a sound file at all, but longer than a header would be");

    struct Case {
        Coding coding;
        std::string path;
    } cases[] = {
        { Coding::GSM, pcm_file },
        { Coding::ADPCM, pcm_file },
        { Coding::PCM, text },
        { Coding::PCM, dir.file("missing.wav") },
    };

    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        std::string before = test::read_file(c.path);
        Result r = record(c.coding, c.path, std::string(3200, '\x22'), true);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.size, 0);
        // Nothing is written over a file that is not of the writer's kind.
        EXPECT_EQ(test::read_file(c.path), before);
    }
}

TEST(FileWriterWAV, FullDiskKeepsWholeUnitsAndAPlayableFile)
{
    test::TempDir dir;
    std::string pcm(8000 * 2, '\0');
    for (std::size_t i = 0; i < pcm.size(); ++i)
        pcm[i] = char(i * 7 % 251);

    struct Case {
        Coding coding;
        std::uint64_t room; // bytes the file may reach
        std::int64_t units; // whole units that fit
    } cases[] = {
        // clang-format off
        { Coding::PCM,   44 + 1001,     500 },  // 1001 of 1002 bytes of a chunk
        { Coding::PCM,   44 + 3201,     1600 },
        { Coding::ADPCM, 90 + 256 * 5 + 100, 5 },
        { Coding::GSM,   60 + 65 * 12 + 64,  12 },
        { Coding::ADPCM, 60,            0 },    // not even the header fits
        // clang-format on
    };

    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(name_of(c.coding)) + " " + std::to_string(c.room));
        std::string path = dir.file("full.wav");
        Result r = record(c.coding, path, pcm, false, test::full_disk(c.room), 1002);
        EXPECT_FALSE(r.ok);
        std::int64_t units = c.coding == Coding::PCM ? r.size / 2 : r.size;
        EXPECT_EQ(units, c.units);
        if (c.units == 0)
            continue;
        std::string bytes = test::read_file(path);
        expect_consistent_header(c.coding, bytes, units);
        std::string ours = decode(c.coding, path);
        EXPECT_EQ(ours.size(), std::size_t(units) * layout_of(c.coding).samples * 2);
        if (test::have_tool("sox"))
            EXPECT_TRUE(test::sox_decode(path) == ours);
    }
}

// A process killed while it records leaves the file as it stands after some
// chunk: its header counts whole units and lags the audio on disk by less
// than half a second, so our reader, sox and ffmpeg play nearly all of it.
TEST(FileWriterWAV, TheHeaderFollowsTheAudioSoAKilledRecordingPlays)
{
    if (!tools_present())
        GTEST_SKIP() << "sox or ffmpeg missing";
    test::TempDir dir;
    std::string pcm = sine(dir, 3.05);
    for (Coding coding : { Coding::PCM, Coding::ADPCM, Coding::GSM }) {
        SCOPED_TRACE(name_of(coding));
        const Layout l = layout_of(coding);
        const std::string path = dir.file(std::string(name_of(coding)) + ".wav");
        auto seconds_of = [&](std::size_t bytes) { return double(bytes / l.unit * l.samples) / 8000; };
        std::string killed;
        double killed_lag = 0;
        double worst_lag = 0;
        record(coding, path, pcm, false, {}, 800, [&] {
            const std::string bytes = test::read_file(path);
            if (bytes.size() < l.data_offset)
                return;
            const std::size_t declared = test::read_le32(bytes, l.data_offset - 4);
            const std::size_t on_disk = bytes.size() - l.data_offset;
            EXPECT_EQ(declared % l.unit, 0u);
            ASSERT_LE(declared, on_disk);
            // A new header says 0 for both until its first update.
            EXPECT_EQ(test::read_le32(bytes, 4), declared ? l.data_offset + declared - 8 : 0);
            if (l.fact_at)
                EXPECT_EQ(test::read_le32(bytes, l.fact_at), declared / l.unit * l.samples);
            const double lag = seconds_of(on_disk) - seconds_of(declared);
            // The file of the kill: the one lagging most after two seconds.
            if (seconds_of(on_disk) >= 2 && (killed.empty() || lag >= killed_lag)) {
                killed = bytes;
                killed_lag = lag;
            }
            worst_lag = std::max(worst_lag, lag);
        });
        EXPECT_LT(worst_lag, 0.5);
        ASSERT_FALSE(killed.empty());

        const std::string cut = dir.write("killed.wav", killed);
        const double on_disk = seconds_of(killed.size() - l.data_offset);
        const std::string decoded[] = { decode(coding, cut), test::sox_decode(cut),
            test::ffmpeg_decode(cut, coding == Coding::GSM ? "libgsm_ms" : "") };
        for (const std::string& samples : decoded) {
            const double played = double(samples.size()) / 2 / 8000;
            EXPECT_LE(played, on_disk);
            EXPECT_GT(played, on_disk - 0.5);
        }
    }
}

// Appending to a recording whose process died continues after the audio it
// really has: sizes of 0 (never written), sizes that lag the audio on disk,
// and a chunk of another writer after "data", which is not audio.
TEST(FileWriterWAV, AppendingToAKilledRecordingContinuesAfterItsAudio)
{
    if (!tools_present())
        GTEST_SKIP() << "sox or ffmpeg missing";
    test::TempDir dir;
    const std::string first = sine(dir, 2, 300);
    const std::string more = sine(dir, 1, 700);
    enum class Header { zero, lagging, list_after };
    for (Coding coding : { Coding::PCM, Coding::ADPCM, Coding::GSM }) {
        for (Header header : { Header::zero, Header::lagging, Header::list_after }) {
            SCOPED_TRACE(std::string(name_of(coding)) + " " + std::to_string(int(header)));
            const Layout l = layout_of(coding);
            const std::string path = dir.file("killed.wav");
            ASSERT_TRUE(record(coding, path, first).ok);
            const std::string audio_before = decode(coding, path);
            ASSERT_EQ(audio_before.size(), 2u * 8000 * 2);
            std::string bytes = test::read_file(path);
            const std::size_t data = bytes.size() - l.data_offset;
            auto declare = [&](std::size_t size) {
                bytes
                    = test::patched(bytes, 4, test::le32(std::uint32_t(size ? l.data_offset + size - 8 : 0)));
                bytes = test::patched(bytes, l.data_offset - 4, test::le32(std::uint32_t(size)));
                if (l.fact_at)
                    bytes = test::patched(
                        bytes, l.fact_at, test::le32(std::uint32_t(size / l.unit * l.samples)));
            };
            if (header == Header::zero)
                declare(0);
            else if (header == Header::lagging)
                declare(data / l.unit / 2 * l.unit);
            else {
                bytes += test::chunk("LIST", "INFOISFT\x0e\0\0\0Lavf59.27.100\0"s);
                bytes = test::patched(bytes, 4, test::le32(std::uint32_t(bytes.size() - 8)));
            }
            dir.write("killed.wav", bytes);

            EXPECT_TRUE(record(coding, path, more, true).ok);
            const std::string ours = decode(coding, path);
            EXPECT_EQ(ours.size(), 3u * 8000 * 2);
            EXPECT_TRUE(ours.substr(0, audio_before.size()) == audio_before);
            EXPECT_TRUE(test::sox_decode(path) == ours);
            expect_consistent_header(coding, test::read_file(path), std::int64_t(3 * 8000 / l.samples));
        }
    }
}

TEST(FileWriterWAV, NothingIsWrittenWithoutAFile)
{
    test::TempDir dir;
    Result r = record(Coding::PCM, dir.path() + "/no/such/folder/x.wav", std::string(3200, '\x22'));
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.size, 0);
}

namespace {

audio::MP3Data mp3_chunk(std::size_t size, std::uint8_t first)
{
    audio::MP3Data chunk;
    chunk.buffer = test::counting_pcm(size, 1, 16, 8000, first).buffer;
    chunk.frame_length = int(size);
    return chunk;
}

}

TEST(FileWriterMP3, BuffersSmallChunksAndWritesLargeOnesDirectly)
{
    test::TempDir dir;
    std::string path = dir.file("out.mp3");
    std::string expected;
    {
        audio::FileWriterMP3 writer(test::u16(path));
        for (std::uint8_t i = 0; i < 5; ++i) {
            writer.on_data(mp3_chunk(1000, i));
            expected += test::bytes_of(mp3_chunk(1000, i));
        }
        EXPECT_EQ(test::read_file(path).size(), 0u);
        writer.on_data(mp3_chunk(130000, 9));
        expected += test::bytes_of(mp3_chunk(130000, 9));
        // The buffered bytes first, then the large chunk straight after.
        EXPECT_TRUE(test::read_file(path) == expected);
        writer.on_data(mp3_chunk(500, 3));
        expected += test::bytes_of(mp3_chunk(500, 3));
        EXPECT_TRUE(writer.is_ok());
        EXPECT_EQ(writer.get_data_size(), 135500);
    }
    EXPECT_TRUE(test::read_file(path) == expected);

    audio::FileWriterMP3 nowhere(test::u16(dir.path() + "/missing/out.mp3"));
    nowhere.on_data(mp3_chunk(1000, 0));
    EXPECT_FALSE(nowhere.is_ok());
}

namespace {

audio::MP3Data frame_data(const std::string& bytes)
{
    audio::MP3Data chunk;
    chunk.buffer = liba::SharedBuffer(bytes.size());
    std::copy(bytes.begin(), bytes.end(), chunk.buffer.make_unique());
    chunk.frame_length = int(bytes.size());
    return chunk;
}

audio::MpegHeader header_of(std::uint32_t word)
{
    audio::MpegHeader header;
    std::string bytes = test::header_bytes(word);
    EXPECT_TRUE(audio::parse_mpeg_header(reinterpret_cast<const std::uint8_t*>(bytes.data()), header));
    return header;
}

}

TEST(FileWriterMP3, AppendingKeepsTheTagLastOnDiskThroughout)
{
    test::TempDir dir;
    // lame's frames, without the trailer the fixture carries.
    std::string frames = test::read_file(test::fixture("mp3/lame_mpeg1_mono.mp3"));
    ASSERT_EQ(frames.substr(frames.size() - 128, 3), "TAG");
    frames.resize(frames.size() - 128);
    const std::size_t length = std::size_t(header_of(test::mpeg25_16k_mono).frame_length);
    const std::string added = test::mpeg_frames(test::mpeg25_16k_mono, 20);

    struct Case {
        bool tagged;
        std::uint64_t room; // 0: no limit
    } cases[] = { { false, 0 }, { true, 0 }, { true, 200 } };

    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.tagged) + " " + std::to_string(c.room));
        std::string path = dir.write("song.mp3", frames);
        audio::Id3Tag tag(test::u16(path));
        tag.title = u"Evening";
        tag.track = 4;
        if (c.tagged)
            ASSERT_TRUE(tag.write(test::u16(path)));
        const std::string before = test::read_file(path);
        const std::string trailer = before.substr(frames.size());
        {
            audio::FileWriterMP3 writer(test::u16(path), true,
                c.room ? test::full_disk(before.size() + c.room) : FileWriter::Opener());
            EXPECT_EQ(writer.get_data_size(), std::int64_t(frames.size()));
            for (std::size_t at = 0; at < added.size(); at += length) {
                writer.on_data(frame_data(added.substr(at, length)));
                if (!writer.is_ok())
                    continue;
                // What a killed process leaves: the new frames written so far, then the tag.
                const std::string now = test::read_file(path);
                ASSERT_GE(now.size(), before.size());
                const std::size_t written = now.size() - before.size();
                EXPECT_TRUE(now == frames + added.substr(0, written) + trailer);
            }
            EXPECT_EQ(writer.is_ok(), c.room == 0);
        }
        const std::string after = test::read_file(path);
        if (c.room == 0) {
            EXPECT_TRUE(after == frames + added + trailer);
        } else {
            // The disk fills in the third frame, and the tag no longer fits
            // after the two whole ones: it replaces their last bytes.
            EXPECT_EQ(after.size(), frames.size() + 2 * length);
            EXPECT_TRUE(after.substr(0, after.size() - 128) == frames + added.substr(0, 2 * length - 128));
            EXPECT_TRUE(after.substr(after.size() - 128) == trailer);
        }
        audio::Id3Tag read_back(test::u16(path));
        EXPECT_EQ(read_back.has_tag, c.tagged);
        if (c.tagged) {
            EXPECT_EQ(read_back.title, u"Evening");
            EXPECT_EQ(read_back.track, 4);
        }
    }
}

// A killed process loses less than half a second of the frames handed in.
TEST(FileWriterMP3, WritesAtLeastEveryHalfSecondOfAudio)
{
    test::TempDir dir;
    for (std::uint32_t word : { test::mpeg25_16k_mono, test::mpeg1_128k }) {
        const audio::MpegHeader header = header_of(word);
        const std::size_t length = std::size_t(header.frame_length);
        const double frame_seconds = double(header.samples_per_frame) / header.sample_rate;
        const std::string path = dir.file("out.mp3");
        const std::string frames = test::mpeg_frames(word, 60);
        {
            audio::FileWriterMP3 writer(test::u16(path));
            for (std::size_t at = 0; at < frames.size(); at += length) {
                writer.on_data(frame_data(frames.substr(at, length)));
                const std::string now = test::read_file(path);
                EXPECT_TRUE(now == frames.substr(0, now.size()));
                const double buffered = double(writer.get_data_size() - std::int64_t(now.size())) / length;
                EXPECT_LT(buffered * frame_seconds, 0.5);
            }
            EXPECT_TRUE(writer.is_ok());
        }
        EXPECT_TRUE(test::read_file(path) == frames);
    }
}

// A full disk turns the writer's ok off within half a second of audio after
// it filled, and the file ends at its last whole frame.
TEST(FileWriterMP3, AFullDiskIsSeenWithinHalfASecondAndEndsAtAWholeFrame)
{
    test::TempDir dir;
    const audio::MpegHeader header = header_of(test::mpeg25_16k_mono);
    const std::size_t length = std::size_t(header.frame_length);
    const double frame_seconds = double(header.samples_per_frame) / header.sample_rate;
    const std::string path = dir.file("full.mp3");
    const std::string frames = test::mpeg_frames(test::mpeg25_16k_mono, 100);
    {
        // Room for ten frames and part of the eleventh.
        audio::FileWriterMP3 writer(test::u16(path), false, test::full_disk(10 * length + 100));
        std::size_t fed = 0;
        while (writer.is_ok() && fed < 100)
            writer.on_data(frame_data(frames.substr(fed++ * length, length)));
        EXPECT_FALSE(writer.is_ok());
        EXPECT_LT(double(fed - 10) * frame_seconds, 0.5 + frame_seconds);
        EXPECT_EQ(writer.get_data_size(), std::int64_t(10 * length));
        EXPECT_TRUE(test::read_file(path) == frames.substr(0, 10 * length));
    }
    EXPECT_TRUE(test::read_file(path) == frames.substr(0, 10 * length));
}

TEST(FileWriterMP3, FullDiskCountsOnlyWhatReachedTheFile)
{
    test::TempDir dir;
    std::string path = dir.file("full.mp3");
    audio::FileWriterMP3 writer(test::u16(path), false, test::full_disk(150000));
    // The first 120,000 bytes fit; the second flush stops at 150,000.
    for (int i = 0; i < 300; ++i)
        writer.on_data(mp3_chunk(1000, std::uint8_t(i)));
    EXPECT_FALSE(writer.is_ok());
    EXPECT_EQ(writer.get_data_size(), 150000);
    EXPECT_EQ(test::read_file(path).size(), 150000u);
}

TEST(FileWriterWAV, StopsWhereRiffSizesEnd)
{
    test::TempDir dir;
    // A sparse file whose "data" chunk is 65 bytes short of RIFF's limit:
    // 32 more frames fit, a 33rd does not.
    const std::uint32_t data = 0xFFFFFFFFu - 36 - 65;
    std::string header = test::pcm_wav(1, 8000, 16, "");
    header = test::patched(header, 4, test::le32(36 + data));
    header = test::patched(header, 40, test::le32(data));
    std::string path = dir.write("huge.wav", header);
    std::filesystem::resize_file(path, 44 + std::uint64_t(data));

    {
        audio::FileWriterWAVPCM writer(test::u16(path), true);
        ASSERT_TRUE(writer.is_ok());
        writer.on_data(test::counting_pcm(64, 1, 16, 8000));
        EXPECT_TRUE(writer.is_ok());
        writer.on_data(test::counting_pcm(2, 1, 16, 8000));
        EXPECT_FALSE(writer.is_ok());
        EXPECT_EQ(writer.get_data_size(), std::int64_t(data) + 64);
    }
    EXPECT_EQ(std::filesystem::file_size(path), 44 + std::uint64_t(data) + 64);
    std::string head(44, '\0');
    std::ifstream(path, std::ios::binary).read(head.data(), 44);
    EXPECT_EQ(test::read_le32(head, 4), 0xFFFFFFFFu - 1);
    EXPECT_EQ(test::read_le32(head, 40), data + 64);
}
