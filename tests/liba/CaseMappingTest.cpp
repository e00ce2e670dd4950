#include "liba/CaseMapping.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <unicode/uchar.h>
#include <vector>

TEST(CaseMapping, BeyondAscii)
{
    EXPECT_EQ(liba::to_lower(u"ABC \u00C9\u0178\u0141\u0416\u0391\uFF21 1"),
        u"abc \u00E9\u00FF\u0142\u0436\u03B1\uFF41 1");
    EXPECT_EQ(liba::to_upper(u"abc \u00E9\u00FF\u0142\u0436\u03B1\uFF41 1"),
        u"ABC \u00C9\u0178\u0141\u0416\u0391\uFF21 1");
    // Characters between the letters of a paired run stay as they are.
    EXPECT_EQ(liba::to_lower(u"\u0101\u0100"), u"\u0101\u0101");
    EXPECT_EQ(liba::to_upper(u"\u00DF\u00D7"), u"\u00DF\u00D7");
    // Simple mappings where the full ones take two characters.
    EXPECT_EQ(liba::to_lower(u"\u0130"), u"i");
    EXPECT_EQ(liba::to_upper(u"\u1F80\u1FB3"), u"\u1F88\u1FBC");
}

namespace {

// Whether ICU's Unicode had assigned the character by our table's version;
// a later Unicode may give newer characters case pairs our table cannot know.
bool assigned_by_unicode_14(UChar32 c)
{
    UVersionInfo age;
    u_charAge(c, age);
    return age[0] < 14 || (age[0] == 14 && age[1] == 0);
}

// Every character of the Basic Multilingual Plane whose simple mapping
// differs from ICU's, as "U+XXXX: ours U+XXXX, ICU's U+XXXX".
template<typename Ours, typename Theirs>
std::vector<std::string> differences(Ours ours, Theirs theirs)
{
    std::vector<std::string> out;
    for (UChar32 c = 0; c <= 0xFFFF; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF)
            continue;
        UChar32 expected = theirs(c);
        if (expected > 0xFFFF || !assigned_by_unicode_14(c) || !assigned_by_unicode_14(expected))
            expected = c;
        const UChar32 got = ours(static_cast<char16_t>(c));
        if (got != expected) {
            char line[64];
            std::snprintf(line, sizeof line, "U+%04X: ours U+%04X, ICU's U+%04X", unsigned(c), unsigned(got),
                unsigned(expected));
            out.push_back(line);
        }
    }
    return out;
}

}

TEST(CaseMapping, EqualsIcusSimpleMappingsOverTheWholeBmp)
{
    const auto lower = differences([](char16_t c) { return liba::to_lower(c); }, u_tolower);
    const auto upper = differences([](char16_t c) { return liba::to_upper(c); }, u_toupper);
    EXPECT_TRUE(lower.empty()) << lower.size() << " differ, first " << lower.front();
    EXPECT_TRUE(upper.empty()) << upper.size() << " differ, first " << upper.front();
}
