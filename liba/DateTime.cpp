#include "liba/DateTime.h"

#include "liba/Conversion.h"

namespace liba {

namespace {

bool fits(int value) { return value >= 0 && value <= 0xFFFF; }

void append_two_digits(std::string& result, int value)
{
    result += static_cast<char>('0' + value / 10 % 10);
    result += static_cast<char>('0' + value % 10);
}

// Year, month, day, hour, minute and second, each after optional white space.
const char16_t* read_fields(const char16_t* begin, const char16_t* end, int (&fields)[6])
{
    for (int& field : fields) {
        begin = parse_int(begin, end, field);
        if (!begin)
            return nullptr;
    }
    return begin;
}

}

DateTime::DateTime() = default;

DateTime::DateTime(const platform::SystemTime& time)
{
    set_date(time.year, time.month, time.day);
    set_time(time.hour, time.minute, time.second);
}

DateTime DateTime::now()
{
    DateTime result;
    result.set_system_time(platform::local_time());
    return result;
}

bool DateTime::set_system_time(const platform::SystemTime& time)
{
    m_time = time;
    return platform::system_time_to_file_time(time, m_file_time);
}

bool DateTime::set_file_time(platform::FileTime time)
{
    if (!platform::file_time_to_system_time(time, m_time))
        return false;
    m_file_time = time;
    return true;
}

bool DateTime::set_date(int year, int month, int day)
{
    if (!fits(year) || !fits(month) || !fits(day))
        return false;
    platform::SystemTime time = m_time;
    time.year = static_cast<std::uint16_t>(year);
    time.month = static_cast<std::uint16_t>(month);
    time.day = static_cast<std::uint16_t>(day);
    return set_system_time(time);
}

bool DateTime::set_time(int hour, int minute, int second)
{
    if (!fits(hour) || !fits(minute) || !fits(second))
        return false;
    platform::SystemTime time = m_time;
    time.hour = static_cast<std::uint16_t>(hour);
    time.minute = static_cast<std::uint16_t>(minute);
    time.second = static_cast<std::uint16_t>(second);
    return set_system_time(time);
}

bool DateTime::to_string(std::string& result) const
{
    std::string year;
    format_int(m_time.year, year);
    result += year;
    for (int field : { m_time.month, m_time.day, m_time.hour, m_time.minute, m_time.second }) {
        result += ' ';
        append_two_digits(result, field);
    }
    return true;
}

const char16_t* DateTime::parse(const char16_t* begin, const char16_t* end)
{
    int fields[6];
    begin = read_fields(begin, end, fields);
    if (!begin)
        return nullptr;
    set_date(fields[0], fields[1], fields[2]);
    set_time(fields[3], fields[4], fields[5]);
    return begin;
}

bool DateTime::to_text(const DateTime& time, std::u16string& result)
{
    std::string text;
    if (!time.to_string(text))
        return false;
    result = to_wide(text);
    return true;
}

bool DateTime::from_text(std::u16string_view text, DateTime& time)
{
    int fields[6];
    if (!read_fields(text.data(), text.data() + text.size(), fields))
        return false;
    for (int field : fields) {
        if (!fits(field))
            return false;
    }
    platform::SystemTime broken_down;
    broken_down.year = static_cast<std::uint16_t>(fields[0]);
    broken_down.month = static_cast<std::uint16_t>(fields[1]);
    broken_down.day = static_cast<std::uint16_t>(fields[2]);
    broken_down.hour = static_cast<std::uint16_t>(fields[3]);
    broken_down.minute = static_cast<std::uint16_t>(fields[4]);
    broken_down.second = static_cast<std::uint16_t>(fields[5]);
    // An impossible date is refused whole: kept, it would show one date and
    // compare as another. Going through the file time fills in the weekday.
    DateTime parsed;
    if (!parsed.set_system_time(broken_down) || !parsed.set_file_time(parsed.file_time()))
        return false;
    time = parsed;
    return true;
}

}
