#include "liba/DateTime.h"
#include "liba/Stopwatch.h"
#include "platform/core/headless/FakeClock.h"

#include <cstring>
#include <gtest/gtest.h>

using liba::DateTime;
using platform::SystemTime;
using FakeClock = platform::ScopedService<platform::Clock, platform::headless::FakeClock>;

namespace {

DateTime make(int y, int mo, int d, int h, int mi, int s)
{
    DateTime t;
    t.set_date(y, mo, d);
    t.set_time(h, mi, s);
    return t;
}

std::string text_of(const DateTime& t)
{
    std::string s = "<";
    EXPECT_TRUE(t.to_string(s));
    return s.substr(1);
}

}

TEST(DateTime, DefaultIsTheFirstFileTime)
{
    DateTime t;
    EXPECT_EQ(t.file_time(), 0u);
    EXPECT_EQ(text_of(t), "1601 01 01 00 00 00");
    EXPECT_EQ(DateTime(SystemTime { 1970, 1, 4, 1, 0, 0, 0, 0 }).file_time(), 116444736000000000ULL);
}

TEST(DateTime, TextFormRoundTrips)
{
    struct Case {
        int y, mo, d, h, mi, s;
        const char* text;
    } cases[] = {
        { 2006, 5, 17, 8, 30, 0, "2006 05 17 08 30 00" },
        { 2000, 2, 29, 23, 59, 59, "2000 02 29 23 59 59" },
        { 30827, 12, 31, 0, 0, 1, "30827 12 31 00 00 01" },
    };
    for (const auto& c : cases) {
        const DateTime t = make(c.y, c.mo, c.d, c.h, c.mi, c.s);
        EXPECT_EQ(text_of(t), c.text);
        const std::u16string wide(c.text, c.text + std::strlen(c.text));
        DateTime back;
        EXPECT_EQ(back.parse(wide.data(), wide.data() + wide.size()), wide.data() + wide.size()) << c.text;
        EXPECT_TRUE(back.is_equal(t)) << c.text;
        EXPECT_EQ(back.system_time().second, c.s);
    }
}

TEST(DateTime, ParseSkipsWhiteSpaceAndNeedsSixNumbers)
{
    const std::u16string text = u" 2007\t03 05\n14 30 00 rest";
    DateTime t;
    const char16_t* after = t.parse(text.data(), text.data() + text.size());
    EXPECT_EQ(std::u16string(after), u" rest");
    EXPECT_EQ(text_of(t), "2007 03 05 14 30 00");

    for (std::u16string bad : { u"2006 05 17 08 30", u"2006 05 17 08 30 x", u"", u"2006-05-17 08:30:00" }) {
        DateTime kept = make(2001, 2, 3, 4, 5, 6);
        EXPECT_EQ(kept.parse(bad.data(), bad.data() + bad.size()), nullptr);
        EXPECT_EQ(text_of(kept), "2001 02 03 04 05 06");
    }
}

TEST(DateTime, RefusedValuesReportFalse)
{
    DateTime t = make(2006, 5, 17, 8, 30, 0);
    const auto before = t.file_time();
    // The fields are taken, the file time stays: comparisons see the old value.
    EXPECT_FALSE(t.set_date(2006, 2, 30));
    EXPECT_EQ(t.day(), 30);
    EXPECT_EQ(t.file_time(), before);
    EXPECT_TRUE(t.set_date(2006, 2, 28));
    EXPECT_FALSE(t.set_time(24, 0, 0));
    EXPECT_TRUE(t.set_time(0, 0, 0));

    // A year before the first file time is kept as a field and written with its digits.
    DateTime old;
    EXPECT_FALSE(old.set_date(999, 1, 1));
    EXPECT_EQ(text_of(old), "999 01 01 00 00 00");
    EXPECT_EQ(old.file_time(), 0u);

    // Beyond the 16-bit fields: refused whole, nothing wraps into a valid date.
    DateTime wide = make(2006, 5, 17, 8, 30, 0);
    EXPECT_FALSE(wide.set_date(65536 + 2006, 5, 17));
    EXPECT_FALSE(wide.set_time(-1, 0, 0));
    EXPECT_EQ(text_of(wide), "2006 05 17 08 30 00");

    DateTime parsed = make(2006, 5, 17, 8, 30, 0);
    const std::u16string impossible = u"2006 13 01 00 00 00";
    EXPECT_NE(parsed.parse(impossible.data(), impossible.data() + impossible.size()), nullptr);
    EXPECT_EQ(parsed.file_time(), before);
}

TEST(DateTime, ConstructorDropsMillisecondsNowKeepsThem)
{
    // 1970-01-01 00:00:01.234
    FakeClock clock(platform::clock_slot(), 0, 116444736000000000ULL + 1234 * 10000ULL);
    const DateTime now = DateTime::now();
    EXPECT_EQ(now.system_time().milliseconds, 234);
    const DateTime copy(now.system_time());
    EXPECT_EQ(copy.system_time().milliseconds, 0);
    EXPECT_TRUE(copy.is_before(now));

    clock->advance(3);
    const DateTime later = DateTime::now();
    EXPECT_TRUE(now.is_before(later));
    EXPECT_TRUE(later.is_after(now));
    EXPECT_FALSE(later.is_equal(now));
}

TEST(Stopwatch, ElapsedAcrossATickWrap)
{
    FakeClock clock(platform::clock_slot(), 0xFFFFFF00u);
    liba::Stopwatch watch;
    clock->advance(0x200); // the tick count wraps to 0x100
    EXPECT_DOUBLE_EQ(watch.elapsed(), 0.512);
    EXPECT_EQ(watch.restart(), 0x100u);
    clock->advance(1500);
    EXPECT_DOUBLE_EQ(watch.elapsed(), 1.5);
}
