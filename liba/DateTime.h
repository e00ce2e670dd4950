#pragma once

#include "platform/core/Clock.h"

#include <string>
#include <string_view>

namespace liba {

// A local date and time, kept both broken down and as a file time so that it
// can be shown field by field and compared exactly (milliseconds count).
class DateTime {
public:
    // 1601-01-01 00:00:00.000, file time 0.
    DateTime();
    // The date and time of day of the record; its milliseconds are not taken.
    explicit DateTime(const platform::SystemTime& time);

    static DateTime now();

    void assign(const DateTime& other) { *this = other; }
    // Takes every field. An impossible date or time (before 1601, say) keeps
    // the previous file time and returns false.
    bool set_system_time(const platform::SystemTime& time);
    bool set_file_time(platform::FileTime time);
    // Replace those fields and keep the others; the day of week is not
    // recomputed. False when refused as above, or beyond 16 bits (unchanged).
    bool set_date(int year, int month, int day);
    bool set_time(int hour, int minute, int second);

    int year() const { return m_time.year; }
    int month() const { return m_time.month; }
    int day() const { return m_time.day; }
    int hour() const { return m_time.hour; }
    int minute() const { return m_time.minute; }
    int second() const { return m_time.second; }
    const platform::SystemTime& system_time() const { return m_time; }
    platform::FileTime file_time() const { return m_file_time; }

    bool is_before(const DateTime& other) const { return m_file_time < other.m_file_time; }
    bool is_after(const DateTime& other) const { return m_file_time > other.m_file_time; }
    bool is_equal(const DateTime& other) const { return m_file_time == other.m_file_time; }

    // Appends the text form, e.g. "2006 05 17 08 30 00".
    bool to_string(std::string& result) const;
    // Reads six integers, year to second, applied without a range test; null
    // when one is missing, and then the value is unchanged.
    const char16_t* parse(const char16_t* begin, const char16_t* end);

    // The text form as a wide string, replacing the result.
    static bool to_text(const DateTime& time, std::u16string& result);
    // Parses the text form. False, with the time unchanged, when a number is
    // missing or the six numbers are no possible date and time.
    static bool from_text(std::u16string_view text, DateTime& time);

private:
    platform::SystemTime m_time;
    platform::FileTime m_file_time { 0 };
};

}
