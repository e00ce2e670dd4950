#include "os/Wildcard.h"

#include <gtest/gtest.h>
#include <string>

TEST(Wildcard, MatchesLikeTheDeviceFileSearch)
{
    struct Case {
        std::u16string mask, name;
        bool match;
    } cases[] = {
        { u"*", u"anything.at.all", true },
        { u"*.*", u"README", true },
        { u"*.*", u".hidden", true },
        { u"*.*", u"a.b.c", true },
        { u"*.mp3", u"Song.MP3", true },
        { u"*.MP3", u"song.mp3", true },
        { u"*.mp3", u"song.mp3x", false },
        { u"*.wav", u"wav", false },
        { u"song.*", u"song", true },
        { u"song.*", u"songs", false },
        { u"?.txt", u"a.txt", true },
        { u"?.txt", u"ab.txt", false },
        { u"?.txt", u".txt", false },
        { u"a*b*c", u"aXbYc", true },
        { u"a*b*c", u"aXbYcZ", false },
        { u"a*b*c", u"abcbc", true },
        { u"", u"a", false },
        { u"\u00c4b*", u"\u00e4BC", true }, // Latin-1 letters in either case
        { u"\u0424*", u"\u0444\u0430\u0439\u043b", true }, // Cyrillic
        { u"\u0141*", u"\u0142", true }, // Latin Extended-A odd pair
        { u"x", u"X", true },
        { u"\u00df", u"s", false },
    };

    for (const auto& c : cases)
        EXPECT_EQ(os::wildcard_match(c.mask, c.name), c.match) << std::string(
            c.mask.begin(), c.mask.end()) << " / " << std::string(c.name.begin(), c.name.end());
}

TEST(Wildcard, HostileMaskFinishes)
{
    std::u16string mask, name(4000, u'a');
    for (int i = 0; i < 200; ++i)
        mask += u"*a";
    mask += u"b";
    EXPECT_FALSE(os::wildcard_match(mask, name));
}
