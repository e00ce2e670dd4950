#include "playlist/ListMultiTracker.h"

#include "tests/playlist/PlaylistTestSupport.h"

#include <gtest/gtest.h>

using playlist::Entry;
using playlist::ListMultiTracker;
using test::u16;

TEST(ListMultiTracker, ReadsHeaderEventsAndTheirPlacing)
{
    ListMultiTracker list(test::playlist_fixture("multitracker.xml"));
    ASSERT_TRUE(list.is_loaded());
    EXPECT_EQ(list.kind(), u"mtr");
    EXPECT_EQ(list.header().id, u"42");
    EXPECT_EQ(list.header().name, u"Morning show");
    liba::DateTime start;
    start.set_date(2006, 5, 17);
    start.set_time(8, 30, 0);
    EXPECT_TRUE(list.header().start_time.is_equal(start));

    const std::vector<Entry> expected = {
        // StartTime 0 wins over StartNext; the event ends at 60 s.
        { .path = u"\\Storage Card\\jingle.mp3",
            .duration = 60,
            .track = 3,
            .attributes = { { u"title", u"Jingle" }, { u"MediaID", u"J-1" } } },
        // StartTime 90 s, 30 s after the jingle ended; the unit after the length is dropped.
        { .path = u"caf\u00e9 song.mp3",
            .duration = 215,
            .start_offset = 30,
            .track = 0,
            .clip_begin = 1.5,
            .fade_in = 2,
            .clip_end = 4,
            .fade_out = 3,
            .attributes = { { u"artist", u"Band" }, { u"Status", u"played" }, { u"RelaxLate", u"yes" } } },
        // A negative StartTime falls back to StartNext, an overlap of 5 s.
        { .path = u"next.mp3", .duration = 10, .start_offset = -5 },
        // Neither: no offset, and the running time stays at 310 s. A blank length stays unknown.
        { .path = u"loose.mp3" },
        // A final digit is no unit: 1e4 is 10 s. StartTime 320 s after the running 310 s.
        { .duration = 10, .start_offset = 10 },
    };
    EXPECT_TRUE(test::same_entries(list.entries(), expected));
}

TEST(ListMultiTracker, WantsALogOfVersionMultitracker)
{
    test::TempDir dir;

    struct Case {
        const char* xml;
        bool loaded;
    } cases[] = {
        { "<Log version=\"multitracker\"/>", true },
        { "<Log/>", false },
        { "<Log version=\"MultiTracker\"/>", false },
        { "<log version=\"multitracker\"/>", false },
        { "<ASX version=\"multitracker\"/>", false },
        { "not xml", false },
    };

    for (const auto& c : cases) {
        SCOPED_TRACE(c.xml);
        ListMultiTracker list(u16(dir.write("log.xml", c.xml)));
        EXPECT_EQ(list.is_loaded(), c.loaded);
        EXPECT_TRUE(list.entries().empty());
    }
    // Without the header attributes the header keeps its defaults.
    ListMultiTracker bare(u16(dir.write("log.xml", "<Log version=\"multitracker\"/>")));
    EXPECT_EQ(bare.header().name, u"new playlist");
    EXPECT_EQ(bare.header().id, u"-1");
}

TEST(ListMultiTracker, WritesMillisecondsAndReadsItsOwnLengthsBack)
{
    test::TempDir dir;
    ListMultiTracker list(u16(dir.file("new.xml")));
    list.get_entries() = {
        { .path = u"a.mp3", .duration = 215 },
        { .path = u"b.mp3", .duration = 1.001, .start_offset = 30 },
        { .path = u"c.mp3", .start_offset = -2.5 },
    };
    auto path = dir.file("out.xml");
    ASSERT_TRUE(list.save(u16(path)));
    using Texts = std::vector<std::u16string>;
    EXPECT_EQ(test::event_texts(path, u"MediaLength"), (Texts { u"215000", u"1001", u"-1000" }));
    EXPECT_EQ(test::event_texts(path, u"StartNext"), (Texts { u"0", u"-30000", u"2500" }));
    EXPECT_EQ(test::event_texts(path, u"StartTime"), (Texts { u"0", u"245000", u"243501" }));
    EXPECT_EQ(test::event_texts(path, u"MediaTitle"), (Texts { u"", u"", u"" }));
    EXPECT_EQ(test::event_texts(path, u"Track"), (Texts { u"-1", u"-1", u"-1" }));

    ListMultiTracker back(u16(path));
    ASSERT_TRUE(back.is_loaded());
    EXPECT_TRUE(test::same_entries(back.entries(), list.entries()));
}

TEST(ListMultiTracker, RoundTripKeepsEveryField)
{
    test::TempDir dir;
    ListMultiTracker list(u16(dir.file("new.xml")));
    list.header().id = u"7";
    list.header().name = u"Caf\u00e9 <night>";
    liba::DateTime start;
    start.set_date(999, 1, 2);
    start.set_time(3, 4, 5);
    list.header().start_time = start;
    Entry full { .path = u"\\Storage Card\\x & y.mp3",
        .duration = 4.007,
        .start_offset = -0.25,
        .track = 12,
        .clip_begin = 1.001,
        .fade_in = 2.5,
        .clip_end = 0.003,
        .fade_out = 1.999 };
    for (auto key : { u"title", u"artist", u"MediaID", u"MediaType", u"DetailRefID", u"MediaComment",
             u"Status", u"Override", u"RelaxEarly", u"RelaxLate" })
        full.attributes[key] = std::u16string(key) + u" \u65e5";
    list.get_entries() = { full, { .path = u"2.mp3", .duration = 60, .start_offset = 1 }, full };
    auto path = u16(dir.file("out.xml"));
    ASSERT_TRUE(list.save(path));
    ListMultiTracker back(path);
    ASSERT_TRUE(back.is_loaded());
    EXPECT_TRUE(test::same_entries(back.entries(), list.entries()));
    EXPECT_EQ(back.header().id, u"7");
    EXPECT_EQ(back.header().name, u"Caf\u00e9 <night>");
    EXPECT_TRUE(back.header().start_time.is_equal(list.header().start_time));
}
