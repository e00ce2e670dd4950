#include "platform/core/Clock.h"
#include "platform/core/headless/FakeClock.h"

#include <gtest/gtest.h>

using platform::SystemTime;

TEST(FileTime, EpochsAndRoundTrips)
{
    platform::FileTime ft = 1;
    ASSERT_TRUE(platform::system_time_to_file_time(SystemTime { 1970, 1, 0, 1, 0, 0, 0, 0 }, ft));
    EXPECT_EQ(ft, 116444736000000000ULL);
    ASSERT_TRUE(platform::system_time_to_file_time(SystemTime {}, ft));
    EXPECT_EQ(ft, 0u);

    const SystemTime cases[] = {
        { 1601, 1, 1, 1, 0, 0, 0, 0 },      // a Monday
        { 2000, 2, 2, 29, 23, 59, 59, 999 }, // leap day of a century leap year
        { 2006, 5, 3, 17, 8, 30, 0, 0 },
        { 2038, 1, 2, 19, 3, 14, 8, 1 },     // past 32-bit seconds
        { 30827, 12, 5, 31, 23, 59, 59, 999 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.year);
        ASSERT_TRUE(platform::system_time_to_file_time(c, ft));
        SystemTime back;
        ASSERT_TRUE(platform::file_time_to_system_time(ft, back));
        EXPECT_EQ(back, c); // day of week included
    }
}

TEST(FileTime, ImpossibleValuesAreRefused)
{
    const SystemTime bad[] = {
        { 1600, 12, 0, 31, 0, 0, 0, 0 },
        { 1900, 2, 0, 29, 0, 0, 0, 0 }, // 1900 is no leap year
        { 2001, 4, 0, 31, 0, 0, 0, 0 },
        { 2001, 13, 0, 1, 0, 0, 0, 0 },
        { 2001, 1, 0, 0, 0, 0, 0, 0 },
        { 2001, 1, 0, 1, 24, 0, 0, 0 },
        { 2001, 1, 0, 1, 0, 60, 0, 0 },
        { 2001, 1, 0, 1, 0, 0, 60, 0 },
        { 2001, 1, 0, 1, 0, 0, 0, 1000 },
    };
    for (const auto& t : bad) {
        platform::FileTime ft = 42;
        EXPECT_FALSE(platform::system_time_to_file_time(t, ft)) << t.year << "-" << t.month << "-" << t.day;
        EXPECT_EQ(ft, 42u);
    }
    SystemTime t;
    EXPECT_FALSE(platform::file_time_to_system_time(0x8000000000000000ULL, t));
}

TEST(FakeClock, DrivesTicksAndLocalTimeAndWraps)
{
    {
        platform::ScopedService<platform::Clock, platform::headless::FakeClock> fake(
            platform::clock_slot(), 0xFFFFFFF0u);
        EXPECT_EQ(platform::tick_count(), 0xFFFFFFF0u);
        fake->advance(0x20);
        EXPECT_EQ(platform::tick_count(), 0x10u);
        EXPECT_EQ(platform::local_time(), (SystemTime { 1970, 1, 4, 1, 0, 0, 0, 32 }));
    }
    // The system clock is back.
    const SystemTime now = platform::local_time();
    EXPECT_GE(now.year, 2024);
}
