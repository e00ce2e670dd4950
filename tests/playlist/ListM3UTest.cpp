#include "playlist/ListM3U.h"

#include "tests/playlist/PlaylistTestSupport.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utility>
#include <vector>

using playlist::Entry;
using playlist::ListM3U;
using test::u16;

namespace {

using Items = std::vector<std::pair<std::u16string, double>>;

Items items_of(const playlist::List& list)
{
    Items items;
    for (const Entry& e : list.entries())
        items.emplace_back(e.path, e.duration);
    return items;
}

struct ReadCase {
    const char* name;
    std::string bytes;
    bool loaded;
    Items items;
};

}

TEST(ListM3U, ReadsExtendedM3UAndRejectsAnyLineOutOfPlace)
{
    const ReadCase cases[] = {
        { "title dropped", "#EXTM3U\n#EXTINF:123,Artist - Title\nmusic/a.mp3\n", true,
            { { u"music/a.mp3", 123 } } },
        { "durations",
            "#EXTM3U\n#EXTINF:,x\na\n#EXTINF:abc,x\nb\n#EXTINF:12.5,\nc\n#EXTINF:  ,\nd\n#EXTINF:-1,\ne",
            true, { { u"a", -1 }, { u"b", 0 }, { u"c", 12.5 }, { u"d", -1 }, { u"e", -1 } } },
        { "only the header", "#EXTM3U\n", true, {} },
        { "header without line end", "#EXTM3U", true, {} },
        { "CR LF and LF CR", "#EXTM3U\r\n#EXTINF:1,\r\na\r\n#EXTINF:2,\n\rb", true,
            { { u"a", 1 }, { u"b", 2 } } },
        { "info line at the end", "#EXTM3U\n#EXTINF:5,\n", true, { { u"", 5 } } },
        { "device separators kept", "#EXTM3U\n#EXTINF:1,\n\\Storage Card\\My Music\\a.mp3\n", true,
            { { u"\\Storage Card\\My Music\\a.mp3", 1 } } },
        { "ANSI text", "#EXTM3U\n#EXTINF:1,\ncaf\xE9 \x80.mp3\n", true, { { u"caf\u00e9 \u20ac.mp3", 1 } } },
        { "UTF-16LE with the mark", test::utf16le_file(u"#EXTM3U\n#EXTINF:7,\n\u65e5\u672c\U0001D11E.mp3\n"),
            true, { { u"\u65e5\u672c\U0001D11E.mp3", 7 } } },
        { "no colon", "#EXTM3U\n#EXTINF 12,x\na\n", false, {} },
        { "no comma after the colon", "#EXTM3U\n#EXTINF:12\na\n", false, {} },
        { "comma only before the colon", "#EXTM3U\n#EXTINF,x:12\na\n", false, {} },
        { "another tag", "#EXTM3U\n#EXTINFO:1,\na\n", false, {} },
        { "tag in lower case", "#EXTM3U\n#extinf:1,\na\n", false, {} },
        { "plain path list", "#EXTM3U\na.mp3\n", false, {} },
        { "blank line between entries", "#EXTM3U\n#EXTINF:1,\na\n\n#EXTINF:2,\nb\n", false, {} },
        { "header with a trailing blank", "#EXTM3U \n#EXTINF:1,\na\n", false, {} },
        { "header in lower case", "#extm3u\n#EXTINF:1,\na\n", false, {} },
        { "no header", "#EXTINF:1,\na\n", false, {} },
        { "empty file", "", false, {} },
        { "long first line", "#EXTM3U" + std::string(200, 'x') + "\n", false, {} },
    };
    test::TempDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ListM3U list(u16(dir.write("list.m3u", c.bytes)));
        EXPECT_EQ(list.is_loaded(), c.loaded);
        EXPECT_EQ(list.kind(), u"m3u");
        EXPECT_EQ(items_of(list), c.loaded ? c.items : items_of(list));
    }
}

TEST(ListM3U, MissingFileAndNewListAreNotLoaded)
{
    test::TempDir dir;
    EXPECT_FALSE(ListM3U(u16(dir.file("missing.m3u"))).is_loaded());
    EXPECT_FALSE(ListM3U(u16(dir.path())).is_loaded());
    ListM3U fresh;
    EXPECT_FALSE(fresh.is_loaded());
    EXPECT_EQ(fresh.kind(), u"");
    EXPECT_EQ(fresh.header().name, u"new playlist");
    EXPECT_EQ(fresh.header().id, u"-1");
}

TEST(ListM3U, WritesUtf16WithTheMarkAndWholeSeconds)
{
    test::TempDir dir;
    ListM3U list;
    auto& entries = list.get_entries();
    entries.push_back({ .path = u"a.mp3", .duration = 12.9 });
    entries.push_back({ .path = u"\\Storage Card\\b.mp3" });
    entries.push_back({ .path = u"c.mp3", .duration = 59.999, .attributes = { { u"title", u"t" } } });
    entries.push_back({ .path = u"d.mp3", .duration = -0.5 });
    auto path = dir.file("out.m3u");
    ASSERT_TRUE(list.save(u16(path)));
    EXPECT_EQ(test::read_file(path),
        test::utf16le_file(u"#EXTM3U\n#EXTINF:12,\na.mp3\n#EXTINF:-1,\n\\Storage Card\\b.mp3\n"
                           u"#EXTINF:59,\nc.mp3\n#EXTINF:0,\nd.mp3\n"));
}

TEST(ListM3U, RoundTripKeepsPathsAndWholeDurations)
{
    test::TempDir dir;
    ListM3U list;
    const std::u16string odd = u"\u65e5\u672c caf\u00e9 \U0001D11E, #EXTINF:1,.mp3";
    list.get_entries().push_back({ .path = odd, .duration = 215 });
    list.get_entries().push_back({ .path = u"", .duration = 4.007 });
    auto path = u16(dir.file("round.m3u"));
    ASSERT_TRUE(list.save(path));
    ListM3U back(path);
    ASSERT_TRUE(back.is_loaded());
    EXPECT_EQ(items_of(back), (Items { { odd, 215 }, { u"", 4 } }));
}

TEST(ListM3U, FailedSavesReportFalseAndKeepTheOldFile)
{
    test::TempDir dir;
    EXPECT_FALSE(ListM3U().save(u16(dir.file("no/such/folder/x.m3u"))));

    auto path = dir.write("keep.m3u", "#EXTM3U\n");
    ListM3U broken;
    broken.get_entries().push_back({ .path = u"line\nbreak.mp3", .duration = 1 });
    EXPECT_FALSE(broken.save(u16(path)));
    EXPECT_EQ(test::read_file(path), "#EXTM3U\n");

    // Refused replacements, as of a read-only file, are reported too.
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    ListM3U fine;
    fine.get_entries().push_back({ .path = u"a.mp3" });
    EXPECT_FALSE(fine.save(u16(path)));
    EXPECT_EQ(test::read_file(path), "#EXTM3U\n");
}
