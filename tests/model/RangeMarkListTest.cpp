#include "model/RangeMarkList.h"

#include "os/Log.h"
#include "platform/core/Utf8.h"
#include "tests/support/TempDir.h"
#include "tests/support/Tool.h"

#include <gtest/gtest.h>

namespace {

using Order = std::vector<int>;

struct Mark {
    std::int64_t position;
    bool played;
};

// Marks at the given positions; the played ones play in the order given.
RangeMarkList make_list(std::initializer_list<Mark> marks)
{
    RangeMarkList list;
    for (const Mark& m : marks)
        list.insert(m.position, u"m" + platform::from_utf8(std::to_string(m.position)), m.played);
    return list;
}

std::vector<std::int64_t> positions(const RangeMarkList& list)
{
    std::vector<std::int64_t> result;
    for (int i = 0; i < list.mark_count(); ++i)
        result.push_back(list.mark(i).position);
    return result;
}

std::u16string wide(const std::string& text)
{
    return platform::from_utf8(text);
}

}

TEST(RangeMarkList, InsertKeepsThePlayOrderNamingTheSameMarks)
{
    RangeMarkList list = make_list({ { 1000, true }, { 5000, true } });
    EXPECT_EQ(list.insert(0, u"first", false), 0);
    EXPECT_EQ(positions(list), (std::vector<std::int64_t> { 0, 1000, 5000 }));
    EXPECT_EQ(list.play_order(), (Order { 1, 2 }));
    EXPECT_EQ(list.mark(0).play, RangeMark::not_played);

    // An existing position: its index, and also_play is not applied.
    EXPECT_EQ(list.insert(0, u"again", true), 0);
    EXPECT_EQ(list.mark(0).name, u"first");
    EXPECT_EQ(list.play_order(), (Order { 1, 2 }));

    EXPECT_EQ(list.insert(3000, u"mid", true), 2);
    EXPECT_EQ(list.play_order(), (Order { 1, 3, 2 }));
    EXPECT_EQ(list.mark(2).play, 2);
    list.append_to_play(2);
    EXPECT_EQ(list.play_order(), (Order { 1, 3, 2 }));
}

TEST(RangeMarkList, AddSplitsOnlyPlayedSegments)
{
    // Marks at 0 and 1000 played, 5000 not.
    struct Case {
        const char* what;
        std::int64_t position;
        int index;
        std::vector<std::int64_t> positions;
        Order order;
        bool played;
    };

    const Case cases[] = {
        { "inside the first played segment", 500, 1, { 0, 500, 1000, 5000 }, { 0, 1, 2 }, true },
        { "inside the second played segment", 3000, 2, { 0, 1000, 3000, 5000 }, { 0, 1, 2 }, true },
        { "inside the unplayed last segment", 6000, 3, { 0, 1000, 5000, 6000 }, { 0, 1 }, false },
        { "at a played mark", 1000, 1, { 0, 1000, 5000 }, { 0, 1 }, true },
        { "at the unplayed mark after a played segment", 5000, 2, { 0, 1000, 5000 }, { 0, 1 }, false },
        { "before every mark", -10, 0, { -10, 0, 1000, 5000 }, { 1, 2 }, false },
    };
    for (const Case& c : cases) {
        RangeMarkList list = make_list({ { 0, true }, { 1000, true }, { 5000, false } });
        EXPECT_EQ(list.add(c.position, u"Bookmark"), c.index) << c.what;
        EXPECT_EQ(positions(list), c.positions) << c.what;
        EXPECT_EQ(list.play_order(), c.order) << c.what;
        EXPECT_EQ(list.mark(c.index).play != RangeMark::not_played, c.played) << c.what;
    }
}

TEST(RangeMarkList, AddInsideAReorderedPlayOrderPlaysRightAfterItsSegment)
{
    RangeMarkList list = make_list({ { 3000, true }, { 0, true }, { 1000, false } });
    ASSERT_EQ(list.play_order(), (Order { 2, 0 }));
    EXPECT_EQ(list.add(4000, u"Bookmark"), 3);
    EXPECT_EQ(list.play_order(), (Order { 2, 3, 0 }));
}

TEST(RangeMarkList, SegmentLengths)
{
    RangeMarkList list = make_list({ { 0, false }, { 2500, true }, { 7000, true } });
    EXPECT_EQ(list.mark_length(0, 10000), 2500);
    EXPECT_EQ(list.mark_length(2, 10000), 3000);
    EXPECT_EQ(list.play_length(0, 10000), 4500);
    EXPECT_EQ(list.play_length(1, 10000), 3000);
}

TEST(RangeMarkList, MergeShiftsAndTakesInsertedMarksUnplayed)
{
    RangeMarkList target = make_list({ { 4000, true }, { 0, true }, { 1000, false } });
    ASSERT_EQ(target.play_order(), (Order { 2, 0 }));
    RangeMarkList part = make_list({ { 100, true }, { 300, false } });

    target.merge(part, 2000, 500);
    EXPECT_EQ(positions(target), (std::vector<std::int64_t> { 0, 1000, 2100, 2300, 4500 }));
    EXPECT_EQ(target.play_order(), (Order { 4, 0 }));
    EXPECT_EQ(target.mark(2).name, u"m100");
    EXPECT_EQ(target.mark(2).play, RangeMark::not_played);
    EXPECT_EQ(target.mark(3).play, RangeMark::not_played);

    // Nothing that came in is lost on the way through the file.
    test::TempDir dir;
    const std::u16string path = wide(dir.file("a.wav.bm"));
    ASSERT_TRUE(target.save(path));
    RangeMarkList loaded = RangeMarkList::load(path);
    EXPECT_EQ(positions(loaded), positions(target));
    EXPECT_EQ(loaded.play_order(), target.play_order());
}

TEST(RangeMarkList, MergeAtAMarkPutsTheInsertedMarksAfterIt)
{
    RangeMarkList target = make_list({ { 0, true }, { 1000, true } });
    target.merge(make_list({ { 0, false } }), 1000, 200);
    EXPECT_EQ(positions(target), (std::vector<std::int64_t> { 0, 1000, 1000 }));
    EXPECT_EQ(target.mark(2).name, u"m0");
    EXPECT_EQ(target.play_order(), (Order { 0, 1 }));

    // Marks beyond the length given stay inside the inserted stretch, before
    // the marks that follow it.
    RangeMarkList alone = make_list({ { 0, true }, { 5000, true }, { 6000, false } });
    alone.merge(alone, 5000, 300);
    EXPECT_EQ(positions(alone), (std::vector<std::int64_t> { 0, 5000, 5000, 5300, 5300, 6300 }));
    EXPECT_EQ(alone.play_order(), (Order { 0, 1 }));
}

TEST(NextValidIndex, SkipsUnplayedSlots)
{
    RangeMarkList list = make_list({ { 0, true }, { 1000, true }, { 2000, true } });
    list.play_mark(1).play = RangeMark::not_played;
    const std::pair<int, int> cases[] = { { -1, 0 }, { 0, 2 }, { 1, 2 }, { 2, 3 }, { 7, 3 } };
    for (auto [slot, next] : cases)
        EXPECT_EQ(next_valid_index(list, slot), next) << slot;
    EXPECT_EQ(next_valid_index(RangeMarkList(), -1), 0);
}

TEST(RangeMarkListDeathTest, IndexOrSlotOutOfRangeEndsTheProgram)
{
    const RangeMarkList list = make_list({ { 0, true }, { 1000, false } });
    const auto ends = testing::ExitedWithCode(os::fatal_exit_code);
    EXPECT_EXIT(list.mark(-1), ends, "RangeMarkList::mark: index is invalid");
    EXPECT_EXIT(list.mark(2), ends, "index is invalid");
    EXPECT_EXIT(list.play_mark(1), ends, "RangeMarkList::play_mark: slot is invalid");
    EXPECT_EXIT(list.mark_length(2, 0), ends, "index is invalid");
    EXPECT_EXIT(list.play_length(-1, 0), ends, "slot is invalid");
    EXPECT_EXIT(RangeMarkList().append_to_play(0), ends, "index is invalid");
}

class BookmarkFile : public testing::Test {
protected:
    std::u16string write(const std::string& xml) { return wide(m_dir.write("memo.wav.bm", xml)); }

    // One line per "Bookmark" element, as read by an independent parser.
    std::vector<std::string> elements(const std::u16string& path)
    {
        std::vector<std::string> result;
        const std::string file = platform::to_utf8(path);
        for (int i = 1;; ++i) {
            const std::string element = "/Bookmarks/Bookmark[" + std::to_string(i) + "]";
            test::ToolResult r = test::run_tool({ "xmllint", "--xpath",
                "concat(" + element + "/@Name,'|'," + element + "/@Position,'|'," + element + "/@Play)",
                file });
            if (r.exit_code != 0 || r.out.empty() || r.out == "||" || r.out == "||\n")
                return result;
            if (r.out.back() == '\n')
                r.out.pop_back();
            result.push_back(r.out);
        }
    }

    test::TempDir m_dir;
};

TEST_F(BookmarkFile, PlayedMarksKeepTheirFileOrder)
{
    const std::u16string path = write(R"(<?xml version="1.0"?>
<Bookmarks>
  <Bookmark Name="late" Position="3000" Play="true"/>
  <!-- written by hand -->
  <Bookmark Name="gap" Position="2000" Play="false"/>
  <Mark Name="early" Position="1000" Play="1"/>
  <Bookmark Name="start"/>
</Bookmarks>
)");
    RangeMarkList list = RangeMarkList::load(path);
    EXPECT_EQ(positions(list), (std::vector<std::int64_t> { 0, 1000, 2000, 3000 }));
    EXPECT_EQ(list.play_order(), (Order { 3, 1 }));
    EXPECT_EQ(list.mark(0).name, u"start");
    EXPECT_EQ(list.mark(0).play, RangeMark::not_played);
    EXPECT_EQ(list.play_mark(0).name, u"late");

    ASSERT_TRUE(list.save(path));
    if (!test::have_tool("xmllint"))
        GTEST_SKIP() << "xmllint missing";
    EXPECT_EQ(elements(path),
        (std::vector<std::string> {
            "late|3000|true", "early|1000|true", "start|0|false", "gap|2000|false" }));
}

TEST_F(BookmarkFile, SaveAndLoadRoundTrip)
{
    RangeMarkList list = make_list({ { 0, true }, { 1000, true }, { 5000, false } });
    list.add(500, u"Bookmark");
    list.add(6000000000, u"Bookmark \"<&>\" \u00e9\u20ac");
    const std::u16string path = wide(m_dir.file("round.bm"));
    ASSERT_TRUE(list.save(path));
    RangeMarkList loaded = RangeMarkList::load(path);
    ASSERT_EQ(loaded.mark_count(), list.mark_count());
    for (int i = 0; i < list.mark_count(); ++i) {
        EXPECT_EQ(loaded.mark(i).name, list.mark(i).name);
        EXPECT_EQ(loaded.mark(i).position, list.mark(i).position);
    }
    EXPECT_EQ(loaded.play_order(), list.play_order());
}

TEST_F(BookmarkFile, EmptyListSavesABareRoot)
{
    const std::u16string path = wide(m_dir.file("empty.bm"));
    ASSERT_TRUE(RangeMarkList().save(path));
    if (!test::have_tool("xmllint"))
        GTEST_SKIP() << "xmllint missing";
    test::ToolResult r = test::run_tool(
        { "xmllint", "--xpath", "concat(name(/*),count(/*/node()))", platform::to_utf8(path) });
    EXPECT_EQ(r.out.substr(0, r.out.find('\n')), "Bookmarks0");
}

TEST_F(BookmarkFile, SaveToAMissingFolderFailsAndKeepsTheList)
{
    const RangeMarkList list = make_list({ { 0, true } });
    EXPECT_FALSE(list.save(wide(m_dir.file("missing/memo.wav.bm"))));
    EXPECT_EQ(list.play_order(), (Order { 0 }));
}

TEST_F(BookmarkFile, BadFilesGiveAnEmptyListOrHarmlessMarks)
{
    EXPECT_EQ(RangeMarkList::load(wide(m_dir.file("absent.bm"))).mark_count(), 0);
    const char* empty_lists[] = {
        "",
        "<Bookmarks><Bookmark Position=\"1\"",
        "<Other><Bookmark Position=\"1\" Play=\"true\"/></Other>",
        "\xff\xfe<\0B\0",
        "<Bookmarks>text only</Bookmarks>",
    };
    for (const char* xml : empty_lists) {
        RangeMarkList list = RangeMarkList::load(write(xml));
        EXPECT_EQ(list.mark_count(), 0) << xml;
        EXPECT_EQ(list.play_count(), 0) << xml;
    }

    // Positions that are no number, negative or beyond 64 bits.
    RangeMarkList odd = RangeMarkList::load(write(R"(<Bookmarks>
  <Bookmark Position="abc" Play="maybe"/>
  <Bookmark Position="-700" Play="true"/>
  <Bookmark Position="99999999999999999999999" Play="true"/>
  <Bookmark Position=" 42" Play="TRUE"/>
</Bookmarks>)"));
    EXPECT_EQ(
        positions(odd), (std::vector<std::int64_t> { 0, 0, 42, std::numeric_limits<std::int64_t>::max() }));
    EXPECT_EQ(odd.play_order(), (Order { 1, 3, 2 }));
    EXPECT_EQ(odd.mark_length(2, 0), std::numeric_limits<std::int64_t>::max() - 42);
    odd.merge(odd, std::numeric_limits<std::int64_t>::max(), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(odd.mark(odd.mark_count() - 1).position, std::numeric_limits<std::int64_t>::max());
}
