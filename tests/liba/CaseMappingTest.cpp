#include "liba/CaseMapping.h"

#include <gtest/gtest.h>

TEST(CaseMapping, BeyondAscii)
{
    EXPECT_EQ(liba::to_lower(u"ABC \u00C9\u0178\u0141\u0416\u0391\uFF21 1"),
        u"abc \u00E9\u00FF\u0142\u0436\u03B1\uFF41 1");
    EXPECT_EQ(liba::to_upper(u"abc \u00E9\u00FF\u0142\u0436\u03B1\uFF41 1"),
        u"ABC \u00C9\u0178\u0141\u0416\u0391\uFF21 1");
    // Characters between the letters of a paired run stay as they are.
    EXPECT_EQ(liba::to_lower(u"\u0101\u0100"), u"\u0101\u0101");
    EXPECT_EQ(liba::to_upper(u"\u00DF\u00D7"), u"\u00DF\u00D7");
}
