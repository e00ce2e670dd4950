#include "app/explorer/FileItem.h"
#include "tests/app/explorer/ExplorerFixture.h"
#include "platform/ui/WindowManager.h"
#include "tests/support/Screenshot.h"

#include <chrono>
#include <sys/time.h>
#include <thread>

namespace {

using test::ExplorerTest;
using Names = std::vector<std::string>;

// Sets the file's times, so that a file system without birth times orders by them too.
void set_mtime(const std::string& path, long seconds)
{
    const timeval times[2] { { seconds, 0 }, { seconds, 0 } };
    ASSERT_EQ(utimes(path.c_str(), times), 0);
}

class ExplorerBrowsing : public ExplorerTest {
protected:
    // Made in the order c, a, B (creation times rise, beyond the file
    // system's clock tick), sizes 30, 10, 30.
    void make_sort_fixture()
    {
        set_mtime(make_file("c.wav", 30), 1000);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        set_mtime(make_file("a.mp3", 10), 2000);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        set_mtime(make_file("B.ogg", 30), 3000);
        make_file("list.m3u", 5);
        make_file("notes.txt", 5);
        make_folder("sub");
    }
};

struct SortCase {
    int mode;
    Names order;
};

class ExplorerSorting : public ExplorerBrowsing, public ::testing::WithParamInterface<SortCase> { };

TEST_P(ExplorerSorting, FoldersThenPlaylistsThenFilesInTheModesOrder)
{
    make_sort_fixture();
    open();
    panel->set_sort_mode(GetParam().mode);
    EXPECT_EQ(names(panel->file_list()), GetParam().order);
}

INSTANTIATE_TEST_SUITE_P(Modes, ExplorerSorting,
    ::testing::Values(SortCase { 1, { "sub", "list.m3u", "a.mp3", "B.ogg", "c.wav" } },
        SortCase { 4, { "sub", "list.m3u", "c.wav", "B.ogg", "a.mp3" } },
        SortCase { 2, { "sub", "list.m3u", "c.wav", "a.mp3", "B.ogg" } },
        SortCase { 5, { "sub", "list.m3u", "B.ogg", "a.mp3", "c.wav" } },
        // Equal sizes go by name ascending in both directions.
        SortCase { 3, { "sub", "list.m3u", "a.mp3", "B.ogg", "c.wav" } },
        SortCase { 6, { "sub", "list.m3u", "B.ogg", "c.wav", "a.mp3" } }));

TEST_F(ExplorerBrowsing, SortButtonsToggleDirectionAndAreWrittenAtOnce)
{
    make_sort_fixture();
    open();
    auto& name = panel->sort_button(0);
    auto& date = panel->sort_button(1);
    panel->set_sort_mode(3);
    panel->on_click(name);
    EXPECT_EQ(panel->file_list().get_sort_mode(), 1);
    EXPECT_EQ(name.get_state(), 1u);
    EXPECT_NE(settings_file().find("NAME\""), std::string::npos) << settings_file();
    panel->on_click(name);
    EXPECT_EQ(panel->file_list().get_sort_mode(), 4);
    EXPECT_EQ(name.get_state(), 2u);
    EXPECT_NE(settings_file().find("NAME_DESC"), std::string::npos);
    panel->on_click(date);
    EXPECT_EQ(panel->file_list().get_sort_mode(), 2);
    EXPECT_EQ(name.get_state(), 0u);
    EXPECT_EQ(date.get_state(), 1u);
}

TEST_F(ExplorerBrowsing, ResortingKeepsTheSelectedRows)
{
    make_sort_fixture();
    open();
    panel->set_sort_mode(1);
    select(panel->file_list(), { "a.mp3", "c.wav" });
    panel->set_sort_mode(4);
    EXPECT_EQ(panel->file_list().get_selected_paths(), (std::vector { file("c.wav"), file("a.mp3") }));
}

TEST_F(ExplorerBrowsing, DateTextIsDayMonthYearOfTwoDigits)
{
    liba::DateTime date;
    ASSERT_TRUE(date.set_date(2007, 3, 5));
    EXPECT_EQ(FileItem::date_text_of(date), u"05.03.07");
}

TEST_F(ExplorerBrowsing, RowsShowSizesBeyondFourGigabytes)
{
    const std::string big = make_file("big.wav", 0);
    std::filesystem::resize_file(big, 5'000'000'000ULL);
    open();
    ASSERT_EQ(names(panel->file_list()), Names { "big.wav" });
    EXPECT_EQ(panel->file_list().item(0).size, 5'000'000'000ULL);
    EXPECT_EQ(panel->file_list().item(0).size_text, u"4768,3M");
}

TEST_F(ExplorerBrowsing, ChangingFolderIsWrittenAndTrailingSeparatorsAreOne)
{
    make_folder("sub");
    make_file("sub/x.wav");
    open();
    panel->change_folder(file("sub") + u"/", false);
    EXPECT_EQ(panel->get_folder(), file("sub"));
    EXPECT_EQ(names(panel->file_list()), Names { "x.wav" });
    EXPECT_NE(settings_file().find("Folder=\"" + test::narrow(file("sub")) + "\""), std::string::npos)
        << settings_file();
    panel->change_folder(u"", false);
    EXPECT_EQ(panel->get_folder(), u"/");
}

TEST_F(ExplorerBrowsing, TheFolderChosenInTheComboBoxIsShownAndWritten)
{
    make_folder("sub");
    make_file("sub/x.wav");
    open();
    EXPECT_EQ(panel->folder_combo().get_path(), files());
    panel->folder_combo().path_frame().set_text(file("sub"));
    panel->on_dropdown_closed(panel->folder_combo());
    EXPECT_EQ(panel->get_folder(), file("sub"));
    EXPECT_EQ(names(panel->file_list()), Names { "x.wav" });
    EXPECT_NE(settings_file().find("Folder=\"" + test::narrow(file("sub")) + "\""), std::string::npos);
}

TEST_F(ExplorerBrowsing, GoingUpSelectsTheFolderOneCameFrom)
{
    for (const char* name : { "a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k" })
        make_folder(name);
    open(file("k"));
    ASSERT_EQ(panel->get_folder(), file("k"));
    auto* up = panel->get_container()->get_control(u"btnFolderUp");
    ASSERT_NE(up, nullptr);
    panel->on_click(*up);
    EXPECT_EQ(panel->get_folder(), files());
    EXPECT_EQ(panel->file_list().get_selected_path(), file("k"));
    const auto first = panel->file_list().get_first_visible_row();
    EXPECT_GT(first + panel->file_list().get_page_rows(), 10) << "the row is scrolled into view";
}

TEST_F(ExplorerBrowsing, ShowFolderSwitchesFolderRowsAndIsWrittenAtOnce)
{
    make_folder("sub");
    make_file("x.wav");
    open();
    EXPECT_EQ(names(panel->file_list()), (Names { "sub", "x.wav" }));
    panel->execute_command(u"ShowFolder");
    EXPECT_EQ(names(panel->file_list()), Names { "x.wav" });
    EXPECT_FALSE(document->get_settings().show_folders);
    EXPECT_NE(settings_file().find("ShowFolders=\"false\""), std::string::npos) << settings_file();
    panel->execute_command(u"ShowFolder");
    EXPECT_EQ(names(panel->file_list()), (Names { "sub", "x.wav" }));
}

TEST_F(ExplorerBrowsing, PlayListHoldsOnlyTheSoundFilesInDisplayOrder)
{
    make_folder("sub");
    make_file("list.m3u");
    make_file("a.wav");
    make_file("b.mp3");
    make_file("c.wav");
    open();
    for (const char* name : { "a.wav", "b.mp3", "c.wav" })
        media->add(file(name));
    select(panel->file_list(), { "b.mp3" });
    EXPECT_EQ(panel->load_play_list(false), 1);
    EXPECT_EQ(document->get_item_count(), 3);
    EXPECT_TRUE(panel->play_selection());
    EXPECT_EQ(document->get_current_file(), file("b.mp3"));
}

TEST_F(ExplorerBrowsing, PlayingWithoutCurrentOrSelectedRowLeavesTheChoiceToTheDocument)
{
    make_file("a.wav");
    open();
    panel->file_list().unselect_all();
    panel->file_list().set_current_index(-1);
    EXPECT_EQ(panel->load_play_list(false), -1);
}

TEST_F(ExplorerBrowsing, RouteSetsTheSingleFlagSoOnlyThatFilePlays)
{
    make_file("a.wav");
    make_file("b.wav");
    open();
    media->add(file("a.wav"));
    media->add(file("b.wav"));
    document->set_play_mode(PlayMode::PlaylistOnce);
    select(panel->file_list(), { "a.wav" });
    panel->execute_command(u"Route");
    EXPECT_EQ(document->get_current_file(), file("a.wav"));
    media->readers[file("a.wav")]->end = true;
    document->on_timer();
    EXPECT_FALSE(document->is_playing()) << "the next file is not played";
}

TEST_F(ExplorerBrowsing, StoredFolderThatIsGoneFallsBackToTheDocuments)
{
    open(file("gone"));
    EXPECT_EQ(panel->get_folder(), test::wide(dir.file("home")));
}

}

namespace {

TEST_F(ExplorerBrowsing, RestartingShowsTheLastPlaylist)
{
    make_file("a.wav");
    dir.write("files/list.m3u", "#EXTM3U\r\n#EXTINF:1,a\r\na.wav\r\n");
    open(file("list.m3u"));
    EXPECT_TRUE(panel->is_playlist_mode());
    EXPECT_EQ(names(panel->playlist_list()), Names { "a.wav" });
    EXPECT_EQ(document->get_item_count(), 1) << "its sound files are the play list";
}

class ExplorerLooks : public ExplorerTest, public ::testing::WithParamInterface<int> {
protected:
    ExplorerLooks()
        : ExplorerTest(GetParam() == 2 ? platform::ScreenMode { { 480, 640 }, 192 } : platform::ScreenMode {})
    {
    }
};

// The widest dates and sizes, the first row bold as the one that plays: each
// column holds its text apart from the next, and the size stays clear of the
// scroll bar.
TEST_P(ExplorerLooks, DatesAndSizesFitTheirColumnsInTheBoldCurrentRow)
{
    open();
    ControlListFiles& list = panel->file_list();
    const char16_t* sizes[] = { u"9999,9M", u"100,9M", u"1023K", u"1023B", u"4095,9M", u"1,5M", u"888K",
        u"20,0M", u"1000B", u"9,9M" };
    int n = 0;
    for (const char16_t* size : sizes) {
        FileItem item(u"", u"wav", playlist::Entry {});
        item.name = u"Recording of a long meeting " + test::wide(std::to_string(++n)) + u".wav";
        item.date_text = u"28.08.28";
        item.size_text = size;
        list.add_item(std::move(item));
    }
    list.set_current_index(0);
    list.refresh();
    run();
    // The list alone: the folder above it is a temporary one, named anew each run.
    const platform::Point origin
        = platform::client_to_screen(host->window().handle(), { list.position().x, list.position().y });
    auto part = platform::Bitmap::create(list.size().width, list.size().height);
    ASSERT_NE(part, nullptr);
    for (std::int32_t y = 0; y < part->height(); ++y)
        for (std::int32_t x = 0; x < part->width(); ++x)
            part->row(y)[x] = screen->shown().at(origin.x + x, origin.y + y);
    EXPECT_TRUE(test::matches_screenshot(*part, "app-file-list-x" + std::to_string(GetParam())));
}

INSTANTIATE_TEST_SUITE_P(Scales, ExplorerLooks, ::testing::Values(1, 2));

}
