#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Times in playlist files: whole numbers of some unit, truncated toward zero.
namespace playlist {

// value x scale, truncated toward zero and clamped to 64 bits (NaN gives 0).
// A product within rounding error of a whole number counts as that number,
// so that 1.001 s written in milliseconds stays 1001 and a list read and
// saved again keeps its times.
std::int64_t scale_and_truncate(double value, double scale);
// The same, clamped to 32 bits, as "%d".
std::u16string scaled_int_text(double value, double scale);
// The same in 64 bits.
std::u16string scaled_long_text(double value, double scale);

// A number as liba::parse_double reads it, trailing text ignored; a text
// that does not begin with a number gives 0. Blank text gives false and
// leaves the value alone.
bool parse_number(std::u16string_view text, double& value);
// Drops a final unit character; a final digit stays, so that the program's
// own "215000" is not read as 21500.
std::u16string_view without_unit(std::u16string_view text);

}
