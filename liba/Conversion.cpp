#include "liba/Conversion.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>

namespace liba {

namespace {

// Windows-1252 bytes 0x80-0x9F; the five the code page leaves undefined map
// to the C1 control of the same number, as the platform's tables do.
constexpr std::array<char16_t, 32> cp1252_high = { 0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020,
    0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C,
    0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178 };

struct Composition {
    char16_t base;
    char16_t accent;
    unsigned char byte;
};

// Letter + combining accent pairs whose composed letter the code page holds.
constexpr Composition compositions[] = { { 0x0053, 0x030C, 0x8A }, { 0x005A, 0x030C, 0x8E },
    { 0x0073, 0x030C, 0x9A }, { 0x007A, 0x030C, 0x9E }, { 0x0059, 0x0308, 0x9F }, { 0x0041, 0x0300, 0xC0 },
    { 0x0041, 0x0301, 0xC1 }, { 0x0041, 0x0302, 0xC2 }, { 0x0041, 0x0303, 0xC3 }, { 0x0041, 0x0308, 0xC4 },
    { 0x0041, 0x030A, 0xC5 }, { 0x0043, 0x0327, 0xC7 }, { 0x0045, 0x0300, 0xC8 }, { 0x0045, 0x0301, 0xC9 },
    { 0x0045, 0x0302, 0xCA }, { 0x0045, 0x0308, 0xCB }, { 0x0049, 0x0300, 0xCC }, { 0x0049, 0x0301, 0xCD },
    { 0x0049, 0x0302, 0xCE }, { 0x0049, 0x0308, 0xCF }, { 0x004E, 0x0303, 0xD1 }, { 0x004F, 0x0300, 0xD2 },
    { 0x004F, 0x0301, 0xD3 }, { 0x004F, 0x0302, 0xD4 }, { 0x004F, 0x0303, 0xD5 }, { 0x004F, 0x0308, 0xD6 },
    { 0x0055, 0x0300, 0xD9 }, { 0x0055, 0x0301, 0xDA }, { 0x0055, 0x0302, 0xDB }, { 0x0055, 0x0308, 0xDC },
    { 0x0059, 0x0301, 0xDD }, { 0x0061, 0x0300, 0xE0 }, { 0x0061, 0x0301, 0xE1 }, { 0x0061, 0x0302, 0xE2 },
    { 0x0061, 0x0303, 0xE3 }, { 0x0061, 0x0308, 0xE4 }, { 0x0061, 0x030A, 0xE5 }, { 0x0063, 0x0327, 0xE7 },
    { 0x0065, 0x0300, 0xE8 }, { 0x0065, 0x0301, 0xE9 }, { 0x0065, 0x0302, 0xEA }, { 0x0065, 0x0308, 0xEB },
    { 0x0069, 0x0300, 0xEC }, { 0x0069, 0x0301, 0xED }, { 0x0069, 0x0302, 0xEE }, { 0x0069, 0x0308, 0xEF },
    { 0x006E, 0x0303, 0xF1 }, { 0x006F, 0x0300, 0xF2 }, { 0x006F, 0x0301, 0xF3 }, { 0x006F, 0x0302, 0xF4 },
    { 0x006F, 0x0303, 0xF5 }, { 0x006F, 0x0308, 0xF6 }, { 0x0075, 0x0300, 0xF9 }, { 0x0075, 0x0301, 0xFA },
    { 0x0075, 0x0302, 0xFB }, { 0x0075, 0x0308, 0xFC }, { 0x0079, 0x0301, 0xFD }, { 0x0079, 0x0308, 0xFF } };

char16_t ansi_char(unsigned char byte)
{
    return byte >= 0x80 && byte < 0xA0 ? cp1252_high[byte - 0x80] : static_cast<char16_t>(byte);
}

// The byte for one character, or 0 when the code page lacks it.
unsigned char ansi_byte(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<unsigned char>(c);
    for (size_t i = 0; i < cp1252_high.size(); ++i) {
        if (cp1252_high[i] == c)
            return static_cast<unsigned char>(0x80 + i);
    }
    return 0;
}

unsigned char composed_byte(char16_t base, char16_t accent)
{
    for (const auto& c : compositions) {
        if (c.base == base && c.accent == accent)
            return c.byte;
    }
    return 0;
}

bool is_high_surrogate(char16_t c)
{
    return c >= 0xD800 && c <= 0xDBFF;
}

bool is_low_surrogate(char16_t c)
{
    return c >= 0xDC00 && c <= 0xDFFF;
}

template<typename Char, typename Number>
bool format_number(Number value, std::basic_string<Char>& result)
{
    char buffer[32];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    result.assign(buffer, end);
    return true;
}

template<typename Char>
bool format_fixed(double value, std::basic_string<Char>& result)
{
    if (std::isnan(value)) {
        const char* text = std::signbit(value) ? "-nan" : "nan";
        result.assign(text, text + std::strlen(text));
        return true;
    }
    // The largest double needs 309 digits before the point.
    char buffer[400];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
    result.assign(buffer, end);
    return true;
}

}

bool is_space(char16_t c)
{
    return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680
        || (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F
        || c == 0x3000;
}

bool is_digit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

bool format_int(int value, std::string& result)
{
    return format_number(value, result);
}

bool format_long(long value, std::string& result)
{
    return format_number(value, result);
}

bool format_double(double value, std::string& result)
{
    return format_fixed(value, result);
}

bool format_int(int value, std::u16string& result)
{
    return format_number(value, result);
}

bool format_long(long value, std::u16string& result)
{
    return format_number(value, result);
}

bool format_double(double value, std::u16string& result)
{
    return format_fixed(value, result);
}

std::u16string number_text(std::int64_t value)
{
    std::u16string text;
    format_long(static_cast<long>(value), text);
    return text;
}

const char16_t* skip_spaces(const char16_t* begin, const char16_t* end)
{
    while (begin != end && is_space(*begin))
        ++begin;
    return begin;
}

const char16_t* parse_int(const char16_t* begin, const char16_t* end, int& value)
{
    const char16_t* p = skip_spaces(begin, end);
    if (p == end)
        return nullptr;
    bool negative = *p == u'-';
    if (*p == u'-' || *p == u'+') {
        if (++p == end)
            return nullptr;
    }
    if (!is_digit(*p)) {
        value = 0;
        return nullptr;
    }
    // Unsigned arithmetic wraps where a signed int would overflow.
    unsigned number = 0;
    for (; p != end && is_digit(*p); ++p)
        number = number * 10 + static_cast<unsigned>(*p - u'0');
    value = static_cast<int>(negative ? 0u - number : number);
    return p;
}

double scale_by_power_of_ten(double value, int power)
{
    return std::pow(10.0, power) * value;
}

const char16_t* parse_double(const char16_t* begin, const char16_t* end, double& value)
{
    const char16_t* p = skip_spaces(begin, end);
    if (p == end)
        return nullptr;
    bool negative = *p == u'-';
    if (*p == u'-' || *p == u'+')
        ++p;
    double number = 0;
    bool digits = false;
    for (; p != end && is_digit(*p); ++p, digits = true)
        number = number * 10 + (*p - u'0');
    if (p != end && *p == u'.') {
        ++p;
        double weight = 0.1;
        for (; p != end && is_digit(*p); ++p, digits = true) {
            number += (*p - u'0') * weight;
            weight *= 0.1;
        }
    }
    if (!digits) {
        value = 0;
        return nullptr;
    }
    if (p != end && (*p == u'e' || *p == u'E')) {
        int power = 0;
        p = parse_int(p + 1, end, power);
        if (!p)
            return nullptr;
        number = scale_by_power_of_ten(number, power);
    }
    value = negative ? -number : number;
    return p;
}

bool text_to_int(std::u16string_view text, int& value)
{
    return parse_int(text.data(), text.data() + text.size(), value) != nullptr;
}

const char16_t* read_word(std::u16string& word, const char16_t* begin, const char16_t* end)
{
    const char16_t* p = begin;
    while (p != end && !is_space(*p))
        ++p;
    word.assign(begin, p);
    return p;
}

const char16_t* read_line(std::u16string& line, const char16_t* begin, const char16_t* end)
{
    const char16_t* p = begin;
    while (p != end && *p != u'\r' && *p != u'\n')
        ++p;
    line.assign(begin, p);
    if (p == end)
        return p;
    char16_t first = *p++;
    if (p != end && (*p == u'\r' || *p == u'\n') && *p != first)
        ++p;
    return p;
}

bool ansi_to_wide(const char* bytes, std::size_t count, std::u16string& result)
{
    std::u16string text;
    text.reserve(count);
    for (size_t i = 0; i < count; ++i)
        text += ansi_char(static_cast<unsigned char>(bytes[i]));
    result = std::move(text);
    return true;
}

bool wide_to_ansi(const char16_t* chars, std::size_t count, std::string& result)
{
    std::string text;
    text.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        char16_t c = chars[i];
        if (i + 1 < count) {
            if (unsigned char composed = composed_byte(c, chars[i + 1])) {
                text += static_cast<char>(composed);
                ++i;
                continue;
            }
            // A pair of surrogates is one character, so one '?'.
            if (is_high_surrogate(c) && is_low_surrogate(chars[i + 1]))
                ++i;
        }
        unsigned char byte = ansi_byte(c);
        text += byte || c == 0 ? static_cast<char>(byte) : '?';
    }
    result = std::move(text);
    return true;
}

const char* narrow_to_wide(const char* begin, const char* end, std::u16string& result)
{
    return ansi_to_wide(begin, static_cast<size_t>(end - begin), result) ? end : nullptr;
}

const char16_t* wide_to_narrow(const char16_t* begin, const char16_t* end, std::string& result)
{
    return wide_to_ansi(begin, static_cast<size_t>(end - begin), result) ? end : nullptr;
}

bool narrow_string_to_wide(std::string_view text, std::u16string& result)
{
    return ansi_to_wide(text.data(), text.size(), result);
}

bool wide_string_to_narrow(std::u16string_view text, std::string& result)
{
    return wide_to_ansi(text.data(), text.size(), result);
}

std::u16string to_wide(std::string_view text)
{
    std::u16string result;
    narrow_string_to_wide(text, result);
    return result;
}

std::string to_narrow(std::u16string_view text)
{
    std::string result;
    wide_string_to_narrow(text, result);
    return result;
}

const char16_t* assign_range(std::u16string& target, const char16_t* begin, const char16_t* end)
{
    target.assign(begin, end);
    return end;
}

const char* assign_narrow_range(std::string& target, const char* begin, const char* end)
{
    target.assign(begin, end);
    return end;
}

void append_chars(std::string& target, std::size_t count, char c)
{
    target.append(count, c);
}

std::u16string& operator<<(std::u16string& target, int value)
{
    std::u16string text;
    format_int(value, text);
    return target += text;
}

std::u16string& operator<<(std::u16string& target, std::u16string_view text)
{
    return target += text;
}

std::string& operator<<(std::string& target, int value)
{
    std::string text;
    format_int(value, text);
    return target += text;
}

std::string& operator<<(std::string& target, const char16_t* text)
{
    return target += to_narrow(text ? std::u16string_view(text) : std::u16string_view());
}

std::string& operator<<(std::string& target, const char* text)
{
    return text ? target += text : target;
}

std::string& append_int_pair(std::string& target, int first, int second)
{
    return target << first << " " << second;
}

}
