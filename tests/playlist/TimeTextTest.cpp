#include "playlist/TimeText.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using namespace playlist;

TEST(TimeText, TruncatesTowardZeroButNotRoundingError)
{
    constexpr double inf = std::numeric_limits<double>::infinity();
    constexpr auto max64 = std::numeric_limits<std::int64_t>::max();
    constexpr auto min64 = std::numeric_limits<std::int64_t>::min();

    struct Case {
        double value;
        double scale;
        std::int64_t expected;
    } cases[] = {
        { 12.9, 1, 12 },
        { -12.9, 1, -12 },
        { -0.5, 1, 0 },
        { 1001 / 1000.0, 1000, 1001 }, // 1000.9999999999999 before the snap
        { 4007 * 0.001, 1000, 4007 },
        { 4007 * 0.001, -1000, -4007 },
        { 0.1 + 0.2, 10, 3 },
        { 300, 10'000'000, 3'000'000'000 },
        { 1.0009, 1000, 1000 },
        { std::nan(""), 1000, 0 },
        { inf, 1000, max64 },
        { -inf, 1000, min64 },
        { 1e300, 1000, max64 },
        { 9223372036854775807.0, 1, max64 },
    };

    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(scale_and_truncate(c.value, c.scale), c.expected);
    }
    EXPECT_EQ(scaled_int_text(1e12, 1000), u"2147483647");
    EXPECT_EQ(scaled_int_text(-1e12, 1000), u"-2147483648");
    EXPECT_EQ(scaled_long_text(-1e12, 1000), u"-1000000000000000");
}

TEST(TimeText, NumbersAndUnits)
{
    double value = 7;
    EXPECT_FALSE(parse_number(u"", value));
    EXPECT_FALSE(parse_number(u" \t", value));
    EXPECT_EQ(value, 7);
    EXPECT_TRUE(parse_number(u"ms", value));
    EXPECT_EQ(value, 0);
    EXPECT_TRUE(parse_number(u" -2.5e3x", value));
    EXPECT_EQ(value, -2500);

    EXPECT_EQ(without_unit(u"215000"), u"215000");
    EXPECT_EQ(without_unit(u"215000s"), u"215000");
    EXPECT_EQ(without_unit(u"1e4"), u"1e4");
    EXPECT_EQ(without_unit(u""), u"");
}
