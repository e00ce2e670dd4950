#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Text and number conversion. Wide text is UTF-16; 8-bit text is in the ANSI
// code page, Windows-1252. Nothing here depends on the C locale. Readers take
// a range [begin, end) and return the position after what they consumed, or
// null for failure; failures leave their output as it was unless told below.
namespace liba {

// Unicode white space (tab, line breaks, space, no-break space and the like).
bool is_space(char16_t c);
// Only '0' to '9'.
bool is_digit(char16_t c);

// "%d", "%ld" and "%f" (six digits after the point, no exponent). Always true.
bool format_int(int value, std::string& result);
bool format_long(long value, std::string& result);
bool format_double(double value, std::string& result);
bool format_int(int value, std::u16string& result);
bool format_long(long value, std::u16string& result);
bool format_double(double value, std::u16string& result);
// The value in decimal, as format_long writes it.
std::u16string number_text(std::int64_t value);

// White space, an optional sign, then digits; values beyond 32 bits wrap.
// An empty or blank range, or one that ends right after the sign, gives null
// and leaves the value alone; any other character where the first digit
// belongs gives null and sets the value to 0.
const char16_t* parse_int(const char16_t* begin, const char16_t* end, int& value);
// Like parse_int, with an optional fraction and an 'e' or 'E' exponent. At
// least one digit must stand before or after the point; a bad exponent fails
// the whole number and leaves the value alone.
const char16_t* parse_double(const char16_t* begin, const char16_t* end, double& value);
// pow(10, power) x value.
double scale_by_power_of_ten(double value, int power);
// parse_int over a whole string: true when a number was read.
bool text_to_int(std::u16string_view text, int& value);

const char16_t* skip_spaces(const char16_t* begin, const char16_t* end);
// Copies up to the first white space, which is not consumed.
const char16_t* read_word(std::u16string& word, const char16_t* begin, const char16_t* end);
// Copies up to the first CR or LF and consumes the break; CR LF and LF CR count as one.
const char16_t* read_line(std::u16string& line, const char16_t* begin, const char16_t* end);

// 8-bit to wide and back. Characters the code page cannot hold become '?';
// a base letter followed by a combining accent is first composed when the
// code page holds the composed letter.
bool ansi_to_wide(const char* bytes, std::size_t count, std::u16string& result);
bool wide_to_ansi(const char16_t* chars, std::size_t count, std::string& result);
// Range forms: the range's end, or null on failure.
const char* narrow_to_wide(const char* begin, const char* end, std::u16string& result);
const char16_t* wide_to_narrow(const char16_t* begin, const char16_t* end, std::string& result);
bool narrow_string_to_wide(std::string_view text, std::u16string& result);
bool wide_string_to_narrow(std::u16string_view text, std::string& result);
std::u16string to_wide(std::string_view text);
std::string to_narrow(std::u16string_view text);

const char16_t* assign_range(std::u16string& target, const char16_t* begin, const char16_t* end);
const char* assign_narrow_range(std::string& target, const char* begin, const char* end);
void append_chars(std::string& target, std::size_t count, char c);

// String building; each returns the target so that calls chain.
std::u16string& operator<<(std::u16string& target, int value);
std::u16string& operator<<(std::u16string& target, std::u16string_view text);
std::string& operator<<(std::string& target, int value);
std::string& operator<<(std::string& target, const char16_t* text);
std::string& operator<<(std::string& target, const char* text);
// "first second", as in a size written 320 240.
std::string& append_int_pair(std::string& target, int first, int second);

}
