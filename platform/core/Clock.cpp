#include "platform/core/Clock.h"

namespace platform {

namespace {

constexpr std::uint64_t ticks_per_ms = 10000;
constexpr std::uint64_t ms_per_day = 86400000;

bool is_leap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int days_in_month(int year, int month)
{
    static constexpr int days[] = { 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31 };
    return month == 2 && is_leap(year) ? 29 : days[month - 1];
}

// Days from 1970-01-01 to a civil date (proleptic Gregorian).
std::int64_t days_from_civil(std::int64_t y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void civil_from_days(std::int64_t z, std::int64_t& y, unsigned& m, unsigned& d)
{
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y = static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2);
}

const std::int64_t days_1601_to_1970 = -days_from_civil(1601, 1, 1);

}

bool system_time_to_file_time(const SystemTime& t, FileTime& result)
{
    if (t.year < 1601 || t.year > 30827 || t.month < 1 || t.month > 12 || t.day < 1
        || t.day > days_in_month(t.year, t.month) || t.hour > 23 || t.minute > 59 || t.second > 59
        || t.milliseconds > 999)
        return false;
    const std::uint64_t days = static_cast<std::uint64_t>(days_from_civil(t.year, t.month, t.day) + days_1601_to_1970);
    const std::uint64_t ms = days * ms_per_day + ((t.hour * 60ULL + t.minute) * 60 + t.second) * 1000 + t.milliseconds;
    result = ms * ticks_per_ms;
    return true;
}

bool file_time_to_system_time(FileTime time, SystemTime& result)
{
    if (time >= 0x8000000000000000ULL)
        return false;
    const std::uint64_t ms = time / ticks_per_ms;
    const std::uint64_t days = ms / ms_per_day;
    std::uint64_t in_day = ms % ms_per_day;
    std::int64_t year;
    unsigned month, day;
    civil_from_days(static_cast<std::int64_t>(days) - days_1601_to_1970, year, month, day);
    SystemTime t;
    t.year = static_cast<std::uint16_t>(year);
    t.month = static_cast<std::uint16_t>(month);
    t.day = static_cast<std::uint16_t>(day);
    t.day_of_week = static_cast<std::uint16_t>((days + 1) % 7); // 1601-01-01 was a Monday
    t.milliseconds = static_cast<std::uint16_t>(in_day % 1000);
    in_day /= 1000;
    t.second = static_cast<std::uint16_t>(in_day % 60);
    in_day /= 60;
    t.minute = static_cast<std::uint16_t>(in_day % 60);
    t.hour = static_cast<std::uint16_t>(in_day / 60);
    result = t;
    return true;
}

}
