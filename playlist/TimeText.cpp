#include "playlist/TimeText.h"

#include "liba/Conversion.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace playlist {

std::int64_t scale_and_truncate(double value, double scale)
{
    double x = value * scale;
    if (std::isnan(x))
        return 0;
    double nearest = std::round(x);
    x = std::fabs(x - nearest) <= std::max(1e-6, std::fabs(x) * 1e-12) ? nearest : std::trunc(x);
    // 2^63 is exact in a double; anything from there on does not fit.
    constexpr double limit = 9223372036854775808.0;
    if (x >= limit)
        return std::numeric_limits<std::int64_t>::max();
    if (x < -limit)
        return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(x);
}

std::u16string scaled_int_text(double value, double scale)
{
    std::int64_t n = std::clamp<std::int64_t>(
        scale_and_truncate(value, scale), std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    std::u16string text;
    liba::format_int(static_cast<int>(n), text);
    return text;
}

std::u16string scaled_long_text(double value, double scale)
{
    std::u16string text;
    liba::format_long(static_cast<long>(scale_and_truncate(value, scale)), text);
    return text;
}

bool parse_number(std::u16string_view text, double& value)
{
    const char16_t* end = text.data() + text.size();
    if (liba::skip_spaces(text.data(), end) == end)
        return false;
    liba::parse_double(text.data(), end, value);
    return true;
}

std::u16string_view without_unit(std::u16string_view text)
{
    if (!text.empty() && !liba::is_digit(text.back()))
        text.remove_suffix(1);
    return text;
}

}
