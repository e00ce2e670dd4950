#include "app/explorer/BookmarksForm.h"
#include "audio/chains/PlayChain.h"
#include "audio/readers/FileReader.h"
#include "model/PlayChainFactory.h"
#include "model/RangeMarkList.h"
#include "platform/ui/Input.h"
#include "tests/dialogs/DialogScreen.h"
#include "tests/support/Screenshot.h"
#include "tests/support/TempDir.h"
#include "tests/support/Tool.h"
#include "tests/skinner/EditionOnly.h"

#include <cmath>
#include <filesystem>
#include <set>
#include <limits>

namespace {

struct Row {
    std::string name;
    std::int64_t start;
    std::int64_t length;
    bool played;
    std::string start_text;
    std::string end_text;

    bool operator==(const Row&) const = default;
    friend std::ostream& operator<<(std::ostream& out, const Row& row)
    {
        return out << "{" << row.name << " " << row.start << "+" << row.length << (row.played ? " played " : " ")
                   << row.start_text << "-" << row.end_text << "}";
    }
};

struct Mark {
    std::string name;
    std::int64_t position;
    bool operator==(const Mark&) const = default;
    friend std::ostream& operator<<(std::ostream& out, const Mark& mark)
    {
        return out << mark.name << "@" << mark.position;
    }
};

// A ten-second recording of 8 kHz mono 16-bit samples (16000 bytes a
// second) by sox, and its bookmark file written by hand: played marks in
// play order, Chorus before Intro.
class BookmarksFormTest : public test::DialogScreen {
protected:
    explicit BookmarksFormTest(platform::ScreenMode mode = {})
        : DialogScreen(mode)
        , m_mode(mode)
    {
    }

    void SetUp() override
    {
        if (!test::have_tool("sox"))
            GTEST_SKIP() << "sox is missing";
        main_skin.load_skin_and_language(test::program_file("skins/Default/Default.skin"),
            test::program_file("English.lng"), { m_mode.size.width, m_mode.size.height });
        const std::string wav = dir.file("take.wav");
        ASSERT_EQ(test::run_tool({ "sox", "-r", "8000", "-n", "-c", "1", "-b", "16", "-e", "signed", wav, "synth",
                      "10", "sine", "440" })
                      .exit_code,
            0);
        recording = platform::from_utf8(wav);
        bookmarks = platform::from_utf8(dir.write("take.wav.bm",
            "<?xml version=\"1.0\"?>\n<Bookmarks>\n"
            "  <Bookmark Name=\"Chorus\" Position=\"96000\" Play=\"true\"/>\n"
            "  <Bookmark Name=\"Intro\" Position=\"0\" Play=\"true\"/>\n"
            "  <Bookmark Name=\"Verse\" Position=\"32000\" Play=\"false\"/>\n"
            "</Bookmarks>\n"));
        chain = open_play_chain(recording, nullptr);
        ASSERT_NE(chain, nullptr);
        ASSERT_EQ(chain->get_reader()->get_length_bytes(), 160000);
        form = std::make_unique<BookmarksForm>(nullptr, main_skin, u"Bookmarks", *chain->get_reader(), u"take.wav");
        run();
    }

    // Scripts a tap in a cell of the grid.
    void tap_cell(std::int32_t column, std::int32_t row, std::uint32_t after_ms = 0)
    {
        skinner::Size size;
        const skinner::Point at = form->grid().get_cell_rect(column, row, size);
        screen->tap(on_screen(*form, { at.x + size.width / 2, at.y + size.height / 2 }), after_ms);
    }

    std::vector<Row> rows() const
    {
        std::vector<Row> out;
        for (const RangeGridRow& row : form->grid().items)
            out.push_back({ platform::to_utf8(row.name), row.start, row.length, row.played,
                platform::to_utf8(row.start_text), platform::to_utf8(row.end_text) });
        return out;
    }

    static std::vector<Mark> play_order(const RangeMarkList& list)
    {
        std::vector<Mark> out;
        for (int slot = 0; slot < list.play_count(); ++slot)
            out.push_back({ platform::to_utf8(list.play_mark(slot).name), list.play_mark(slot).position });
        return out;
    }

    static std::vector<Mark> marks(const RangeMarkList& list)
    {
        std::vector<Mark> out;
        for (int index = 0; index < list.mark_count(); ++index)
            out.push_back({ platform::to_utf8(list.mark(index).name), list.mark(index).position });
        return out;
    }

    // Edits the file's list, saves it as the explorer does, and reads it back.
    RangeMarkList edit_and_reload(std::int64_t* chosen = nullptr)
    {
        RangeMarkList list = RangeMarkList::load(bookmarks);
        const std::int64_t position = form->edit(list);
        if (chosen)
            *chosen = position;
        EXPECT_FALSE(screen->stalled()) << "the script ends the form";
        EXPECT_TRUE(list.save(bookmarks));
        return RangeMarkList::load(bookmarks);
    }

    platform::ScreenMode m_mode;
    skinner::Properties main_skin;
    test::TempDir dir;
    std::u16string recording;
    std::u16string bookmarks;
    std::unique_ptr<audio::PlayChain> chain;
    std::unique_ptr<BookmarksForm> form;
};

TEST_F(BookmarksFormTest, OpensWithOneRowPerBookmarkByStart)
{
    ORVANTA_POCKET_PC_ONLY();
    screen->call([&] {
        EXPECT_EQ(rows(),
            (std::vector<Row> { { "Intro", 0, 32000, true, "00:00:00", "00:02:00" },
                { "Verse", 32000, 64000, false, "00:02:00", "00:06:00" },
                { "Chorus", 96000, 64000, true, "00:06:00", "00:10:00" } }));
        EXPECT_EQ(frame_text(*form, u"frmName"), u"take.wav");
        for (const char16_t* id : { u"btnUp", u"btnDown", u"btnDelete", u"btnEdit", u"btnGo" })
            EXPECT_FALSE(form->get_control(id)->is_enabled()) << "nothing selected: " << platform::to_utf8(id);
    });
    tap_cell(1, 2, 100);
    screen->call([&] {
        EXPECT_TRUE(test::matches_screenshot(screen->shown(), "dialogs-bookmarks"));
        EXPECT_TRUE(form->get_control(u"btnUp")->is_enabled());
        EXPECT_FALSE(form->get_control(u"btnDown")->is_enabled()) << "the last row cannot go down";
        EXPECT_TRUE(form->get_control(u"btnGo")->is_enabled());
    });
    tap_title_ok(100);
    std::int64_t chosen = 0;
    const RangeMarkList stored = edit_and_reload(&chosen);
    EXPECT_EQ(chosen, -1);
    EXPECT_EQ(marks(stored), (std::vector<Mark> { { "Intro", 0 }, { "Verse", 32000 }, { "Chorus", 96000 } }));
    EXPECT_EQ(play_order(stored), (std::vector<Mark> { { "Intro", 0 }, { "Chorus", 96000 } }))
        << "the grid order of the played rows is the play order";
}

TEST_F(BookmarksFormTest, ARecordingWithoutBookmarksHasOneStartRow)
{
    ORVANTA_POCKET_PC_ONLY();
    std::filesystem::remove(platform::to_utf8(bookmarks));
    screen->call([&] {
        EXPECT_EQ(rows(), (std::vector<Row> { { "Start", 0, 160000, false, "00:00:00", "00:10:00" } }));
    });
    tap_title_ok(50);
    const RangeMarkList stored = edit_and_reload();
    EXPECT_EQ(marks(stored), (std::vector<Mark> { { "Start", 0 } }));
    EXPECT_TRUE(play_order(stored).empty());
}

TEST_F(BookmarksFormTest, MovingPlayedRowsReordersPlayback)
{
    ORVANTA_POCKET_PC_ONLY();
    tap_cell(1, 2, 100); // Chorus
    tap(*form, u"btnUp", 100);
    tap(*form, u"btnUp", 100);
    screen->call([&] {
        ASSERT_EQ(rows().front().name, "Chorus");
        EXPECT_EQ(form->grid().selected_rows(), (std::set<std::int32_t> { 0 })) << "the selection moves along";
        EXPECT_FALSE(form->get_control(u"btnUp")->is_enabled());
    }, 100);
    tap_title_ok(100);
    const RangeMarkList stored = edit_and_reload();
    EXPECT_EQ(play_order(stored), (std::vector<Mark> { { "Chorus", 96000 }, { "Intro", 0 } }));
}

TEST_F(BookmarksFormTest, TappingTheCheckTurnsPlayingOver)
{
    ORVANTA_POCKET_PC_ONLY();
    tap_cell(0, 1, 100); // Verse plays now, after Intro
    tap_cell(0, 2, 100); // Chorus no longer
    tap_title_ok(100);
    const RangeMarkList stored = edit_and_reload();
    EXPECT_EQ(play_order(stored), (std::vector<Mark> { { "Intro", 0 }, { "Verse", 32000 } }));
}

TEST_F(BookmarksFormTest, DeletingLengthensTheSegmentBefore)
{
    ORVANTA_POCKET_PC_ONLY();
    tap_cell(1, 1, 100); // Verse
    tap(*form, u"btnDelete", 100);
    screen->call([&] {
        EXPECT_EQ(rows(),
            (std::vector<Row> { { "Intro", 0, 96000, true, "00:00:00", "00:06:00" },
                { "Chorus", 96000, 64000, true, "00:06:00", "00:10:00" } }));
        EXPECT_TRUE(form->grid().selected_rows().empty());
        EXPECT_FALSE(form->get_control(u"btnDelete")->is_enabled());
    }, 100);
    // Both left, selected by a drag: the range bar shows the merged segments.
    screen->call([&] { form->grid().select_range(0, 1); }, 100);
    screen->call([&] { EXPECT_TRUE(test::matches_screenshot(screen->shown(), "dialogs-bookmarks-merged")); }, 100);
    tap_title_ok(100);
    const RangeMarkList stored = edit_and_reload();
    EXPECT_EQ(marks(stored), (std::vector<Mark> { { "Intro", 0 }, { "Chorus", 96000 } }));
}

TEST_F(BookmarksFormTest, GoAnswersTheRowsStart)
{
    ORVANTA_POCKET_PC_ONLY();
    tap_cell(1, 1, 100);
    tap(*form, u"btnGo", 100);
    std::int64_t chosen = -1;
    edit_and_reload(&chosen);
    EXPECT_EQ(chosen, 32000);
}

TEST_F(BookmarksFormTest, EditRenamesARowInPlaceAndEscapeKeepsTheName)
{
    ORVANTA_POCKET_PC_ONLY();
    tap_cell(1, 1, 100);
    tap(*form, u"btnEdit", 100);
    screen->call([&] {
        const skinner::ControlEdit& box = form->grid().edit_box();
        EXPECT_TRUE(box.is_visible());
        EXPECT_EQ(box.get_text(), u"Verse");
        EXPECT_EQ(box.selection_start(), 0);
        EXPECT_EQ(box.selection_end(), 5);
    }, 10);
    // The whole name is selected: typing replaces it.
    screen->text(u"Bridge", 10).key(platform::vk::enter, 10);
    screen->call([&] { EXPECT_FALSE(form->grid().edit_box().is_visible()); }, 10);
    tap_cell(1, 0, 600);
    tap(*form, u"btnEdit", 100);
    screen->text(u"Dropped", 10).key(platform::vk::escape, 10);
    tap_title_ok(100);
    const RangeMarkList stored = edit_and_reload();
    EXPECT_EQ(marks(stored), (std::vector<Mark> { { "Intro", 0 }, { "Bridge", 32000 }, { "Chorus", 96000 } }));
}

class EmptyRecording : public test::DialogScreen {
};

TEST_F(EmptyRecording, ARecordingOfNoLengthShowsNoSegment)
{
    if (!test::have_tool("sox"))
        GTEST_SKIP() << "sox is missing";
    test::TempDir dir;
    ASSERT_EQ(test::run_tool({ "sox", "-r", "8000", "-n", "-c", "1", "-b", "16", "-e", "signed", dir.file("empty.wav"),
                  "trim", "0", "0" })
                  .exit_code,
        0);
    const auto chain = open_play_chain(platform::from_utf8(dir.file("empty.wav")), nullptr);
    ASSERT_NE(chain, nullptr);
    skinner::Properties main_skin;
    main_skin.load_skin_and_language(
        test::program_file("skins/Default/Default.skin"), test::program_file("English.lng"), { 240, 320 });
    BookmarksForm form(nullptr, main_skin, u"Bookmarks", *chain->get_reader(), u"empty.wav");
    screen->call([&] { form.grid().select_only(0); });
    screen->call([&] { form.close(); }, 100);
    RangeMarkList list;
    EXPECT_EQ(form.edit(list), -1);
    EXPECT_FALSE(screen->stalled());
    ASSERT_EQ(list.mark_count(), 1);
    EXPECT_EQ(list.mark(0).name, u"Start");
}

TEST(RangeGridTimes, MinutesSecondsAndHundredths)
{
    struct Case {
        double seconds;
        const char16_t* text;
    };
    const Case cases[] = {
        { 0, u"00:00:00" },
        { 59.999, u"00:59:99" },
        { 61.5, u"01:01:50" },
        { 3725.678, u"02:05:67" }, // an hour and more: the hours are not shown
        { -3, u"00:00:00" },
        { std::nan(""), u"00:00:00" },
        { std::numeric_limits<double>::infinity(), u"00:00:00" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(RangeGrid::time_text(c.seconds), c.text) << c.seconds;
}

class BookmarksLooks : public BookmarksFormTest, public ::testing::WithParamInterface<int> {
protected:
    BookmarksLooks()
        : BookmarksFormTest(GetParam() == 2 ? platform::ScreenMode { { 480, 640 }, 192 } : platform::ScreenMode {})
    {
    }
};

// The widest times and a name longer than its column: a space's gap parts
// the name from the start and the start from the end.
TEST_P(BookmarksLooks, TheTimeColumnsKeepApart)
{
    ORVANTA_POCKET_PC_ONLY();
    screen->call([&] {
        RangeGrid& grid = form->grid();
        ASSERT_EQ(grid.items.size(), 3u);
        grid.items[0].name = u"A bookmark with a name too long for its column";
        grid.items[0].start_text = u"58:58:88";
        grid.items[0].end_text = u"59:59:99";
        grid.items[1].start_text = u"00:05:94";
        grid.items[1].end_text = u"00:10:40";
        grid.refresh();
    });
    screen->call([&] {
        EXPECT_TRUE(
            test::matches_screenshot(screen->shown(), "dialogs-bookmarks-times-x" + std::to_string(GetParam())));
    }, 100);
    tap_title_ok(100);
    edit_and_reload();
}

INSTANTIATE_TEST_SUITE_P(Scales, BookmarksLooks, ::testing::Values(1, 2));

}
