#include "model/ipc/CommCommands.h"

#include "model/ipc/CCommMemoryMappedFilesClipboard.h"
#include "model/ipc/COrvantaStatus.h"
#include "model/ipc/CSerializableBool.h"
#include "model/ipc/CSerializableString.h"
#include "model/ipc/Comm.h"
#include "model/ipc/CommWindow.h"
#include "platform/core/Utf8.h"
#include "platform/media/headless/ScriptedWaveDriver.h"
#include "tests/audio/CodecFiles.h"
#include "tests/audio/RecordedFile.h"
#include "tests/audio/devices/DeviceDoubles.h"
#include "tests/model/DocumentFixture.h"

#include <gtest/gtest.h>
#include <optional>

using test::entries;

namespace {

// What the commands asked of the main window, in order.
class FakeWindow final : public CommWindow {
public:
    std::vector<std::string> calls;
    bool plays = true;

    void show_window(bool shown) override { calls.push_back(shown ? "show" : "hide"); }

    void select_path(const std::u16string& path) override
    {
        calls.push_back("select " + platform::to_utf8(path));
    }

    bool play_selection() override
    {
        calls.push_back("play");
        return plays;
    }
};

using Handler = std::int32_t (CommCommands::*)();

constexpr Handler handlers[] = {
    &CommCommands::on_comm_play_file,
    &CommCommands::on_comm_record,
    &CommCommands::on_comm_record_overwrite,
    &CommCommands::on_comm_record_append,
    &CommCommands::on_comm_record_insert,
    &CommCommands::on_comm_pause,
    &CommCommands::on_comm_stop,
    &CommCommands::on_comm_get_status,
    &CommCommands::on_comm_play_offset,
};

// The program's handlers over the shared block, and the item's side of it.
class CommCommandsTest : public test::DocumentTest {
protected:
    CommCommandsTest()
    {
        CCommClipboard::SetInstance(std::make_unique<CCommMemoryMappedFilesClipboard>(
            comm_block_capacity, std::u16string(comm_block_name)));
    }

    ~CommCommandsTest() override { CCommClipboard::SetInstance(nullptr); }

    // Runs the command on the request text; its result and its reply.
    std::pair<std::int32_t, std::optional<bool>> run(
        CommCommands& commands, CommCommand id, const std::u16string& text)
    {
        item.Clear();
        EXPECT_TRUE(CSerializableString(text).Write(item));
        const Handler handler = handlers[static_cast<std::size_t>(id)];
        const std::int32_t result = (commands.*handler)();
        CSerializableBool reply;
        if (!reply.Read(item))
            return { result, std::nullopt };
        return { result, reply.get_value() };
    }

    test::TempDir runtime_dir;
    test::EnvironmentOverride runtime { "XDG_RUNTIME_DIR", runtime_dir.path().c_str() };
    CCommMemoryMappedFilesClipboard item { comm_block_capacity, std::u16string(comm_block_name) };
    platform::ScopedService<platform::WaveDriver, platform::headless::ScriptedWaveDriver> driver {
        platform::wave_driver_slot()
    };
    FakeWindow window;
};

TEST_F(CommCommandsTest, EachRequestIsParsedActedOnAndAnswered)
{
    Document document;
    auto& media = fake_media(document);
    media.add(u"/m/a.wav");
    document.set_play_list(u"/m/", entries({ u"/m/a.wav" }), 0, false);
    CommCommands commands(document, window);
    const std::string folder = dir.path();

    struct Case {
        const char* name;
        CommCommand id;
        std::u16string text;
        bool reply;
        std::vector<std::string> calls;
    } cases[] = {
        { "play with the flag", CommCommand::play_file, u"/m/a.wav,y", true,
            { "show", "select /m/a.wav", "play" } },
        { "play without it", CommCommand::play_file, u"/m/a.wav", true, { "select /m/a.wav", "play" } },
        { "play the selection", CommCommand::play_file, u",y", true, { "show", "play" } },
        { "pause", CommCommand::pause, u"", false, {} }, // the fake window played nothing
        { "refused flag", CommCommand::play_file, u"/m/a.wav,yes", false, {} },
        { "refused number", CommCommand::play_offset, u"x,y", false, {} },
        { "offset beyond an int", CommCommand::play_offset, u"4294967297,y", false, { "show" } },
        { "preset beyond the table", CommCommand::record, test::u16(folder) + u"/p.wav,9,y", false,
            { "show" } },
        { "negative preset", CommCommand::record, test::u16(folder) + u"/p.wav,-1", false, {} },
        { "negative position", CommCommand::record_insert, u"/m/a.wav,-2,y", false, { "show" } },
        { "preset 4", CommCommand::record, test::u16(folder) + u"/p.wav,4", true,
            { "select " + folder + "/p.wav" } },
        { "pause the recording", CommCommand::pause, u"y", true, { "show" } },
        { "resume it", CommCommand::pause, u"", true, {} },
        { "stop it", CommCommand::stop, u"", true, {} },
        { "nothing to stop", CommCommand::stop, u"", false, {} },
        { "into the documents folder", CommCommand::record, u",,y", true,
            { "show", "select " + folder + "/1.mp3" } },
        { "over a file that does not read", CommCommand::record_overwrite, u"/m/none.wav", false,
            { "select /m/none.wav" } },
    };

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        window.calls.clear();
        const auto [result, reply] = run(commands, c.id, c.text);
        EXPECT_EQ(result, 1);
        EXPECT_EQ(reply, c.reply);
        EXPECT_EQ(window.calls, c.calls);
    }
    EXPECT_TRUE(document.is_recording());
    document.stop();
}

TEST_F(CommCommandsTest, ARefusedRecordCommandLeavesItsFileAsItWasAndARecordingEndsForANewOne)
{
    if (!test::have_tool("sox"))
        GTEST_SKIP() << "sox makes the file";
    const std::string memo = dir.file("memo.wav");
    ASSERT_EQ(test::run_tool({ "sox", "-n", "-r", "8000", "-b", "16", "-c", "1", memo, "synth", "1", "sine", "440" })
                  .exit_code,
        0);
    const std::string bytes = test::read_file(memo);
    Document document;
    CommCommands commands(document, window);

    // Into the file that plays: refused before the file is touched.
    document.set_play_list(test::u16(dir.path()), entries({ test::u16(memo) }), 0, false);
    ASSERT_TRUE(document.play_item(0));
    EXPECT_EQ(run(commands, CommCommand::record, test::u16(memo) + u",4").second, false);
    EXPECT_EQ(test::read_file(memo), bytes);
    document.stop();

    // During a recording: into the file being recorded is refused, and the
    // recording goes on; into another one ends the first, whole, and starts it.
    const std::string first = dir.file("first.wav");
    ASSERT_EQ(run(commands, CommCommand::record, test::u16(first) + u",5").second, true);
    ASSERT_TRUE(driver->capture(std::vector<std::uint8_t>(22050, 0x10)));
    // Two whole buffers of the recorder on their way; the rest comes at the stop.
    ASSERT_TRUE(test::eventually([&] { return document.get_position_seconds() >= 10000.0 / 11025 - 1e-9; }));
    EXPECT_EQ(run(commands, CommCommand::record, test::u16(first) + u",5").second, false);
    EXPECT_EQ(document.get_record_file(), test::u16(first));
    window.calls.clear();
    EXPECT_EQ(run(commands, CommCommand::record, test::u16(memo) + u",4").second, true);
    EXPECT_EQ(window.calls, (std::vector<std::string> { "select " + memo }));
    EXPECT_EQ(document.get_record_file(), test::u16(memo));
    EXPECT_EQ(test::probe_stream(first), "pcm_s16le,11025,1\n");
    EXPECT_EQ(test::decode_s16(first).size(), 11025u);
    document.stop();
}

TEST_F(CommCommandsTest, WithoutARequestNothingIsDoneAndNothingPushed)
{
    Document document;
    CommCommands commands(document, window);
    test::RecordingView view;
    for (Handler handler : handlers) {
        item.Clear();
        EXPECT_EQ((commands.*handler)(), 0);
        char byte;
        EXPECT_FALSE(item.Pop(&byte, 1));
    }
    // Not a boolean where the status request wants one.
    const unsigned char two = 2;
    item.Push(&two, 1);
    EXPECT_EQ(commands.on_comm_get_status(), 0);
    EXPECT_TRUE(window.calls.empty());
    EXPECT_TRUE(view.seen.empty());
}

TEST_F(CommCommandsTest, TheStatusComesUnderTrueAndNotifiesNothing)
{
    Document document;
    auto& media = fake_media(document);
    auto reader = media.add(u"/m/a.wav");
    media.add(u"/m/b.wma");
    CommCommands commands(document, window);
    test::RecordingView view;
    auto status = [&](bool show) {
        item.Clear();
        EXPECT_TRUE(CSerializableBool(show).Write(item));
        EXPECT_EQ(commands.on_comm_get_status(), 1);
        CSerializableBool top;
        EXPECT_TRUE(top.Read(item));
        EXPECT_TRUE(top.get_value());
        COrvantaStatus record;
        EXPECT_TRUE(record.Read(item));
        return record;
    };
    EXPECT_EQ(status(true).to_bytes(), COrvantaStatus().to_bytes()) << "idle";
    EXPECT_EQ(window.calls, (std::vector<std::string> { "show" }));

    document.set_play_list(u"/m/", entries({ u"/m/a.wav", u"/m/b.wma" }), 0, false);
    ASSERT_TRUE(document.play_item(0));
    reader->position = 4000;
    COrvantaStatus playing = status(false);
    EXPECT_EQ(playing.state, COrvantaStatus::playing);
    EXPECT_EQ(playing.get_path(), u"/m/a.wav");
    EXPECT_EQ(playing.length, 10000);
    EXPECT_EQ(playing.position, 4000);
    EXPECT_EQ(playing.format, COrvantaStatus::format_wav);
    EXPECT_EQ(playing.sample_rate, 44100);
    EXPECT_EQ(playing.bits_per_sample, 16);
    EXPECT_EQ(playing.bitrate_kbps, 128);
    EXPECT_EQ(playing.stereo, COrvantaStatus::two_channels);
    EXPECT_EQ(playing.position_ms, 4000);
    // The record's words saturate rather than wrap: a file beyond 2 GiB.
    reader->length = 5'000'000'000;
    reader->position = 4'500'000'000;
    const COrvantaStatus large = status(false);
    EXPECT_EQ(large.length, INT32_MAX);
    EXPECT_EQ(large.position, INT32_MAX);
    EXPECT_EQ(large.position_ms, INT32_MAX);
    ASSERT_TRUE(document.play_item(1));
    ASSERT_TRUE(document.pause());
    const COrvantaStatus paused = status(false);
    EXPECT_EQ(paused.state, COrvantaStatus::playing_paused);
    EXPECT_EQ(paused.format, COrvantaStatus::format_other) << "WMA";
    EXPECT_EQ(window.calls.size(), 1u);
    EXPECT_TRUE(view.seen.empty());

    // A record that no longer fits under what the stack holds: no reply, 0.
    item.Clear();
    const std::string junk(500, 'j');
    item.Push(junk.data(), 500);
    CSerializableBool(false).Write(item);
    EXPECT_EQ(commands.on_comm_get_status(), 0);
}

TEST_F(CommCommandsTest, TheViewsHearOfEveryCommandButTheStatus)
{
    Document document;
    CommCommands commands(document, window);
    document.notify();
    test::RecordingView view;
    run(commands, CommCommand::stop, u"");
    run(commands, CommCommand::play_file, u"/m/a.wav,yes"); // refused, and still told
    EXPECT_EQ(view.seen.size(), 2u);
}

}
