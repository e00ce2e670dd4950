#include "playlist/EntryPath.h"

#include "platform/core/Utf8.h"
#include "tests/support/EnvironmentOverride.h"

#include <gtest/gtest.h>

using playlist::resolve_entry_path;

TEST(EntryPath, ResolvesAgainstTheListFolderAndHostSeparators)
{
    struct Case {
        std::u16string list;
        std::u16string entry;
        std::u16string expected;
    } cases[] = {
        { u"/music/lists/mix.m3u", u"song.mp3", u"/music/lists/song.mp3" },
        { u"/music/lists/mix.m3u", u"../a b/song.mp3", u"/music/lists/../a b/song.mp3" },
        { u"/music/lists/mix.m3u", u"Album\\Disc 1\\song.mp3", u"/music/lists/Album/Disc 1/song.mp3" },
        { u"\\Storage Card\\mix.m3u", u"song.mp3", u"/Storage Card/song.mp3" },
        { u"/music/lists/mix.m3u", u"/other/song.mp3", u"/other/song.mp3" },
        { u"/music/lists/mix.m3u", u"\\Storage Card\\song.mp3", u"/Storage Card/song.mp3" },
        { u"/music/lists/mix.m3u", u"http://radio.example/a\\b", u"http://radio.example/a\\b" },
        { u"/music/lists/mix.m3u", u"mms://radio.example/live", u"mms://radio.example/live" },
        { u"/music/lists/mix.m3u", u"odd name://x.mp3", u"/music/lists/odd name://x.mp3" },
        { u"/music/lists/mix.m3u", u"", u"" },
        { u"mix.m3u", u"song.mp3", u"song.mp3" },
    };

    for (const auto& c : cases) {
        SCOPED_TRACE(platform::to_utf8(c.entry));
        EXPECT_EQ(resolve_entry_path(c.list, c.entry), c.expected);
    }
}

TEST(EntryPath, ExpandsAMacroOfTheListOrTheEntry)
{
    test::EnvironmentOverride app("ORVANTA_APP_PATH", "/opt/orvanta");
    EXPECT_EQ(resolve_entry_path(u"%app_path%\\lists\\mix.m3u", u"a\\b.mp3"), u"/opt/orvanta/lists/a/b.mp3");
    EXPECT_EQ(resolve_entry_path(u"/music/mix.m3u", u"%app_path%\\b.mp3"), u"/opt/orvanta/b.mp3");
}
