#include "app/explorer/ConvertForm.h"
#include "audio/readers/FileReaderMP3.h"
#include "dialogs/ErrorForm.h"
#include "model/FileHelpers.h"
#include "model/RangeMarkList.h"
#include "tests/audio/FullDisk.h"
#include "tests/dialogs/DialogScreen.h"
#include "tests/support/Screenshot.h"
#include "tests/support/TempDir.h"
#include "tests/support/Tool.h"

#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <set>
#include <sstream>
#include <thread>

namespace {

using Outcome = ConvertForm::Outcome;

std::u16string u16(const std::string& text)
{
    return platform::from_utf8(text);
}

// The names in the folder, hidden ones too: a conversion leaves no temporary file.
std::set<std::string> names_in(const std::string& folder)
{
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

// Holds the writer's first write until released, so a test can act while
// the conversion is surely under way.
class WriteGate {
public:
    void reached()
    {
        std::unique_lock lock(m_lock);
        m_reached = true;
        m_changed.notify_all();
        m_changed.wait(lock, [this] { return m_released; });
    }

    bool wait_reached()
    {
        std::unique_lock lock(m_lock);
        return m_changed.wait_for(lock, std::chrono::seconds(30), [this] { return m_reached; });
    }

    void release()
    {
        std::lock_guard lock(m_lock);
        m_released = true;
        m_changed.notify_all();
    }

private:
    std::mutex m_lock;
    std::condition_variable m_changed;
    bool m_reached = false;
    bool m_released = false;
};

class GatedFile : public os::File {
public:
    GatedFile(const std::u16string& path, os::File::Mode mode, WriteGate& gate)
        : os::File(path, mode)
        , m_gate(gate)
    {
    }

    std::size_t write(const void* buffer, std::size_t count) override
    {
        m_gate.reached();
        return os::File::write(buffer, count);
    }

private:
    WriteGate& m_gate;
};

class Convert : public test::DialogScreen {
protected:
    void SetUp() override
    {
        if (!test::have_tool("sox") || !test::have_tool("ffmpeg") || !test::have_tool("ffprobe"))
            GTEST_SKIP() << "sox and ffmpeg make the recordings, ffprobe and ffmpeg check the MP3 files";
    }

    std::string make(const std::string& name, std::vector<std::string> argv)
    {
        const std::string path = dir.file(name);
        for (auto& arg : argv) {
            if (arg == "%o")
                arg = path;
        }
        EXPECT_EQ(test::run_tool(argv).exit_code, 0) << "making " << name;
        return path;
    }

    // A 440 Hz tone of the given seconds, 8 kHz mono 16-bit PCM.
    std::string tone(const std::string& name, const std::string& seconds)
    {
        return make(name, { "sox", "-n", "-r", "8000", "-c", "1", "-b", "16", "-e", "signed", "%o", "synth", seconds,
                              "sine", "440" });
    }

    Outcome convert(const std::string& source, const std::string& target, audio::FileWriter::Opener opener = {})
    {
        ConvertForm form(nullptr, settings, u16(source), u16(target), std::move(opener));
        EXPECT_TRUE(form.is_ready());
        form.do_modal();
        EXPECT_FALSE(screen->stalled());
        return form.outcome();
    }

    test::TempDir dir;
};

double probed_duration(const std::string& mp3)
{
    const auto probe = test::run_tool({ "ffprobe", "-v", "error", "-show_entries", "stream=codec_name:format=duration",
        "-of", "default=noprint_wrappers=1", mp3 });
    EXPECT_EQ(probe.exit_code, 0);
    EXPECT_NE(probe.out.find("codec_name=mp3"), std::string::npos) << probe.out;
    const auto at = probe.out.find("duration=");
    return at == std::string::npos ? -1 : std::strtod(probe.out.c_str() + at + 9, nullptr);
}

// MP3 adds the encoder's delay and a last padded frame: a few frames more.
void expect_mp3_of(const std::string& mp3, double seconds)
{
    const double duration = probed_duration(mp3);
    EXPECT_GE(duration, seconds - 0.05);
    EXPECT_LE(duration, seconds + 0.3);
}

// The decoded samples' RMS, after a decode that stops at the first damaged frame.
double strict_decode_rms(const std::string& file)
{
    const auto decoded = test::run_tool({ "ffmpeg", "-v", "error", "-xerror", "-err_detect", "explode", "-i", file,
        "-f", "s16le", "-ac", "1", "-" });
    EXPECT_EQ(decoded.exit_code, 0) << "ffmpeg found damage in " << file;
    const std::size_t count = decoded.out.size() / 2;
    if (count == 0)
        return 0;
    double sum = 0;
    for (std::size_t i = 0; i < count; ++i) {
        std::int16_t sample;
        std::memcpy(&sample, decoded.out.data() + 2 * i, 2);
        sum += double(sample) * sample;
    }
    return std::sqrt(sum / double(count));
}

TEST_F(Convert, EachWavCodingBecomesAnMp3FileThatDecodesWhole)
{
    const struct {
        std::string name;
        std::vector<std::string> make;
    } cases[] = {
        { "pcm.wav", { "sox", "-n", "-r", "8000", "-c", "1", "-b", "16", "-e", "signed", "%o", "synth", "3", "sine",
                         "440" } },
        { "stereo.wav", { "ffmpeg", "-v", "error", "-f", "lavfi", "-i", "sine=frequency=440:sample_rate=22050:duration=3",
                            "-ac", "2", "-c:a", "pcm_s16le", "%o" } },
        { "adpcm.wav", { "sox", "-n", "-r", "8000", "-c", "1", "-e", "ms-adpcm", "%o", "synth", "3", "sine", "440" } },
        { "gsm.wav", { "ffmpeg", "-v", "error", "-f", "lavfi", "-i", "sine=frequency=440:sample_rate=8000:duration=3",
                         "-c:a", "libgsm_ms", "%o" } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string source = make(c.name, c.make);
        const std::string before = test::read_file(source);
        const std::string target = dir.file(c.name + ".mp3");

        EXPECT_EQ(convert(source, target), Outcome::converted);
        expect_mp3_of(target, 3.0);
        // The tone, as loud as in the recording, not silence.
        const double loudness = strict_decode_rms(source);
        EXPECT_NEAR(strict_decode_rms(target), loudness, loudness * 0.3);
        EXPECT_EQ(test::read_file(source), before);
    }
    std::set<std::string> expected;
    for (const auto& c : cases) {
        expected.insert(c.name);
        expected.insert(c.name + ".mp3");
    }
    EXPECT_EQ(names_in(dir.path()), expected);
}

TEST_F(Convert, BookmarksKeepTheirTimesNamesAndPlayOrder)
{
    const std::string source = tone("memo.wav", "5");
    // 16000 bytes a second. Written as a handheld would: the played marks in
    // play order, then the others. "Outro" stands inside the played "Chorus"
    // segment yet is not played, and must stay so.
    dir.write("memo.wav.bm",
        "<?xml version=\"1.0\"?>\n<Bookmarks>"
        "<Bookmark Name=\"Chorus\" Position=\"48000\" Play=\"true\"/>"
        "<Bookmark Name=\"Intro\" Position=\"16000\" Play=\"true\"/>"
        "<Bookmark Name=\"Outro\" Position=\"64000\" Play=\"false\"/>"
        "</Bookmarks>\n");
    const std::string target = dir.file("memo.mp3");

    ASSERT_EQ(convert(source, target), Outcome::converted);

    const RangeMarkList marks = RangeMarkList::load(bookmark_file_name(u16(target)));
    audio::FileReaderMP3 mp3(u16(target));
    ASSERT_TRUE(mp3.is_open());
    ASSERT_EQ(marks.mark_count(), 3);
    const struct {
        std::u16string name;
        double seconds;
    } by_position[] = { { u"Intro", 1.0 }, { u"Chorus", 3.0 }, { u"Outro", 4.0 } };
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(marks.mark(i).name, by_position[i].name);
        // Within one frame of 72 ms.
        EXPECT_NEAR(mp3.bytes_to_time(marks.mark(i).position), by_position[i].seconds, 0.08)
            << platform::to_utf8(by_position[i].name);
    }
    ASSERT_EQ(marks.play_count(), 2);
    EXPECT_EQ(marks.play_mark(0).name, u"Chorus");
    EXPECT_EQ(marks.play_mark(1).name, u"Intro");
    EXPECT_EQ(marks.mark(2).play, RangeMark::not_played);
}

TEST_F(Convert, ReplacesAnExistingTargetAndDropsItsStaleBookmarks)
{
    const std::string source = tone("memo.wav", "2");
    const std::string target = dir.write("memo.mp3", "an older file");
    dir.write("memo.mp3.bm", "<Bookmarks><Bookmark Name=\"old\" Position=\"9\" Play=\"true\"/></Bookmarks>");

    ASSERT_EQ(convert(source, target), Outcome::converted);
    expect_mp3_of(target, 2.0);
    EXPECT_EQ(names_in(dir.path()), (std::set<std::string> { "memo.wav", "memo.mp3" }));
}

TEST_F(Convert, AFullDiskKeepsTheSourceAndTheOldTarget)
{
    // At 64 kbit/s the writer's buffer fills after about 15 s: the short
    // write comes during the conversion for the long source and at the
    // closing flush for the short one.
    for (const std::string seconds : { "5", "30" }) {
        SCOPED_TRACE(seconds + " s");
        test::TempDir folder;
        const std::string source = folder.file("memo.wav");
        ASSERT_EQ(test::run_tool({ "sox", "-n", "-r", "8000", "-c", "1", "-b", "16", "-e", "signed", source, "synth",
                                     seconds, "sine", "440" })
                      .exit_code,
            0);
        const std::string before = test::read_file(source);
        const std::string target = folder.write("memo.mp3", "an older file");

        EXPECT_EQ(convert(source, target, test::full_disk(20000)), Outcome::failed);
        EXPECT_EQ(test::read_file(source), before);
        EXPECT_EQ(test::read_file(target), "an older file");
        EXPECT_EQ(names_in(folder.path()), (std::set<std::string> { "memo.wav", "memo.mp3" }));
    }
}

TEST_F(Convert, AFullDiskWithoutATargetLeavesNone)
{
    const std::string source = tone("memo.wav", "5");
    EXPECT_EQ(convert(source, dir.file("memo.mp3"), test::full_disk(1000)), Outcome::failed);
    EXPECT_EQ(names_in(dir.path()), std::set<std::string> { "memo.wav" });
}

TEST_F(Convert, CancelDuringTheConversionStopsItAndLeavesTheOldTarget)
{
    const std::string source = tone("memo.wav", "40");
    const std::string target = dir.write("memo.mp3", "an older file");
    WriteGate gate;
    auto form = std::make_unique<ConvertForm>(nullptr, settings, u16(source), u16(target),
        [&gate](const std::u16string& path, os::File::Mode mode) -> std::unique_ptr<os::File> {
            return std::make_unique<GatedFile>(path, mode, gate);
        });
    ASSERT_TRUE(form->is_ready());
    // The first write comes once 15 s of the 40 are encoded.
    screen->call([&] {
        ASSERT_TRUE(gate.wait_reached());
        tap(*form, u"btnCancel");
    });
    form->do_modal();
    EXPECT_FALSE(screen->stalled());
    gate.release();
    // Closing asked the worker to stop: it does not go on to the end.
    for (int i = 0; i < 5000 && form->outcome() == Outcome::running; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_EQ(form->outcome(), Outcome::stopped);
    form.reset();
    EXPECT_EQ(test::read_file(target), "an older file");
    EXPECT_EQ(names_in(dir.path()), (std::set<std::string> { "memo.wav", "memo.mp3" }));
}

TEST_F(Convert, RoomNeededIsBitrateTimesLengthOverEight)
{
    // Ten minutes at 64000 bit/s need more than 4,800,000 bytes.
    const std::string source = make("long.wav",
        { "sox", "-n", "-r", "8000", "-c", "1", "-b", "8", "-e", "unsigned", "%o", "trim", "0", "600" });
    ConvertForm form(nullptr, settings, u16(source), u16(dir.file("long.mp3")));
    EXPECT_EQ(frame_text(form, u"frmFileName"), u"long.wav");
    run();
    EXPECT_TRUE(test::matches_screenshot(screen->shown(), "dialogs-convert"));
    EXPECT_DOUBLE_EQ(form.needed_bytes(), 4800000.0);
    EXPECT_TRUE(form.has_room()) << "the test folder holds a few megabytes";
}

TEST_F(Convert, WhatCannotBeConvertedIsReportedAndChangesNothing)
{
    const std::string broken = dir.write("broken.wav", "RIFF....WAVEjunk");
    const std::string memo = tone("memo.wav", "1");
    const struct {
        const char* name;
        std::string source, target;
    } cases[] = {
        { "an unreadable source", broken, dir.file("broken.mp3") },
        { "a target that is the source", memo, memo },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string before = test::read_file(c.source);
        std::u16string shown;
        screen->call([&] {
            for (skinner::Form* form : skinner::Form::forms()) {
                if (auto* error = dynamic_cast<ErrorForm*>(form)) {
                    shown = frame_text(*error, u"frmMessage");
                    error->close();
                }
            }
        }, 300);
        EXPECT_EQ(convert_to_mp3(nullptr, settings, u16(c.source), u16(c.target)), Outcome::failed);
        EXPECT_EQ(shown, settings.translate(u"on_failed_to_convert"));
        EXPECT_EQ(test::read_file(c.source), before);
        EXPECT_EQ(names_in(dir.path()), (std::set<std::string> { "broken.wav", "memo.wav" }));
    }
}

// PCM whose sample frames are longer than a step of the worker: a step
// moves nothing, and the worker must give up rather than spin.
std::string wide_frames_wav()
{
    const auto le = [](std::uint32_t value, int bytes) {
        std::string out;
        for (int i = 0; i < bytes; ++i)
            out += char(value >> (8 * i) & 0xFF);
        return out;
    };
    const std::uint32_t channels = 2000, bits = 24, rate = 8000, align = channels * bits / 8;
    const std::string data(std::size_t(align) * 10, '\x10');
    return "RIFF" + le(36 + std::uint32_t(data.size()), 4) + "WAVEfmt " + le(16, 4) + le(1, 2) + le(channels, 2)
        + le(rate, 4) + le(rate * align, 4) + le(align, 2) + le(bits, 2) + "data" + le(std::uint32_t(data.size()), 4)
        + data;
}

TEST_F(Convert, ASourceThatCannotBeSteppedThroughFails)
{
    const std::string source = dir.write("wide.wav", wide_frames_wav());
    ConvertForm form(nullptr, settings, u16(source), u16(dir.file("wide.mp3")));
    if (!form.is_ready())
        GTEST_SKIP() << "the reader refuses such frames";
    // A worker that spins is stopped after a while, so the test fails rather than hangs.
    screen->call([&] {
        for (int i = 0; i < 5000 && form.outcome() == Outcome::running; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        form.close();
    });
    form.do_modal();
    EXPECT_EQ(form.outcome(), Outcome::failed);
}

TEST_F(Convert, TheEntryConvertsAndShowsNoMessage)
{
    const std::string source = tone("memo.wav", "1");
    EXPECT_EQ(convert_to_mp3(nullptr, settings, u16(source), u16(dir.file("memo.mp3"))), Outcome::converted);
    EXPECT_FALSE(screen->stalled()) << "no error form waits";
    expect_mp3_of(dir.file("memo.mp3"), 1.0);
}

}
