#include "playlist/ListASX.h"

#include "tests/playlist/PlaylistTestSupport.h"

#include <gtest/gtest.h>

using playlist::Entry;
using playlist::ListASX;
using test::u16;

TEST(ListASX, ReadsEntriesWithAReferenceAndTheirFirstTitleAndParameter)
{
    ListASX list(test::playlist_fixture("list.asx"));
    ASSERT_TRUE(list.is_loaded());
    EXPECT_EQ(list.kind(), u"asx");
    const std::vector<Entry> expected = {
        { .path = u"music\\first.mp3",
            .attributes = { { u"title", u"First song" }, { u"artist", u"Some Band" } } },
        { .path = u"http://radio.example/stream", .attributes = { { u"Genre", u"Jazz" } } },
        { .path = u"no-value.mp3" },
    };
    EXPECT_TRUE(test::same_entries(list.entries(), expected));
}

TEST(ListASX, NamesMatchInTheirCaseOnly)
{
    test::TempDir dir;

    struct Case {
        const char* xml;
        bool loaded;
        std::size_t entries;
    } cases[] = {
        { "<asx version=\"3.0\"><entry><ref href=\"a.mp3\"/></entry></asx>", false, 0 },
        { "<ASX version=\"3.0\"><entry><REF HREF=\"a.mp3\"/></entry></ASX>", true, 0 },
        { "<ASX/>", true, 0 },
        { "<ASX version=\"3.0\"><ENTRY><REF HREF=\"a.mp3\"/></ENTRY>", false, 0 },
        { "<Log><ENTRY><REF HREF=\"a.mp3\"/></ENTRY></Log>", false, 0 },
    };

    for (const auto& c : cases) {
        SCOPED_TRACE(c.xml);
        ListASX list(u16(dir.write("list.asx", c.xml)));
        EXPECT_EQ(list.is_loaded(), c.loaded);
        EXPECT_EQ(list.entries().size(), c.entries);
    }
}

TEST(ListASX, RoundTripKeepsPathTitleAndArtist)
{
    test::TempDir dir;
    ListASX list(u16(dir.file("new.asx")));
    ASSERT_FALSE(list.is_loaded());
    list.get_entries() = {
        { .path = u"caf\u00e9 & <b>.mp3",
            .attributes = { { u"title", u"T\u00eftle \"q\"" }, { u"artist", u"A" } } },
        { .path = u"\\Storage Card\\b.mp3", .attributes = { { u"title", u"" } } },
        { .path = u"c.mp3" },
    };
    auto path = u16(dir.file("out.asx"));
    ASSERT_TRUE(list.save(path));
    ListASX back(path);
    ASSERT_TRUE(back.is_loaded());
    // An empty title is written as an empty element and read as none.
    const std::vector<Entry> expected
        = { list.entries()[0], { .path = u"\\Storage Card\\b.mp3" }, list.entries()[2] };
    EXPECT_TRUE(test::same_entries(back.entries(), expected));
}

TEST(ListASX, WritesOnlyWhatTheFormatHolds)
{
    test::TempDir dir;
    ListASX list(u16(dir.file("new.asx")));
    list.get_entries().push_back({ .path = u"a.mp3",
        .duration = 12,
        .track = 4,
        .attributes = { { u"Genre", u"Jazz" }, { u"artist", u"A" } } });
    auto path = dir.file("out.asx");
    ASSERT_TRUE(list.save(u16(path)));
    std::string xml = test::read_file(path);
    EXPECT_NE(xml.find("<ASX version=\"3.0\">"), std::string::npos) << xml;
    EXPECT_NE(xml.find("<PARAM name=\"artist\" value=\"A\""), std::string::npos) << xml;
    EXPECT_EQ(xml.find("Jazz"), std::string::npos) << xml;
    EXPECT_EQ(xml.find("TITLE"), std::string::npos) << xml;
    EXPECT_FALSE(list.save(u16(dir.file("no/such/folder/out.asx"))));
}
