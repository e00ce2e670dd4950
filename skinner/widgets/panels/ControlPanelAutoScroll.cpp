#include "skinner/widgets/panels/ControlPanelAutoScroll.h"

namespace skinner {

ControlPanelAutoScroll::ControlPanelAutoScroll(
    Container& container, std::u16string_view name, ControlMode mode, Properties* properties)
    : ControlPanel(container, name, mode, properties)
    , m_vscroll(*get_container(), get_property_string(u"KindScroll", u""), ControlMode::kind)
    , m_hscroll(*get_container(), get_property_string(u"KindHScroll", u""), ControlMode::kind)
{
    m_vscroll.set_want_focus(false);
    m_hscroll.set_want_focus(false);
    load_scrolling();
}

ControlPanelAutoScroll::~ControlPanelAutoScroll() = default;

void ControlPanelAutoScroll::load()
{
    ControlPanel::load();
    load_scrolling();
}

void ControlPanelAutoScroll::load_scrolling()
{
    m_scroll_width = get_property_int_scaled(u"ScrollWidth", 0);
    m_scroll_height = get_property_int_scaled(u"ScrollHeight", m_scroll_width);
    m_border_min = get_property_point(u"BorderMin", {});
    m_border_max = get_property_point(u"BorderMax", m_border_min);
    m_scroll_border_min = get_property_point(u"ScrollBorderMin", {});
    m_scroll_border_max = get_property_point(u"ScrollBorderMax", m_scroll_border_min);
}

void ControlPanelAutoScroll::update_scroll_layout(Control& content, Size content_size)
{
    const auto [x, y] = position();
    const auto [w, h] = size();
    m_client_position = { x + m_border_min.x, y + m_border_min.y };
    m_client_size = { w - m_border_min.x - m_border_max.x, h - m_border_min.y - m_border_max.y };
    const std::int32_t vertical_room = m_scroll_border_max.x + m_scroll_border_min.x + m_scroll_width;
    const std::int32_t horizontal_room = m_scroll_border_max.y + m_scroll_border_min.y + m_scroll_height;
    bool vertical = false, horizontal = false;
    if (content_size.height > m_client_size.height) {
        vertical = true;
        m_client_size.width -= vertical_room;
    }
    if (content_size.width > m_client_size.width) {
        horizontal = true;
        m_client_size.height -= horizontal_room;
    }
    // The horizontal bar may have taken the room the content needed in height.
    if (!vertical && content_size.height > m_client_size.height) {
        vertical = true;
        m_client_size.width -= vertical_room;
    }
    content.set_rect(m_client_position, m_client_size);
    m_vscroll.set_visible(vertical);
    m_hscroll.set_visible(horizontal);
}

void ControlPanelAutoScroll::place_scroll_bars()
{
    const auto [cx, cy] = m_client_position;
    const auto [cw, ch] = m_client_size;
    m_vscroll.set_rect({ cx + cw + m_scroll_border_min.x, cy + m_scroll_border_min.y },
        { m_scroll_width, ch - m_scroll_border_max.y - m_scroll_border_min.y });
    m_hscroll.set_rect({ cx + m_scroll_border_min.x, cy + ch + m_scroll_border_min.y },
        { cw - m_scroll_border_min.x - m_scroll_border_max.x, m_scroll_height });
}

}
