#include "playlist/ListOfflineRadio.h"

#include "tests/playlist/PlaylistTestSupport.h"

#include <gtest/gtest.h>

using playlist::Entry;
using playlist::ListOfflineRadio;
using test::u16;

TEST(ListOfflineRadio, ReadsFadesCutsAndCrossFades)
{
    ListOfflineRadio list(test::playlist_fixture("offline.xml"));
    ASSERT_TRUE(list.is_loaded());
    EXPECT_EQ(list.kind(), u"log");
    const std::vector<Entry> expected = {
        // A fade of -1 is none; the cut at the end is what follows the fade-out: 300 - 290 - 4.
        { .path = u"intro.mp3",
            .duration = 300,
            .fade_in = 2.5,
            .clip_end = 6,
            .fade_out = 4,
            .attributes = { { u"EntryType", u"Song" }, { u"title", u"Intro" }, { u"artist", u"Host" },
                { u"MediaID", u"17" }, { u"MediaComment", u"live" } } },
        // Starts 8 s before the intro's cut end; a negative fade counts as none, an end fade of -1 cuts
        // nothing.
        { .path = u"Music\\song.mp3", .duration = 180, .start_offset = -2, .clip_begin = 1.5 },
        // No file name, still an entry; a cut beyond the length is none; without a CrossFade no offset.
        { .duration = 1 },
        // Takes the overlap that the song announced.
        { .path = u"after-no-cross-fade.mp3", .start_offset = -3 },
    };
    EXPECT_TRUE(test::same_entries(list.entries(), expected));
}

TEST(ListOfflineRadio, TakesAnyLogRoot)
{
    test::TempDir dir;

    struct Case {
        const char* xml;
        bool loaded;
    } cases[] = {
        { "<Log/>", true },
        { "<Log version=\"multitracker\"><LogEvent/></Log>", true },
        { "<Log><logevent/></Log>", true },
        { "<LOG/>", false },
        { "<?xml version=\"1.0\"?><!-- c --><Log/>", true },
        { "<Log>", false },
    };

    for (const auto& c : cases) {
        SCOPED_TRACE(c.xml);
        ListOfflineRadio list(u16(dir.write("log.xml", c.xml)));
        EXPECT_EQ(list.is_loaded(), c.loaded);
    }
    ListOfflineRadio one(u16(dir.write("log.xml", "<Log version=\"multitracker\"><LogEvent/></Log>")));
    EXPECT_TRUE(test::same_entries(one.entries(), { Entry {} }));
}

TEST(ListOfflineRadio, WritesCrossFadesAndStartsIn100NanosecondUnits)
{
    test::TempDir dir;
    ListOfflineRadio list(u16(dir.file("new.xml")));
    list.get_entries() = {
        { .path = u"intro.mp3",
            .duration = 300,
            .fade_in = 2.5,
            .clip_end = 6,
            .fade_out = 4,
            .attributes = { { u"EntryType", u"Song" }, { u"title", u"Intro" }, { u"Genre", u"not kept" } } },
        { .path = u"song.mp3", .duration = 180, .clip_begin = 1.5 },
        { .path = u"c.mp3", .start_offset = -0.5 },
    };
    auto path = dir.file("out.xml");
    ASSERT_TRUE(list.save(u16(path)));
    using Texts = std::vector<std::u16string>;
    EXPECT_EQ(test::event_texts(path, u"AudioLength"), (Texts { u"300000", u"180000", u"-1000" }));
    EXPECT_EQ(test::event_texts(path, u"StartFadeUp"), (Texts { u"0", u"1500", u"0" }));
    EXPECT_EQ(test::event_texts(path, u"EndFadeDown"), (Texts { u"290000", u"180000", u"-1000" }));
    EXPECT_EQ(test::event_texts(path, u"CrossFade"), (Texts { u"6000", u"500", u"0" }));
    EXPECT_EQ(test::event_texts(path, u"StartTime"), (Texts { u"0", u"3000000000", u"4795000000" }));
    EXPECT_EQ(test::event_texts(path, u"EntryType"), (Texts { u"Song", u"<none>", u"<none>" }));
    EXPECT_EQ(test::event_texts(path, u"AudioInfo"), (Texts { u"Intro", u"", u"" }));
    EXPECT_EQ(test::event_texts(path, u"Track"), (Texts { u"-1", u"-1", u"-1" }));

    ListOfflineRadio back(u16(path));
    ASSERT_TRUE(back.is_loaded());
    std::vector<Entry> expected = list.entries();
    expected[0].attributes.erase(u"Genre");
    EXPECT_TRUE(test::same_entries(back.entries(), expected));
}

TEST(ListOfflineRadio, RoundTripKeepsTimesToTheMillisecond)
{
    test::TempDir dir;
    ListOfflineRadio list(u16(dir.file("new.xml")));
    Entry e { .path = u"\\Storage Card\\caf\u00e9.mp3",
        .duration = 4.007,
        .clip_begin = 1.001,
        .fade_in = 0.003,
        .clip_end = 0.025,
        .fade_out = 1.999,
        .attributes = { { u"artist", u"A" }, { u"MediaID", u"9" }, { u"MediaComment", u"c" } } };
    list.get_entries() = { e, e, e };
    list.get_entries()[1].start_offset = -1.001;
    list.get_entries()[2].start_offset = 4.015;
    auto path = u16(dir.file("out.xml"));
    ASSERT_TRUE(list.save(path));
    ListOfflineRadio back(path);
    ASSERT_TRUE(back.is_loaded());
    EXPECT_TRUE(test::same_entries(back.entries(), list.entries()));
}
