#include "skinner/widgets/text/ControlLCD.h"

#include "skinner/core/Alignment.h"
#include "skinner/graphics/Canvas.h"

#include <algorithm>

namespace skinner {

namespace {

// The characters that have a glyph key, and the key's name after "Symbol".
std::vector<std::pair<char16_t, std::u16string>> glyph_keys()
{
    std::vector<std::pair<char16_t, std::u16string>> keys;
    for (const auto& [first, last] : { std::pair { u'a', u'z' }, { u'A', u'Z' }, { u'0', u'9' } })
        for (char16_t c = first; c <= last; ++c)
            keys.emplace_back(c, std::u16string(1, c));
    static constexpr std::pair<char16_t, std::u16string_view> named[] = {
        { u',', u"Comma" },
        { u':', u"Colon" },
        { u'.', u"Dot" },
        { u'-', u"Dash" },
        { u' ', u"Space" },
    };
    for (const auto& [c, name] : named)
        keys.emplace_back(c, std::u16string(name));
    return keys;
}

}

ControlLCD::ControlLCD(Container& container, std::u16string_view name, ControlMode mode)
    : Control(container, name, mode)
{
    set_want_focus(false);
    load_lcd();
}

ControlLCD::~ControlLCD() = default;

void ControlLCD::load()
{
    Control::load();
    load_lcd();
}

void ControlLCD::load_lcd()
{
    parse_h_alignment(get_property_string(u"HAlignment", u""), m_h_alignment);
    m_text = get_property_string(u"Text", m_text);
    static const auto keys = glyph_keys();
    for (const auto& [c, name] : keys)
        m_glyphs[c] = get_property_picture(u"Symbol" + name, {});
    lay_out_text();
}

void ControlLCD::set_text(std::u16string_view text)
{
    if (text == m_text)
        return;
    m_text = text;
    lay_out_text();
    invalidate();
}

Size ControlLCD::line_size(std::u16string_view line) const
{
    Size size;
    for (char16_t c : line)
        if (const auto glyph = m_glyphs.find(c); glyph != m_glyphs.end()) {
            const Size s = glyph->second.get_size();
            size.width += s.width;
            size.height = std::max(size.height, s.height);
        }
    return size;
}

void ControlLCD::lay_out_text()
{
    m_lines.clear();
    std::size_t start = 0;
    for (std::size_t end = m_text.find(u'\n'); end != std::u16string::npos; end = m_text.find(u'\n', start)) {
        m_lines.push_back(m_text.substr(start, end - start));
        start = end + 1;
    }
    m_lines.push_back(m_text.substr(start));
    m_text_size = {};
    for (const std::u16string& line : m_lines) {
        const Size s = line_size(line);
        m_text_size.width = std::max(m_text_size.width, s.width);
        m_text_size.height += s.height;
    }
}

Size ControlLCD::get_preferred_size() const
{
    const Size skin = Control::get_preferred_size();
    return { std::max(m_text_size.width, skin.width), std::max(m_text_size.height, skin.height) };
}

void ControlLCD::paint(Canvas& canvas, Point, Size)
{
    canvas.push_clip(position(), size());
    std::int32_t y = position().y;
    for (const std::u16string& line : m_lines) {
        const Size s = line_size(line);
        std::int32_t x = position().x;
        if (m_h_alignment == align_center)
            x += (size().width - s.width) / 2;
        else if (m_h_alignment == align_right)
            x += size().width - s.width;
        for (char16_t c : line)
            if (const auto glyph = m_glyphs.find(c); glyph != m_glyphs.end()) {
                const Size g = glyph->second.get_size();
                glyph->second.draw(canvas, { x, y }, g);
                x += g.width;
            }
        y += s.height;
    }
    canvas.pop_clip();
}

}
