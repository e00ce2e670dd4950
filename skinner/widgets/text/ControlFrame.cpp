#include "skinner/widgets/text/ControlFrame.h"

#include "skinner/core/Alignment.h"
#include "skinner/graphics/Canvas.h"

#include <algorithm>

namespace skinner {

namespace {

constexpr char16_t ellipsis_character = u'\u2026';

// Every occurrence of what replaced; the inserted text is not searched again.
std::u16string replace_all(std::u16string_view text, std::u16string_view what, std::u16string_view with)
{
    if (what.empty())
        return std::u16string(text);
    std::u16string out;
    std::size_t start = 0;
    for (std::size_t at = text.find(what); at != std::u16string_view::npos; at = text.find(what, start)) {
        out.append(text.substr(start, at - start)).append(with);
        start = at + what.size();
    }
    out.append(text.substr(start));
    return out;
}

}

ControlFrame::ControlFrame(Container& container, std::u16string_view name, ControlMode mode)
    : Control(container, name, mode)
{
    set_want_focus(false);
    load_frame();
}

ControlFrame::~ControlFrame() = default;

void ControlFrame::load()
{
    Control::load();
    load_frame();
}

void ControlFrame::load_frame()
{
    m_border_min = get_property_point(u"BorderMin", {});
    m_border_max = get_property_point(u"BorderMax", m_border_min);
    m_h_alignment = align_center;
    m_v_alignment = align_vcenter;
    parse_h_alignment(get_property_string(u"HAlignment", u""), m_h_alignment);
    parse_v_alignment(get_property_string(u"VAlignment", u""), m_v_alignment);
    m_picture = get_property_picture(u"Normal", m_picture);
    m_font = get_property_font(u"Normal", {});
    m_color = get_property_color(u"Normal", m_color);
    const std::u16string text = get_property_string(u"Text", m_text);
    if (text != m_text) {
        m_text = text;
        m_markers_expanded = false;
    }
    m_wrap = get_property_int(u"Wrap", 0) != 0;
    m_auto_size = get_property_int(u"AutoSize", 0) != 0;
    m_ellipsis = get_property_int(u"Ellipsis", 0) != 0;
    update_text_layout(m_text);
}

void ControlFrame::set_text(std::u16string_view text)
{
    if (text == m_text && !m_markers_expanded)
        return;
    store_text(text, false);
}

void ControlFrame::set_text_with_values(std::u16string_view text, std::initializer_list<TextValue> values)
{
    // Markers only break lines in a wrapping frame; elsewhere they stay text.
    std::u16string message = m_wrap ? replace_all(text, m_break_marker, u"\n") : std::u16string(text);
    for (const TextValue& v : values)
        message = replace_all(message, v.placeholder, v.value);
    if (message == m_text && m_markers_expanded == m_wrap)
        return;
    store_text(message, m_wrap);
}

void ControlFrame::store_text(std::u16string_view text, bool markers_expanded)
{
    m_text = text;
    m_markers_expanded = markers_expanded;
    update_text_layout(m_text);
    invalidate();
}

void ControlFrame::set_picture(const Picture& picture)
{
    m_picture = picture;
    invalidate();
}

void ControlFrame::update_text_layout(std::u16string_view text)
{
    m_lines.clear();
    if (!m_wrap) {
        m_lines.emplace_back(text);
    } else {
        const std::int32_t client_width = size().width - m_border_min.x - m_border_max.x;
        std::size_t start = 0, last_blank = 0;
        // A line ends at the last blank before the text grows wider than the frame.
        const auto soft_break = [&](std::size_t at) {
            if (last_blank > start
                && measure_text(m_font, text.substr(start, at - start)).width > client_width) {
                m_lines.emplace_back(text.substr(start, last_blank - start));
                start = last_blank = last_blank + 1;
            }
        };
        const auto hard_break = [&](std::size_t at) {
            soft_break(at);
            if (start <= at)
                m_lines.emplace_back(text.substr(start, at - start));
            start = last_blank = at + 1;
        };
        const std::u16string_view marker = m_markers_expanded ? std::u16string_view() : m_break_marker;
        std::size_t i = 0;
        while (i < text.size()) {
            if (text[i] < 33) {
                soft_break(i);
                last_blank = i;
                if (text[i] == u'\n')
                    hard_break(i);
            } else if (!marker.empty() && text.substr(i).starts_with(marker)) {
                hard_break(i);
                start = last_blank = i + marker.size();
                i = start;
                continue;
            }
            ++i;
        }
        hard_break(text.size());
        break_long_words(client_width);
    }
    m_preferred = {};
    if (m_auto_size)
        for (const std::u16string& line : m_lines) {
            const Size measured = measure_text(m_font, line);
            m_preferred.width = std::max(m_preferred.width, measured.width);
            m_preferred.height += measured.height;
        }
    m_preferred.width += m_border_min.x + m_border_max.x;
    m_preferred.height += m_border_min.y + m_border_max.y;
}

// A word wider than the frame (a path, say) is broken where it fits: after its
// last separator that fits, else after its last character that fits, so that
// the end of the word - a file's name - is shown too.
void ControlFrame::break_long_words(std::int32_t client_width)
{
    if (client_width <= 0)
        return;
    std::vector<std::u16string> lines;
    for (std::u16string& line : m_lines) {
        std::u16string_view rest(line);
        while (rest.size() > 1 && measure_text(m_font, rest).width > client_width) {
            std::size_t fits = 1;
            while (fits < rest.size() && measure_text(m_font, rest.substr(0, fits + 1)).width <= client_width)
                ++fits;
            const std::size_t separator = rest.substr(0, fits).find_last_of(u"/\\ ");
            const std::size_t cut = separator != std::u16string_view::npos && separator > 0 ? separator + 1 : fits;
            lines.emplace_back(rest.substr(0, cut));
            rest.remove_prefix(cut);
        }
        lines.emplace_back(rest);
    }
    m_lines = std::move(lines);
}

Size ControlFrame::get_preferred_size() const
{
    const Size skin = Control::get_preferred_size();
    return { std::max(m_preferred.width, skin.width), std::max(m_preferred.height, skin.height) };
}

void ControlFrame::paint(Canvas& canvas, Point area_position, Size area_size)
{
    m_picture.draw(canvas, position(), size());
    if (m_lines.size() == 1) {
        Point at { position().x + m_border_min.x, position().y + m_border_min.y };
        Size box { size().width - m_border_min.x - m_border_max.x,
            size().height - m_border_min.y - m_border_max.y };
        if (m_v_alignment == align_vcenter) {
            const std::int32_t grow = std::min(m_border_min.y, m_border_max.y);
            at.y -= grow;
            box.height += 2 * grow;
        }
        if (m_ellipsis)
            canvas.draw_text_ellipsis(
                m_font, m_color, m_lines.front(), at, box, m_h_alignment, m_v_alignment);
        else
            canvas.draw_text(m_font, m_color, m_lines.front(), at, box, m_h_alignment, m_v_alignment);
    } else {
        canvas.push_clip(position(), size());
        paint_lines(canvas);
        canvas.pop_clip();
    }
    Control::paint(canvas, area_position, area_size);
}

void ControlFrame::paint_lines(Canvas& canvas)
{
    std::vector<std::int32_t> heights;
    std::int64_t total = 0;
    for (const std::u16string& line : m_lines) {
        heights.push_back(measure_text(m_font, line).height);
        total += heights.back();
    }
    const std::int64_t height = size().height;
    std::int64_t top = m_border_min.y;
    if (m_v_alignment == align_vcenter)
        top = m_border_min.y + std::max<std::int64_t>((height - total) / 2, 0);
    else if (m_v_alignment == align_bottom)
        top = height - m_border_max.y - total;
    const std::int64_t bottom = height - m_border_max.y;
    const std::int32_t left = position().x + m_border_min.x;
    const std::int32_t width = size().width - m_border_min.x - m_border_max.x;
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        if (heights[i] > bottom - top) {
            if (m_ellipsis)
                canvas.draw_text(m_font, m_color, std::u16string_view(&ellipsis_character, 1),
                    { left, static_cast<std::int32_t>(position().y + bottom - heights[i]) },
                    { width, heights[i] }, m_h_alignment, align_top);
            break;
        }
        canvas.draw_text(m_font, m_color, m_lines[i], { left, static_cast<std::int32_t>(position().y + top) },
            { width, static_cast<std::int32_t>(bottom - top) }, m_h_alignment, align_top);
        top += heights[i];
    }
}

}
