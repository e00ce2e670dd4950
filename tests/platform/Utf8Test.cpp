#include "platform/core/Utf8.h"

#include <gtest/gtest.h>

TEST(Utf8, RoundTripsEveryPlane)
{
    const std::u16string text = u"a\u00e9\u20ac\U0001F3B5z";
    const std::string utf8 = platform::to_utf8(text);
    EXPECT_EQ(utf8, "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x8E\xB5z");
    EXPECT_EQ(platform::from_utf8(utf8), text);
}

TEST(Utf8, MalformedInputBecomesReplacementCharacters)
{
    struct Case {
        std::string in;
        std::u16string out;
    } cases[] = {
        { "\xFF", u"\uFFFD" },
        { "a\xC3", u"a\uFFFD" },               // truncated sequence
        { "\xC0\x80", u"\uFFFD\uFFFD" },       // overlong zero
        { "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD" }, // encoded surrogate
    };
    for (const auto& c : cases)
        EXPECT_EQ(platform::from_utf8(c.in), c.out) << c.in;
}

TEST(Utf8, LoneSurrogateBecomesReplacementCharacter)
{
    EXPECT_EQ(platform::to_utf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
}
