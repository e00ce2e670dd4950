// Recording through the document on the scripted input device: the test
// hands the device what it "captures".
#include "audio/chains/ChainFactory.h"
#include "audio/readers/FileReaderWAVPCM.h"
#include "liba/Path.h"
#include "model/FileManager.h"
#include "os/FileInfo.h"
#include "os/PathMacros.h"
#include "platform/core/Utf8.h"
#include "platform/core/headless/FakeClock.h"
#include "platform/media/headless/ScriptedWaveDriver.h"
#include "tests/audio/CodecFiles.h"
#include "tests/audio/RecordedFile.h"
#include "tests/model/DocumentFixture.h"
#include "tests/model/RecordDoubles.h"

#include <functional>
#include <gtest/gtest.h>

using test::RecordingView;
using test::u16;

namespace {

// 16-bit mono samples at 8000 Hz from sox: a tone, or silence.
std::vector<std::uint8_t> captured(const char* seconds, double volume)
{
    const std::string raw = test::tool({ "sox", "-n", "-r", "8000", "-b", "16", "-c", "1", "-e", "signed",
        "-t", "raw", "-", "synth", seconds, "sine", "440", "vol", std::to_string(volume) });
    return std::vector<std::uint8_t>(raw.begin(), raw.end());
}

class DocumentRecording : public test::DocumentTest {
protected:
    void SetUp() override
    {
        if (!test::have_tool("sox") || !test::have_tool("ffprobe"))
            GTEST_SKIP() << "sox and ffprobe make and check the files";
    }

    void use_format(Document& document, const std::u16string& codec, int bits = 16)
    {
        Settings& s = document.get_settings();
        s.codec = codec;
        s.channels = 1;
        s.bits = bits;
        s.samples = 8000;
        s.bitrate = 16000;
    }

    // Waits until the recorder has pushed what it was given down the record path.
    static bool recorded_seconds(Document& document, double seconds)
    {
        return test::eventually([&] { return document.get_position_seconds() >= seconds - 1e-9; });
    }

    // A 16-bit mono 8000 Hz WAV file of sox's with the tone.
    std::string wav(const std::string& name, const char* seconds)
    {
        return test::make_file(dir, name,
            { "sox", "-n", "-r", "8000", "-b", "16", "-c", "1", "%o", "synth", seconds, "sine", "440" });
    }

    platform::ScopedService<platform::WaveDriver, platform::headless::ScriptedWaveDriver> driver {
        platform::wave_driver_slot()
    };
};

}

TEST_F(DocumentRecording, ANewRecordingIsNamedByItsCodecAndNeverOverwrites)
{
    Document document;

    struct Case {
        std::u16string codec;
        std::string name;
        std::string probe;
    } cases[] = {
        { u"PCM", "1.wav", "pcm_s16le,8000,1\n" },
        { u"ADPCM", "2.wav", "adpcm_ms,8000,1\n" },
        { u"GSM", "3.wav", "gsm_ms,8000,1\n" },
        { u"mp3", "1.mp3", "mp3,8000,1\n" },
    };

    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        use_format(document, c.codec);
        // The numbered name skips what the folder holds.
        if (c.codec == u"GSM")
            dir.write("2.wav", "taken");
        ASSERT_TRUE(document.record(u16(dir.path())));
        EXPECT_TRUE(document.is_recording());
        EXPECT_EQ(document.get_record_file(), u16(dir.file(c.name)));
        EXPECT_EQ(document.get_title(), u16(c.name));
        EXPECT_EQ(document.get_codec(), c.codec);
        ASSERT_TRUE(driver->capture(captured("1", 0.5)));
        ASSERT_TRUE(recorded_seconds(document, 0.5));
        document.notify();
        RecordingView view;
        EXPECT_TRUE(document.stop());
        document.notify();
        ASSERT_EQ(view.seen.size(), 1u);
        EXPECT_EQ(view.seen[0].path, u16(dir.file(c.name)));
        EXPECT_EQ(test::probe_stream(dir.file(c.name)), c.probe);
        if (c.codec == u"GSM")
            dir.write("2.wav", ""); // put back for the count
    }
}

TEST_F(DocumentRecording, DatedFoldersNamesAndTheFallbackToTheDocumentsFolder)
{
    platform::FileTime at = 0;
    ASSERT_TRUE(platform::system_time_to_file_time({ 2007, 3, 1, 5, 14, 30, 5, 0 }, at));
    platform::ScopedService<platform::Clock, platform::headless::FakeClock> clock(platform::clock_slot(), 0, at);
    Document document;
    use_format(document, u"PCM");
    Settings& s = document.get_settings();
    s.default_folder = true;
    s.folder = u16(dir.file("records"));
    s.date_folder = true;
    s.include_date = true;
    s.prefix = u"Memo";
    ASSERT_TRUE(document.record(u"/ignored"));
    EXPECT_EQ(document.get_record_file(), u16(dir.file("records/2007-03-05/Memo 05 mar 07 14-30-05.wav")));
    document.stop();

    // A record folder that cannot hold the file: the documents folder ($HOME here).
    s.default_folder = false;
    const std::string blocker = dir.write("not-a-folder", "");
    ASSERT_TRUE(document.record(u16(blocker)));
    EXPECT_EQ(document.get_record_file(), u16(dir.file("Memo 05 mar 07 14-30-05.wav")));
    document.stop();
}

TEST_F(DocumentRecording, NoFileThatCanBeMadeRefusesTheRecording)
{
    Document document;
    use_format(document, u"PCM");
    const std::string blocker = dir.write("not-a-folder", "");
    test::EnvironmentOverride nowhere("HOME", blocker.c_str());
    EXPECT_FALSE(document.record(u16(blocker)));
    EXPECT_FALSE(document.is_recording());
    // An encoder that refuses the format: no chain, no recording, no file left.
    use_format(document, u"mp3");
    document.get_settings().bitrate = 320000;
    EXPECT_FALSE(document.record(u16(dir.path())));
    EXPECT_FALSE(document.is_recording());
    EXPECT_FALSE(os::FileInfo(u16(dir.file("1.mp3"))).exists());
}

TEST_F(DocumentRecording, OverwriteAppendAndInsertWaitForARecordingAndNothingRecordsIntoWhatPlays)
{
    const std::string first = wav("first.wav", "1");
    const std::string second = wav("second.wav", "1");
    const std::string first_bytes = test::read_file(first);
    Document document;
    use_format(document, u"PCM");
    ASSERT_TRUE(document.record(u16(dir.path())));
    const std::u16string recording = document.get_record_file();
    EXPECT_FALSE(document.record_overwrite(u16(first)));
    EXPECT_FALSE(document.record_append(u16(first)));
    EXPECT_FALSE(document.record_insert(u16(first), 0));
    // Nor into the file being recorded: that would empty what it holds.
    int made = 0;
    auto make = [&made](const std::u16string& path) {
        ++made;
        return audio::create_record_chain(path, u"PCM", 1, 16, 8000, 0, false);
    };
    EXPECT_FALSE(document.start_recording(make, recording));
    EXPECT_TRUE(document.is_recording());
    EXPECT_EQ(document.get_record_file(), recording);
    // Playback waits for the recording too.
    document.set_play_list(u16(dir.path()), test::entries({ u16(first) }), 0, false);
    EXPECT_FALSE(document.play_item(0));
    EXPECT_TRUE(document.stop());

    ASSERT_TRUE(document.play_item(0));
    EXPECT_FALSE(document.record_overwrite(u16(first)));
    EXPECT_FALSE(document.record_append(u16(first)));
    EXPECT_FALSE(document.start_recording(make, u16(first)));
    EXPECT_TRUE(document.is_playing());
    // Refused before anything was made: the file is as it was.
    EXPECT_EQ(made, 0);
    EXPECT_EQ(test::read_file(first), first_bytes);
    // Another file may be recorded onto while this one plays.
    EXPECT_TRUE(document.record_append(u16(second)));
    document.stop();
    document.stop();
}

TEST_F(DocumentRecording, ANewRecordingDuringOneClosesTheFirstFileWholeAndStartsTheNext)
{
    Document document;
    use_format(document, u"PCM");
    ASSERT_TRUE(document.record(u16(dir.path())));
    ASSERT_TRUE(driver->capture(captured("1", 0.5)));
    ASSERT_TRUE(recorded_seconds(document, 0.625));
    // Marks of an old file of the name the next recording takes do not come back.
    const std::string third = dir.file("third.wav");
    RangeMarkList old_marks;
    old_marks.add(1000, u"old");
    ASSERT_TRUE(old_marks.save(u16(third + ".bm")));

    struct Case {
        std::string name;
        std::function<bool()> start;
        std::string previous;
        std::string next;
    } cases[] = {
        { "a new file", [&] { return document.record(u16(dir.path())); }, "1.wav", "2.wav" },
        { "a file named by the caller",
            [&] {
                return document.start_recording(
                    [](const std::u16string& path) {
                        return audio::create_record_chain(path, u"PCM", 1, 16, 8000, 0, false);
                    },
                    u16(third), { 1, 16, 8000 });
            },
            "2.wav", "third.wav" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        document.notify();
        RecordingView view;
        ASSERT_TRUE(c.start());
        EXPECT_TRUE(document.is_recording());
        EXPECT_EQ(document.get_record_file(), u16(dir.file(c.next)));
        EXPECT_EQ(document.get_title(), u16(c.next));
        document.notify();
        ASSERT_EQ(view.seen.size(), 1u);
        EXPECT_EQ(view.seen[0].path, u16(dir.file(c.next))) << "the views show the new file";
        // The first file is closed and whole: every sample captured, the
        // buffer being filled included.
        EXPECT_EQ(test::probe_stream(dir.file(c.previous)), "pcm_s16le,8000,1\n");
        EXPECT_EQ(test::decode_s16(dir.file(c.previous)).size(), 8000u);
        ASSERT_TRUE(driver->capture(captured("1", 0.5)));
        ASSERT_TRUE(recorded_seconds(document, 0.625));
    }
    EXPECT_EQ(document.get_bookmarks().mark_count(), 0);
    EXPECT_FALSE(os::FileInfo(u16(third + ".bm")).exists());
    document.stop();
    EXPECT_EQ(test::decode_s16(third).size(), 8000u);
}

TEST_F(DocumentRecording, TheFileBeingRecordedCannotBeDeletedMovedOrRenamed)
{
    const std::string other = dir.write("other.txt", "x");
    Document document;
    use_format(document, u"PCM");
    ASSERT_TRUE(document.record(u16(dir.path())));
    const std::u16string recording = document.get_record_file();
    EXPECT_TRUE(document.is_file_in_use(recording));
    EXPECT_TRUE(document.is_file_in_use(u16(dir.path())));
    EXPECT_FALSE(document.is_file_in_use(u16(other)));

    FileManager manager([&](const std::u16string& path) { return document.is_file_in_use(path); });
    EXPECT_FALSE(manager.delete_files({ recording }));
    EXPECT_FALSE(manager.rename(recording, u"renamed.wav"));
    EXPECT_FALSE(manager.rename(u16(dir.path()), u"elsewhere"));
    EXPECT_FALSE(manager.rename(u16(other), liba::get_file_name(recording)));
    ASSERT_TRUE(os::FileInfo(u16(dir.file("sub"))).exists()
        || os::FileInfo(u16(dir.path())).create_directory(u"sub"));
    EXPECT_FALSE(manager.move_files({ recording }, u16(dir.file("sub"))));
    EXPECT_TRUE(os::FileInfo(recording).exists());
    EXPECT_TRUE(manager.delete_files({ u16(other) }));

    // Something written, so that the file stays when the recording stops.
    ASSERT_TRUE(driver->capture(captured("1", 0.5)));
    ASSERT_TRUE(recorded_seconds(document, 0.625));
    document.stop();
    EXPECT_FALSE(document.is_file_in_use(recording));
    EXPECT_TRUE(manager.rename(recording, u"renamed.wav"));
}

TEST_F(DocumentRecording, StoppingShowsTheCompletionFormOnlyForMoreThan100000BytesAndAParent)
{
    struct Case {
        std::size_t bytes;
        bool parent;
        std::string drain;
    } cases[] = {
        { 100000, true, "wait 100000" },
        { 100001, true, "form 100001" },
        { 100001, false, "wait 100001" },
    };

    int dummy = 0;
    auto* parent = reinterpret_cast<skinner::Form*>(&dummy); // passed through, never used
    for (const auto& c : cases) {
        SCOPED_TRACE(c.drain);
        platform::ScopedService<RecordingDrain, test::WatchedDrain> drain(recording_drain_slot());
        Document document;
        use_format(document, u"PCM", 8);
        test::PcmSink sink;
        sink.hold();
        drain->held = &sink;
        ASSERT_TRUE(document.start_recording(
            [&sink](const std::u16string&) { return std::make_unique<test::SinkChain>(sink); },
            u16(dir.file("held.wav"))));
        // No encoder tells a bitrate: no time is left to tell either.
        EXPECT_EQ(document.get_remaining_seconds(), 0.0);
        // Twenty whole buffers of the recorder, a few at a time as a device
        // fills them, then what goes beyond them.
        for (int queued = 10000; queued <= 100000; queued += 10000) {
            ASSERT_TRUE(driver->capture(test::audio_bytes(10000)));
            ASSERT_TRUE(test::eventually([&] { return document.describe_recording().queued_bytes == queued; }));
        }
        ASSERT_TRUE(sink.wait_entered(1));
        if (c.bytes > 100000)
            ASSERT_TRUE(driver->capture(test::audio_bytes(c.bytes - 100000)));
        EXPECT_TRUE(document.stop(c.parent ? parent : nullptr));
        EXPECT_EQ(drain->calls, (std::vector<std::string> { c.drain }));
        // Every byte reached the chain before it was closed.
        EXPECT_EQ(sink.bytes().size(), c.bytes);
        EXPECT_EQ(document.describe_recording().queued_chunks, 0);
    }
}

TEST_F(DocumentRecording, AppendingMarksTheOldEndAndAddsToTheFile)
{
    const std::string path = wav("memo.wav", "5"); // 80000 bytes of audio
    Document document;
    ASSERT_TRUE(document.record_append(u16(path)));
    EXPECT_EQ(document.get_title(), u"memo.wav");
    RangeMarkList marks = RangeMarkList::load(u16(path + ".bm"));
    ASSERT_EQ(marks.mark_count(), 1);
    EXPECT_EQ(marks.mark(0).position, 80000);
    EXPECT_EQ(marks.mark(0).name, u"Bookmark");
    ASSERT_TRUE(driver->capture(captured("1", 0.5)));
    ASSERT_TRUE(recorded_seconds(document, 0.625));
    document.stop();
    audio::FileReaderWAVPCM reader(u16(path));
    EXPECT_EQ(reader.get_length_bytes(), 96000);
}

TEST_F(DocumentRecording, AnInsertRecordingIsMergedIntoItsFileWhenItStops)
{
    const std::string path = wav("memo.wav", "2");
    Document document;
    document.set_play_list(u16(dir.path()), test::entries({ u16(path) }), 0, false);
    ASSERT_TRUE(document.play_item(0));
    ASSERT_TRUE(document.seek(0.25)); // 8000 bytes in
    ASSERT_TRUE(document.record_insert_current());
    EXPECT_FALSE(document.is_playing());
    EXPECT_EQ(document.get_title(), u"insert1.tmp for memo.wav");
    ASSERT_TRUE(driver->capture(captured("1", 0.5)));
    ASSERT_TRUE(recorded_seconds(document, 0.625));
    document.notify();
    RecordingView view;
    document.stop();
    document.notify();
    EXPECT_EQ(view.seen.at(0).path, u16(path));
    EXPECT_FALSE(os::FileInfo(u16(dir.file("insert1.tmp"))).exists());
    EXPECT_FALSE(os::FileInfo(u16(dir.file("insert2.tmp"))).exists());
    audio::FileReaderWAVPCM reader(u16(path));
    // All that was captured, the buffer being filled at the stop included.
    EXPECT_EQ(reader.get_length_bytes(), 32000 + 16000);
    RangeMarkList marks = RangeMarkList::load(u16(path + ".bm"));
    ASSERT_EQ(marks.mark_count(), 2);
    EXPECT_EQ(marks.mark(0).position, 8000);
    EXPECT_EQ(marks.mark(1).position, 24000);
}

TEST_F(DocumentRecording, RecordingOverAFileStartsItsBookmarksAfresh)
{
    const std::string path = wav("memo.wav", "5");
    RangeMarkList old_marks;
    old_marks.add(8000, u"early");
    old_marks.add(70000, u"late"); // past the end the new recording will have
    ASSERT_TRUE(old_marks.save(u16(path + ".bm")));
    Document document;
    ASSERT_TRUE(document.record_overwrite(u16(path)));
    EXPECT_EQ(document.get_bookmarks().mark_count(), 0);
    ASSERT_TRUE(driver->capture(captured("1", 0.5)));
    ASSERT_TRUE(test::eventually([&] { return document.get_length() == 10000; }));
    document.add_bookmark(u"new");
    document.stop();

    // Opened again: only the mark made while recording.
    document.set_play_list(u16(dir.path()), test::entries({ u16(path) }), 0, false);
    ASSERT_TRUE(document.play_item(0));
    const RangeMarkList& marks = document.get_bookmarks();
    ASSERT_EQ(marks.mark_count(), 1);
    EXPECT_EQ(marks.mark(0).name, u"new");
    EXPECT_EQ(marks.mark(0).position, 10000);
    document.stop();
}

TEST_F(DocumentRecording, AnInsertThatCannotGoInIsKeptBesideItsTargetUnderAListedName)
{
    const std::string path = wav("memo.wav", "2"); // 32000 bytes of audio
    const std::string before = test::read_file(path);
    auto media = std::make_unique<test::FailingMedia>();
    // Room for the part, not for the merged file.
    media->disk_room = 20000;
    Document document;
    document.set_media(std::move(media));
    ASSERT_TRUE(document.record_insert(u16(path), 8000));
    ASSERT_TRUE(driver->capture(captured("1", 0.5)));
    ASSERT_TRUE(recorded_seconds(document, 0.625));
    document.add_bookmark(u"said");
    document.notify();
    RecordingView view;
    document.stop();
    document.notify();

    const std::string kept = dir.file("memo insert1.wav");
    EXPECT_EQ(view.seen.at(0).path, u16(kept)) << "the explorer shows where the part is";
    const Document::KeptPart told = document.take_kept_part();
    EXPECT_EQ(told.part, u16(kept));
    EXPECT_EQ(told.target, u16(path));
    EXPECT_TRUE(document.take_kept_part().part.empty()) << "told once";
    EXPECT_EQ(test::read_file(path), before);
    EXPECT_EQ(test::probe_stream(kept), "pcm_s16le,8000,1\n");
    EXPECT_EQ(test::decode_s16(kept).size(), 8000u);
    EXPECT_EQ(RangeMarkList::load(u16(kept + ".bm")).mark_count(), 1);
    for (const char* hidden : { "insert1.tmp", "insert1.tmp.bm", "insert2.tmp" })
        EXPECT_FALSE(os::FileInfo(u16(dir.file(hidden))).exists()) << hidden;
}

TEST_F(DocumentRecording, AFileTheRecordingNeverWroteToIsRemoved)
{
    const std::string target = wav("memo.wav", "1");
    const std::string before = test::read_file(target);
    struct Case {
        std::u16string codec;
        bool insert;
    } cases[] = { { u"PCM", false }, { u"ADPCM", false }, { u"GSM", false }, { u"mp3", false },
        { u"PCM", true } };
    for (const Case& c : cases) {
        SCOPED_TRACE(platform::to_utf8(c.codec) + (c.insert ? " insert" : ""));
        auto media = std::make_unique<test::FailingMedia>();
        media->disk_full = true;
        Document document;
        document.set_media(std::move(media));
        use_format(document, c.codec);
        ASSERT_TRUE(c.insert ? document.record_insert(u16(target), 0) : document.record(u16(dir.path())));
        const std::u16string file = document.get_record_file();
        ASSERT_TRUE(driver->capture(captured("2", 0.5)));
        ASSERT_TRUE(test::eventually([&] { return !document.is_ok(); }));
        document.on_timer();
        EXPECT_FALSE(document.is_recording());
        EXPECT_FALSE(os::FileInfo(file).exists());
        EXPECT_TRUE(document.take_kept_part().part.empty());
        EXPECT_EQ(test::read_file(target), before);
    }
}

TEST_F(DocumentRecording, VoiceActivationPausesInSilenceWithAMarkAndResumesOnSound)
{
    Document document;
    use_format(document, u"PCM");
    document.set_vas_enabled(true);
    document.set_vas_threshold(0.1);
    ASSERT_TRUE(document.record(u16(dir.path())));
    const std::string speech = test::tool({ "espeak-ng", "--stdout", "one two three" });
    ASSERT_FALSE(speech.empty());
    const std::string speech_raw = test::run_tool(
        { "sox", "-t", "wav", "-", "-r", "8000", "-b", "16", "-c", "1", "-e", "signed", "-t", "raw", "-" },
        speech)
                                       .out;
    std::vector<std::uint8_t> spoken(speech_raw.begin(), speech_raw.end());
    spoken.resize(spoken.size() - spoken.size() % 10000); // whole recorder buffers

    ASSERT_TRUE(driver->capture(spoken));
    ASSERT_TRUE(test::eventually([&] { return document.describe_recording().level > 0.1; }));
    document.on_timer();
    EXPECT_FALSE(document.is_paused());

    ASSERT_TRUE(driver->capture(captured("3", 0)));
    ASSERT_TRUE(test::eventually([&] { return document.describe_recording().silent; }));
    document.on_timer();
    EXPECT_TRUE(document.is_paused());
    ASSERT_EQ(document.get_bookmarks().mark_count(), 1);
    const double paused_at = document.get_position_seconds();
    // Silence goes on: nothing is written, and no second mark.
    ASSERT_TRUE(driver->capture(captured("2", 0)));
    document.on_timer();
    EXPECT_EQ(document.get_bookmarks().mark_count(), 1);

    ASSERT_TRUE(driver->capture(spoken));
    ASSERT_TRUE(test::eventually([&] { return !document.describe_recording().silent; }));
    document.on_timer();
    EXPECT_FALSE(document.is_paused());
    EXPECT_LE(document.get_position_seconds() - paused_at, 0.7);
    document.stop();
}

TEST_F(DocumentRecording, AFullDiskEndsTheRecordingAsAPlayableFileAndIsReported)
{
    auto media = std::make_unique<test::FailingMedia>();
    media->disk_room = 44 + 30001;
    Document document;
    document.set_media(std::move(media));
    use_format(document, u"PCM");
    ASSERT_TRUE(document.record(u16(dir.path())));
    ASSERT_TRUE(driver->capture(captured("3", 0.5)));
    ASSERT_TRUE(test::eventually([&] { return !document.is_ok(); }));
    document.on_timer();
    EXPECT_FALSE(document.is_recording());
    const std::string file = dir.file("1.wav");
    EXPECT_EQ(test::probe_stream(file), "pcm_s16le,8000,1\n");
    EXPECT_EQ(test::decode_s16(file).size(), 15000u);
}

TEST_F(DocumentRecording, AScheduledRecordingStartsInItsTaskAndStopsAfterItsEnd)
{
    auto at = [](int hour, int minute, int second) {
        platform::FileTime time = 0;
        platform::system_time_to_file_time(
            { 2007, 3, 1, 5, std::uint16_t(hour), std::uint16_t(minute), std::uint16_t(second), 0 }, time);
        return time;
    };
    auto task = [](int begin, int end) {
        liba::DateTime b, e;
        b.set_date(2007, 3, 5);
        b.set_time(begin, 0, 0);
        e.set_date(2007, 3, 5);
        e.set_time(end, 0, 0);
        return ScheduleTask(b, e);
    };
    platform::ScopedService<platform::Clock, platform::headless::FakeClock> clock(platform::clock_slot(), 0, at(9, 59, 0));
    Document document;
    use_format(document, u"PCM");
    document.get_settings().folder = u16(dir.path());
    document.get_settings().schedule.insert(task(10, 11));
    document.get_settings().schedule.insert(task(12, 13));

    // Before its task: only the next start is registered.
    EXPECT_EQ(document.start_scheduled_recording(), u"");
    const std::u16string program = os::expand_path_macros(u"%app_full_name%");
    ASSERT_TRUE(timed_start->pending(program));
    EXPECT_EQ(timed_start->pending(program)->hour, 10);

    clock->set_local_time(at(10, 0, 30));
    RecordingView view;
    EXPECT_EQ(document.start_scheduled_recording(), u16(dir.file("1.wav")));
    EXPECT_TRUE(document.is_recording());
    EXPECT_FALSE(view.seen.empty()) << "the scheduled start notifies by itself";
    EXPECT_EQ(document.get_settings().schedule.size(), 1);
    EXPECT_EQ(timed_start->pending(program)->hour, 12);
    Settings saved;
    saved.load(Settings::file_path());
    EXPECT_EQ(saved.schedule.size(), 1);

    // A second start while it records starts nothing.
    EXPECT_EQ(document.start_scheduled_recording(), u"");
    clock->set_local_time(at(11, 0, 0));
    document.on_timer();
    EXPECT_TRUE(document.is_recording()) << "not at the end, only after it";
    clock->set_local_time(at(11, 0, 1));
    document.on_timer();
    EXPECT_FALSE(document.is_recording());

    // With the schedule empty the timed start is cancelled.
    document.get_settings().schedule.clear();
    document.schedule_next_start();
    EXPECT_FALSE(timed_start->pending(program));
    EXPECT_FALSE(timed_start->calls().back().time);
}

TEST_F(DocumentRecording, TheBeepsPlayFromTheSystemFolder)
{
    test::EnvironmentOverride data("XDG_DATA_HOME", dir.file("data").c_str());
    const std::string system = dir.file("data/orvanta");
    ASSERT_EQ(test::run_tool({ "mkdir", "-p", system }).exit_code, 0);
    test::make_file(dir, "data/orvanta/Voicbeep.wav",
        { "sox", "-n", "-r", "8000", "-b", "16", "-c", "1", "%o", "synth", "0.1", "sine", "1000" });
    test::make_file(dir, "data/orvanta/RecEnd.wav",
        { "sox", "-n", "-r", "11025", "-b", "8", "-c", "1", "%o", "synth", "0.2", "sine", "500" });
    Document document;
    use_format(document, u"PCM");
    ASSERT_TRUE(document.record(u16(dir.path())));
    document.stop();
    auto played = sounds->sounds();
    ASSERT_EQ(played.size(), 2u);
    EXPECT_EQ(played[0].format, (platform::WaveFormat { 1, 16, 8000 }));
    EXPECT_EQ(played[0].bytes, 1600u);
    EXPECT_EQ(played[1].format, (platform::WaveFormat { 1, 8, 11025 }));
    EXPECT_EQ(played[1].bytes, 2205u);
}

TEST_F(DocumentRecording, WhileRecordingTheQueriesReadTheRecording)
{
    Document document;
    use_format(document, u"mp3");
    document.get_settings().bitrate = 64000;
    document.get_settings().samples = 22050;
    ASSERT_TRUE(document.record(u16(dir.path())));
    EXPECT_EQ(document.get_bitrate_text(), u"64kbps");
    EXPECT_EQ(document.get_sample_rate_text(), u"22kHz");
    EXPECT_EQ(document.get_bits_text(), u"16bit");
    EXPECT_FALSE(document.is_stereo());
    EXPECT_EQ(document.get_current_file(), document.get_record_file());
    EXPECT_GT(document.get_remaining_seconds(), 0.0);
    EXPECT_TRUE(document.is_ok());
    EXPECT_TRUE(document.pause());
    EXPECT_TRUE(document.is_paused());
    EXPECT_FALSE(document.pause());
    EXPECT_TRUE(document.resume());
    document.stop();
    EXPECT_EQ(document.get_record_file(), u16(dir.file("1.mp3")));
    EXPECT_EQ(document.get_current_file(), u"");
}
