// The explorer's commands that open a dialog, act on the playlist view or
// record onto a file, each run through the panel as its menu runs it.
#include "app/explorer/BookmarksForm.h"
#include "app/explorer/SelectFileForm.h"
#include "model/DocumentMedia.h"
#include "model/RangeMarkList.h"
#include "platform/media/headless/ScriptedWaveDriver.h"
#include "playlist/List.h"
#include "tests/app/explorer/ExplorerFixture.h"
#include "tests/audio/devices/DeviceDoubles.h"
#include "tests/support/Tool.h"

#include <filesystem>
#include <map>

namespace {

using test::ExplorerTest;
using Names = std::vector<std::string>;
namespace fs = std::filesystem;

// Real files and devices: sox makes the recordings, the document reads them
// through its own media, and the scripted devices play and capture.
class ExplorerMenuCommands : public ExplorerTest {
protected:
    // The document goes before the devices it may still hold.
    ~ExplorerMenuCommands() override
    {
        panel.reset();
        host.reset();
        document.reset();
    }

    void SetUp() override
    {
        if (!test::have_tool("sox"))
            GTEST_SKIP() << "sox makes the recordings";
    }

    // 16-bit mono at 8000 Hz: 16000 bytes a second.
    std::string make_wav(const std::string& name, const char* seconds)
    {
        const std::string path = dir.file("files/" + name);
        EXPECT_EQ(test::run_tool({ "sox", "-n", "-r", "8000", "-b", "16", "-c", "1", path, "synth", seconds,
                      "sine", "440" })
                      .exit_code,
            0);
        return path;
    }

    void open_with_real_media()
    {
        open();
        document->set_media(std::make_unique<DocumentMedia>());
    }

    // A second of tone, captured and recorded, then the recording stopped.
    void record_a_second()
    {
        const std::string raw = test::run_tool({ "sox", "-n", "-r", "8000", "-b", "16", "-c", "1", "-e",
                                                   "signed", "-t", "raw", "-", "synth", "1", "sine", "440" })
                                    .out;
        ASSERT_EQ(raw.size(), 16000u);
        ASSERT_TRUE(driver->capture(std::vector<std::uint8_t>(raw.begin(), raw.end())));
        // whole buffers of 10000 bytes go on at once; the part-filled one at the stop
        ASSERT_TRUE(test::eventually([&] { return document->get_position_seconds() >= 0.625 - 1e-9; }));
        document->stop();
    }

    static std::int64_t audio_bytes(const std::string& path)
    {
        return std::int64_t(fs::file_size(path)) - 44;
    }

    platform::ScopedService<platform::WaveDriver, platform::headless::ScriptedWaveDriver> driver {
        platform::wave_driver_slot()
    };
};

TEST_F(ExplorerMenuCommands, BookmarksEditsTheFilesMarksAndGoPlaysFromTheChosenOne)
{
    const std::string wav = make_wav("memo.wav", "4");
    dir.write("files/memo.wav.bm",
        "<?xml version=\"1.0\"?>\n<Bookmarks>\n"
        "  <Bookmark Name=\"Intro\" Position=\"0\" Play=\"true\"/>\n"
        "  <Bookmark Name=\"Chorus\" Position=\"32000\" Play=\"true\"/>\n"
        "</Bookmarks>\n");
    open_with_real_media();
    select(panel->file_list(), { "memo.wav" });
    std::vector<std::string> rows;
    screen->call([&] {
        auto* form = dynamic_cast<BookmarksForm*>(skinner::Form::current_modal());
        ASSERT_NE(form, nullptr);
        for (const RangeGridRow& row : form->grid().items)
            rows.push_back(test::narrow(row.name));
        form->grid().select_only(1);
        form->on_selection_changed(form->grid());
        form->on_click(*form->get_control(u"btnGo"));
    });
    panel->execute_command(u"Bookmarks");
    EXPECT_EQ(rows, (Names { "Intro", "Chorus" }));
    EXPECT_TRUE(document->is_playing());
    EXPECT_EQ(document->get_current_file(), test::wide(wav));
    EXPECT_NEAR(document->get_position_seconds(), 2.0, 0.05) << "from the chosen mark";
    const RangeMarkList stored = RangeMarkList::load(test::wide(wav + ".bm"));
    EXPECT_EQ(stored.mark_count(), 2) << "the marks are written back";
    document->stop();
}

TEST_F(ExplorerMenuCommands, PropertiesShowsWhatTheFileHolds)
{
    make_wav("memo.wav", "2");
    open();
    select(panel->file_list(), { "memo.wav" });
    std::map<std::string, std::string> shown;
    screen->call([&] {
        skinner::Form* form = skinner::Form::current_modal();
        ASSERT_NE(form, nullptr);
        EXPECT_EQ(form->name(), u"Properties");
        for (const char16_t* id : { u"frmFileName", u"frmDuration", u"frmChannels", u"frmSampleRate", u"frmBits" }) {
            auto* frame = dynamic_cast<skinner::ControlFrame*>(form->get_control(id));
            shown[test::narrow(id)] = frame ? test::narrow(frame->text()) : "<none>";
        }
        form->on_click(*form->get_control(u"btnOk"));
    });
    panel->execute_command(u"Properties");
    EXPECT_EQ(shown["frmFileName"], "memo.wav");
    EXPECT_NE(shown["frmDuration"].find("2"), std::string::npos) << shown["frmDuration"];
    EXPECT_NE(shown["frmSampleRate"].find("8"), std::string::npos) << shown["frmSampleRate"];
    EXPECT_NE(shown["frmBits"].find("16"), std::string::npos) << shown["frmBits"];
}

TEST_F(ExplorerMenuCommands, SelectAllSelectsEveryRowOfThePlaylist)
{
    for (const char* name : { "a.wav", "b.wav", "c.wav" })
        make_file(name);
    dir.write("files/list.m3u", "#EXTM3U\r\n#EXTINF:1,A\r\na.wav\r\n#EXTINF:1,B\r\nb.wav\r\n#EXTINF:1,C\r\nc.wav\r\n");
    open();
    panel->change_folder(file("list.m3u"), true);
    ASSERT_TRUE(panel->is_playlist_mode());
    panel->playlist_list().unselect_all();
    panel->execute_command(u"SelectAll");
    EXPECT_EQ(panel->playlist_list().selected_rows().size(), 3u);
}

TEST_F(ExplorerMenuCommands, AddFileAddsTheChosenFilesToThePlaylistWrittenOnLeavingIt)
{
    make_file("a.wav");
    make_file("b.wav");
    dir.write("files/list.m3u", "#EXTM3U\r\n#EXTINF:1,A\r\na.wav\r\n");
    open();
    panel->change_folder(file("list.m3u"), true);
    ASSERT_TRUE(panel->is_playlist_mode());
    screen->call([this] {
        auto* form = dynamic_cast<SelectFileForm*>(skinner::Form::current_modal());
        ASSERT_NE(form, nullptr);
        form->set_folder(files());
        select(form->file_list(), { "b.wav" });
        form->on_click(*form->get_control(u"btnOk"));
    });
    panel->execute_command(u"AddFile");
    EXPECT_EQ(names(panel->playlist_list()), (Names { "a.wav", "b.wav" }));
    EXPECT_EQ(playlist::List::open(file("list.m3u"))->entries().size(), 1u) << "written when the view is left";
    panel->change_folder(files(), false);
    auto list = playlist::List::open(file("list.m3u"));
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->entries().size(), 2u);
    EXPECT_EQ(list->entries()[1].path, file("b.wav"));
}

TEST_F(ExplorerMenuCommands, RefreshShowsTheFolderAsTheDiskHasItNow)
{
    make_file("old.wav");
    open();
    EXPECT_EQ(names(panel->file_list()), Names { "old.wav" });
    fs::remove(dir.file("files/old.wav"));
    make_file("new.wav");
    panel->execute_command(u"Refresh");
    EXPECT_EQ(names(panel->file_list()), Names { "new.wav" });
}

TEST_F(ExplorerMenuCommands, OverwriteRecordsTheSelectedFileAnew)
{
    const std::string wav = make_wav("memo.wav", "3");
    open_with_real_media();
    select(panel->file_list(), { "memo.wav" });
    panel->execute_command(u"Overwrite");
    ASSERT_TRUE(document->is_recording());
    EXPECT_EQ(document->get_record_file(), test::wide(wav));
    record_a_second();
    EXPECT_EQ(audio_bytes(wav), 16000) << "only the new recording";
}

TEST_F(ExplorerMenuCommands, AppendRecordsAtTheEndOfTheSelectedFileAndMarksWhereItBegan)
{
    const std::string wav = make_wav("memo.wav", "3");
    open_with_real_media();
    select(panel->file_list(), { "memo.wav" });
    panel->execute_command(u"Append");
    ASSERT_TRUE(document->is_recording());
    EXPECT_EQ(document->get_record_file(), test::wide(wav));
    record_a_second();
    EXPECT_EQ(audio_bytes(wav), 48000 + 16000);
    const RangeMarkList marks = RangeMarkList::load(test::wide(wav + ".bm"));
    ASSERT_EQ(marks.mark_count(), 1);
    EXPECT_EQ(marks.mark(0).position, 48000);
}

TEST_F(ExplorerMenuCommands, InsertRecordsIntoThePlayingFile)
{
    const std::string wav = make_wav("memo.wav", "3");
    open_with_real_media();
    select(panel->file_list(), { "memo.wav" });
    ASSERT_TRUE(panel->play_selection());
    panel->execute_command(u"Insert");
    ASSERT_TRUE(document->is_recording());
    EXPECT_EQ(document->get_title(), u"insert1.tmp for memo.wav");
    record_a_second();
    EXPECT_EQ(audio_bytes(wav), 48000 + 16000);
    EXPECT_FALSE(fs::exists(dir.file("files/insert1.tmp")));
}

// A folder or a playlist is nothing to record onto, and without playback
// there is nothing to insert into.
TEST_F(ExplorerMenuCommands, RecordingCommandsWithoutAFileToRecordOntoStartNothing)
{
    make_folder("sub");
    dir.write("files/list.m3u", "#EXTM3U\r\n");
    open_with_real_media();
    for (const char* row : { "sub", "list.m3u" }) {
        for (const char16_t* command : { u"Overwrite", u"Append" }) {
            select(panel->file_list(), { row });
            panel->execute_command(command);
            EXPECT_FALSE(document->is_recording()) << row << " " << test::narrow(command);
        }
    }
    panel->execute_command(u"Insert");
    EXPECT_FALSE(document->is_recording());
}

}
