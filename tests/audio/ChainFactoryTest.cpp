#include "audio/chains/ChainFactory.h"

#include "audio/codecs/Encoder.h"
#include "audio/readers/FileReader.h"
#include "audio/readers/FileReaderMP3.h"
#include "audio/writers/FileWriter.h"
#include "audio/Id3Tag.h"
#include "tests/audio/DecodedAudio.h"
#include "tests/audio/FullDisk.h"
#include "tests/audio/RecordedFile.h"

#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

std::string ffmpeg_tone(
    const test::TempDir& dir, const std::string& name, const std::string& codec, double seconds)
{
    return test::make_file(dir, name,
        { "ffmpeg", "-loglevel", "error", "-f", "lavfi", "-i", "sine=f=440:d=" + std::to_string(seconds),
            "-ac", "2", "-c:a", codec, "-y", "%o" });
}

std::string vorbis_tone(const test::TempDir& dir, const std::string& name, double seconds)
{
    std::string wav = test::make_file(dir, name + ".wav",
        { "sox", "-n", "-r", "44100", "-c", "2", "-b", "16", "%o", "synth", std::to_string(seconds), "sine",
            "440" });
    return test::make_file(dir, name, { "oggenc", "-Q", "-o", "%o", wav });
}

std::u16string name_of(const std::unique_ptr<audio::PlayChain>& chain)
{
    return chain ? chain->get_format_name() : u"none";
}

// 16-bit mono 8000 Hz: a 440 Hz tone.
audio::PCMData tone(int frames, int rate = 8000)
{
    std::vector<std::int16_t> samples(frames);
    for (int i = 0; i < frames; ++i)
        samples[i] = std::int16_t(12000 * std::sin(i * 2 * M_PI * 440 / rate));
    return audio::PCMData(liba::SharedBuffer(samples.size() * 2, samples.data()), 1, 16, rate);
}

}

TEST(CreatePlayChain, TheReadersRecogniseTheFormat)
{
    if (!test::have_tool("ffmpeg") || !test::have_tool("oggenc") || !test::have_tool("sox"))
        GTEST_SKIP() << "ffmpeg, oggenc or sox missing";
    test::TempDir dir;
    const std::string wav = test::read_file(test::fixture("wav/pcm16_stereo.wav"));
    // A file named after another format is still read for what it is.
    const std::string misnamed = dir.write("adpcm.mp3", test::read_file(test::fixture("wav/adpcm_mono.wav")));

    struct Case {
        std::string path;
        std::u16string name;
    } cases[] = {
        { test::fixture("wav/pcm16_stereo.wav"), u"PCM" },
        { test::fixture("wav/pcm8_mono.wav"), u"PCM" },
        { test::fixture("wav/adpcm_stereo.wav"), u"ADPCM" },
        { misnamed, u"ADPCM" },
        { test::fixture("wav/gsm_sox.wav"), u"GSM" },
        { vorbis_tone(dir, "tone.ogg", 1), u"Vorbis" },
        { test::fixture("musepack/sv7-440hz.mpc"), u"MPC" },
        { test::fixture("mp3/lame_mpeg1_stereo.mp3"), u"mp3" },
        { test::fixture("mp3/ffmpeg_mpeg25_mono.mp3"), u"mp3" },
        // WMA is not among these readers; the application's factory adds it.
        { ffmpeg_tone(dir, "tone.wma", "wmav2", 1), u"none" },
        { dir.write("notes.txt", "Plain text, not audio at all.\n"), u"none" },
        { dir.write("cut.wav", wav.substr(0, 40)), u"none" },
        { dir.write("empty.wav", ""), u"none" },
        { dir.file("missing.wav"), u"none" },
    };

    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        auto chain = audio::create_play_chain(test::u16(c.path));
        EXPECT_EQ(name_of(chain), c.name);
        if (!chain)
            continue;
        ASSERT_NE(chain->get_reader(), nullptr);
        EXPECT_TRUE(chain->get_reader()->is_open());
        EXPECT_TRUE(chain->has_pcm_output());
        audio::PCMData first = chain->get_output()->get_data(1000);
        EXPECT_FALSE(first.is_empty());
        EXPECT_EQ(first.bits_per_sample, chain->get_reader()->get_bits_per_sample());
    }
}

TEST(CreatePlayChain, LargeVorbisAndWmaFilesAreNotTakenForMp3)
{
    if (!test::have_tool("ffmpeg") || !test::have_tool("oggenc") || !test::have_tool("sox"))
        GTEST_SKIP() << "ffmpeg, oggenc or sox missing";
    test::TempDir dir;
    for (const std::string& path : { vorbis_tone(dir, "long.ogg", 30),
             ffmpeg_tone(dir, "long.wma", "wmav2", 30), ffmpeg_tone(dir, "long1.wma", "wmav1", 30) }) {
        SCOPED_TRACE(path);
        audio::FileReaderMP3 reader(test::u16(path));
        EXPECT_FALSE(reader.is_open());
        auto chain = audio::create_play_chain(test::u16(path));
        EXPECT_NE(name_of(chain), u"mp3");
    }
}

TEST(CreatePlayChain, TitleIsTheTagTitleOrTheFileName)
{
    test::TempDir dir;
    std::string mp3 = test::read_file(test::fixture("mp3/lame_mpeg1_mono.mp3"));
    mp3.resize(mp3.size() - 128); // without the fixture's own tag
    const std::string plain = dir.write("plain.mp3", mp3);
    const std::string untitled = dir.write("untitled.mp3", mp3);
    const std::string titled = dir.write("titled.mp3", mp3);
    audio::Id3Tag tag(test::u16(untitled));
    tag.artist = u"Someone";
    ASSERT_TRUE(tag.write(test::u16(untitled)));
    tag.title = u"A Song";
    ASSERT_TRUE(tag.write(test::u16(titled)));

    EXPECT_EQ(audio::create_play_chain(test::u16(plain))->get_title(), u"plain.mp3");
    EXPECT_EQ(audio::create_play_chain(test::u16(untitled))->get_title(), u"untitled.mp3");
    EXPECT_EQ(audio::create_play_chain(test::u16(titled))->get_title(), u"A Song");
    EXPECT_EQ(
        audio::create_play_chain(test::u16(test::fixture("wav/gsm_sox.wav")))->get_title(), u"gsm_sox.wav");
}

TEST(CreateRecordChain, ByExactFormatName)
{
    test::TempDir dir;

    struct Case {
        std::u16string name;
        std::int32_t rate, bitrate;
        bool made;
        int encoder_bitrate;
    } cases[] = {
        { u"PCM", 8000, 0, true, 0 }, // the writer knows its rate once the first chunk came
        { u"ADPCM", 8000, 0, true, 0 },
        { u"GSM", 8000, 0, true, 13000 },
        { u"mp3", 8000, 16000, true, 16000 },
        { u"mp3", 44100, 320000, true, 320000 },
        // A rate of 24 kHz or below has no 320 kbit/s MP3, nor has any rate 100 kbit/s.
        { u"mp3", 8000, 320000, false, 0 },
        { u"mp3", 44100, 100000, false, 0 },
        { u"Mp3", 8000, 16000, false, 0 },
        { u"pcm", 8000, 0, false, 0 },
        { u"WMA", 8000, 0, false, 0 },
        { u"", 8000, 0, false, 0 },
    };

    for (const auto& c : cases) {
        SCOPED_TRACE(platform::to_utf8(c.name) + " " + std::to_string(c.bitrate));
        auto chain
            = audio::create_record_chain(test::u16(dir.file("out")), c.name, 1, 16, c.rate, c.bitrate, false);
        ASSERT_EQ(chain != nullptr, c.made);
        if (!chain)
            continue;
        EXPECT_EQ(chain->get_format_name(), c.name);
        EXPECT_EQ(chain->get_encoder()->get_bitrate(), c.encoder_bitrate);
        EXPECT_TRUE(chain->get_writer()->is_ok());
    }
}

TEST(CreateRecordChain, RefusesAFormatItsEncoderCannotCode)
{
    test::TempDir dir;

    struct Case {
        std::u16string name;
        std::int32_t channels, bits, rate;
        bool made;
    } cases[] = {
        { u"ADPCM", 1, 8, 8000, false },
        { u"ADPCM", 3, 16, 8000, false },
        { u"ADPCM", 2, 16, 44100, true },
        { u"GSM", 1, 16, 11025, false },
        { u"GSM", 1, 16, 16000, false },
        { u"GSM", 2, 16, 8000, false },
        { u"GSM", 1, 8, 8000, false },
        { u"mp3", 1, 24, 44100, false },
        { u"mp3", 1, 8, 22050, true },
        { u"PCM", 1, 8, 11025, true },
    };

    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
            << platform::to_utf8(c.name) << " " << c.channels << "x" << c.bits << " " << c.rate);
        const std::string path = dir.file("refused");
        auto chain
            = audio::create_record_chain(test::u16(path), c.name, c.channels, c.bits, c.rate, 32000, false);
        EXPECT_EQ(chain != nullptr, c.made);
    }
}

TEST(CreateRecordChain, EachFormatWritesAFileThatFfmpegReads)
{
    if (!test::have_tool("ffprobe"))
        GTEST_SKIP() << "ffmpeg missing";
    test::TempDir dir;

    struct Case {
        std::u16string name;
        std::string file, codec;
        std::size_t min_samples, max_samples;
    } cases[] = {
        { u"PCM", "pcm.wav", "pcm_s16le", 8000, 8000 },
        // Whole blocks only, as a recording ends.
        { u"ADPCM", "adpcm.wav", "adpcm_ms", 7000, 8000 },
        { u"GSM", "gsm.wav", "gsm_ms", 8000, 8000 },
        { u"mp3", "out.mp3", "mp3", 8000 + 528, 8000 + 528 + 1728 + 576 },
    };

    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string path = dir.file(c.file);
        {
            auto chain = audio::create_record_chain(test::u16(path), c.name, 1, 16, 8000, 16000, false);
            ASSERT_NE(chain, nullptr);
            for (int i = 0; i < 8; ++i)
                chain->get_input()->on_data(tone(1000));
            EXPECT_TRUE(chain->get_writer()->is_ok());
        }
        EXPECT_EQ(test::probe_stream(path), c.codec + ",8000,1\n");
        auto decoded = test::decode_s16(path);
        EXPECT_GE(decoded.size(), c.min_samples);
        EXPECT_LE(decoded.size(), c.max_samples);
        // The tone came through: its level is far above silence.
        EXPECT_GT(test::rms(decoded, 1000, 7000), 4000.0);
    }
}

// A disk that fills while a recording runs stops it within a second of audio,
// in every format, and the file ends with a whole frame or block: our
// readers, sox and ffmpeg play all that it holds.
TEST(CreateRecordChain, AFullDiskIsSeenWithinASecondAndLeavesAWholeFile)
{
    if (!test::have_tool("ffmpeg") || !test::have_tool("sox"))
        GTEST_SKIP() << "ffmpeg or sox missing";
    test::TempDir dir;

    struct Case {
        std::u16string name;
        std::string file;
        std::size_t header, bytes_per_second, unit;
    } cases[] = {
        { u"PCM", "pcm.wav", 44, 16000, 2 },
        { u"ADPCM", "adpcm.wav", 90, 4096, 256 },
        { u"GSM", "gsm.wav", 60, 1625, 65 },
        { u"mp3", "out.mp3", 0, 2000, 144 },
    };

    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string path = dir.file(c.file);
        // Room for two seconds of audio and part of a unit more.
        const std::size_t room = c.header + 2 * c.bytes_per_second + c.unit / 2;
        double fed = 0;
        {
            auto chain = audio::create_record_chain(
                test::u16(path), c.name, 1, 16, 8000, 16000, false, test::full_disk(room));
            ASSERT_NE(chain, nullptr);
            while (chain->get_writer()->is_ok() && fed < 10) {
                chain->get_input()->on_data(tone(400));
                fed += 0.05;
            }
            EXPECT_FALSE(chain->get_writer()->is_ok());
            EXPECT_LT(fed, 2.0 + 1.0);
        }
        const std::string bytes = test::read_file(path);
        ASSERT_GE(bytes.size(), c.header + c.bytes_per_second);
        EXPECT_EQ((bytes.size() - c.header) % c.unit, 0u);
        const double on_disk = double(bytes.size() - c.header) / c.bytes_per_second;
        auto play = audio::create_play_chain(test::u16(path));
        ASSERT_NE(play, nullptr);
        const double played[] = {
            double(test::read_all(*play->get_output(), 1000, 1, 8000).size()) / 2 / 8000,
            double(test::tool({ "sox", path, "-t", "raw", "-e", "signed", "-b", "16", "-" }).size()) / 2 / 8000,
            double(test::decode_s16(path).size()) / 8000,
        };
        for (const double seconds : played)
            EXPECT_NEAR(seconds, on_disk, 0.15);
    }
}

TEST(CreateRecordChain, AnUnopenableTargetGivesAChainWhoseWriterFails)
{
    test::TempDir dir;
    for (std::u16string name : { u"PCM", u"ADPCM", u"GSM", u"mp3" }) {
        SCOPED_TRACE(platform::to_utf8(name));
        auto chain = audio::create_record_chain(
            test::u16(dir.file("no/such/folder/out")), name, 1, 16, 8000, 16000, false);
        ASSERT_NE(chain, nullptr);
        for (int i = 0; i < 4; ++i)
            chain->get_input()->on_data(tone(1000));
        EXPECT_FALSE(chain->get_writer()->is_ok());
    }
}

TEST(PlayChainConnectTo, OnlyTheSameCodingCopiesUndecoded)
{
    test::TempDir dir;
    const char* plays[]
        = { "wav/pcm16_stereo.wav", "wav/adpcm_mono.wav", "wav/gsm_sox.wav", "mp3/lame_mpeg1_stereo.mp3" };
    const char16_t* records[] = { u"PCM", u"ADPCM", u"GSM", u"mp3" };
    for (int p = 0; p < 4; ++p) {
        for (int r = 0; r < 4; ++r) {
            SCOPED_TRACE(std::string(plays[p]) + " to " + platform::to_utf8(records[r]));
            auto play = audio::create_play_chain(test::u16(test::fixture(plays[p])));
            ASSERT_NE(play, nullptr);
            // A format every encoder takes: joining does not encode.
            auto record
                = audio::create_record_chain(test::u16(dir.file("joined" + std::to_string(p * 4 + r))),
                    records[r], 1, 16, 8000, 32000, true);
            ASSERT_NE(record, nullptr);
            EXPECT_EQ(play->connect_to(*record), p == r);
            if (p != r) { // the decoder still gets the reader's data
                EXPECT_FALSE(play->get_output()->get_data(100).is_empty());
            }
        }
    }
}

TEST(PlayChainConnectTo, Mp3FramesGoIntoTheMp3WriterByteForByte)
{
    test::TempDir dir;
    const std::u16string source = test::u16(test::fixture("mp3/lame_mpeg1_stereo.mp3"));
    std::string frames;
    audio::FileReaderMP3 reference(source);
    for (audio::MP3Data frame = reference.get_data(1); !frame.is_empty(); frame = reference.get_data(1))
        frames += test::bytes_of(frame).substr(0, frame.frame_length);
    ASSERT_FALSE(frames.empty());

    const std::string target = dir.file("copy.mp3");
    auto play = audio::create_play_chain(source);
    {
        auto record = audio::create_record_chain(test::u16(target), u"mp3", 2, 16, 44100, 128000, false);
        ASSERT_TRUE(play->connect_to(*record));
        audio::FileReader* reader = play->get_reader();
        EXPECT_TRUE(reader->skip_bytes(reader->get_length_bytes()) || reader->is_end());
    }
    const std::string copy = test::read_file(target);
    EXPECT_EQ(copy.size(), frames.size());
    EXPECT_TRUE(copy == frames);
    // The record chain unlinked the reader as it went.
    EXPECT_TRUE(play->get_reader()->is_end());
}
