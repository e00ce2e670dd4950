#include "skinner/graphics/Canvas.h"

#include "skinner/graphics/Font.h"

#include <string>

namespace skinner {

namespace {

constexpr char16_t ellipsis = u'\u2026';

std::uint32_t alignment_flags(std::int32_t horizontal, std::int32_t vertical)
{
    static constexpr std::uint32_t horizontal_flags[]
        = { platform::dt::left, platform::dt::center, platform::dt::right };
    static constexpr std::uint32_t vertical_flags[]
        = { platform::dt::top, platform::dt::vcenter, platform::dt::bottom };
    const auto pick = [](const std::uint32_t(&flags)[3], std::int32_t index) {
        return index >= 0 && index < 3 ? flags[index] : flags[0];
    };
    return pick(horizontal_flags, horizontal) | pick(vertical_flags, vertical);
}

bool is_high_surrogate(char16_t c)
{
    return c >= 0xD800 && c < 0xDC00;
}

bool is_low_surrogate(char16_t c)
{
    return c >= 0xDC00 && c < 0xE000;
}

// The most characters n, searched by halving, for which width(n) plus the
// ellipsis stays below the limit; 0 when none does.
template<class Width>
std::size_t longest_fitting(std::size_t length, std::int32_t ellipsis_width, std::int32_t limit, Width width)
{
    std::size_t lo = 0, hi = length;
    for (;;) {
        const std::size_t mid = (hi + lo) / 2;
        if (std::int64_t { width(mid) } + ellipsis_width >= limit) {
            if (hi == mid)
                break;
            hi = mid;
        } else {
            if (lo == mid)
                break;
            lo = mid;
        }
    }
    return lo;
}

// The text, or when it is not narrower than the width, the most of its start
// (or of its end) that fits beside the ellipsis, with the ellipsis after (or
// before) it. A cut never splits a surrogate pair.
std::u16string shortened(const Font& font, std::u16string_view text, std::int32_t width, bool keep_end)
{
    if (text.empty() || measure_text(font, text).width < width)
        return std::u16string(text);
    const auto part
        = [&](std::size_t n) { return keep_end ? text.substr(text.size() - n) : text.substr(0, n); };
    const std::int32_t ellipsis_width = measure_text(font, std::u16string_view(&ellipsis, 1)).width;
    std::size_t keep = longest_fitting(
        text.size(), ellipsis_width, width, [&](std::size_t n) { return measure_text(font, part(n)).width; });
    if (keep > 0
        && (keep_end ? is_low_surrogate(text[text.size() - keep]) : is_high_surrogate(text[keep - 1])))
        --keep;
    return keep_end ? ellipsis + std::u16string(part(keep)) : std::u16string(part(keep)) + ellipsis;
}

}

void Canvas::fill_rect(Point position, Size size, Color color)
{
    dc().fill_rect(platform::Rect::from(position, size), color_ref(color));
}

void Canvas::draw_polyline(Point from, Point to, Color color)
{
    const platform::Point points[] = { from, to };
    dc().polyline(points, color_ref(color));
}

void Canvas::draw_text(const Font& font, Color color, std::u16string_view text, Point position, Size size,
    std::int32_t horizontal, std::int32_t vertical)
{
    const platform::Font* platform_font = font.platform_font();
    if (!platform_font)
        return;
    platform::DeviceContext& context = dc();
    const platform::ColorRef old_color = context.set_text_color(color_ref(color));
    const int old_mode = context.set_background_mode(platform::transparent_background);
    const platform::Font* old_font = context.select_font(platform_font);
    platform::Rect rect = platform::Rect::from(position, size);
    context.draw_text(text, rect,
        alignment_flags(horizontal, vertical) | platform::dt::single_line | platform::dt::no_prefix);
    context.select_font(old_font);
    context.set_background_mode(old_mode);
    context.set_text_color(old_color);
}

void Canvas::draw_text_ellipsis(const Font& font, Color color, std::u16string_view text, Point position,
    Size size, std::int32_t horizontal, std::int32_t vertical)
{
    draw_text(font, color, shortened(font, text, size.width, false), position, size, horizontal, vertical);
}

void Canvas::draw_text_ellipsis_start(const Font& font, Color color, std::u16string_view text, Point position,
    Size size, std::int32_t horizontal, std::int32_t vertical)
{
    draw_text(font, color, shortened(font, text, size.width, true), position, size, horizontal, vertical);
}

}
