#include "skinner/graphics/Font.h"

#include "platform/ui/DeviceContext.h"

namespace skinner {

Font::Font(std::uint32_t scale)
    : m_scale(scale)
{
}

void Font::set_description(const std::u16string& description)
{
    // Looked up before the old entry goes, so setting the same description keeps its font.
    m_entry = find_font(description, m_scale);
}

Size measure_text(const Font& font, std::u16string_view text)
{
    const platform::Font* platform_font = font.platform_font();
    if (!platform_font)
        return {};
    platform::DeviceContext dc = platform::DeviceContext::for_screen();
    dc.select_font(platform_font);
    platform::Rect rect { 0, 0, 1, 1 };
    const int height
        = dc.draw_text(text, rect, platform::dt::calc_rect | platform::dt::no_prefix | platform::dt::vcenter);
    return { rect.right, height };
}

std::int32_t widest_digits_width(const Font& font, std::u16string_view pattern)
{
    char16_t widest = u'0';
    std::int32_t widest_width = -1;
    for (char16_t digit = u'0'; digit <= u'9'; ++digit) {
        const std::int32_t width = measure_text(font, std::u16string_view(&digit, 1)).width;
        if (width > widest_width) {
            widest = digit;
            widest_width = width;
        }
    }
    std::u16string text(pattern);
    for (char16_t& c : text)
        if (c == u'0')
            c = widest;
    return measure_text(font, text).width;
}

}
