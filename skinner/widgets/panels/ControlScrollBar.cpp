#include "skinner/widgets/panels/ControlScrollBar.h"

#include "liba/Utility.h"

#include <algorithm>
#include <cstdint>

namespace skinner {

namespace {

// Toward zero, kept inside 32 bits.
std::int32_t truncated(double value)
{
    return static_cast<std::int32_t>(liba::clamp(value, INT32_MIN, INT32_MAX));
}

std::int32_t clamped(std::int64_t value)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}

}

ControlScrollBar::Button::Button(ControlScrollBar& owner, std::u16string_view kind)
    : ControlButton(*owner.get_container(), kind, ControlMode::kind)
    , m_owner(owner)
{
    set_want_focus(false);
}

ControlScrollBar::Button::~Button() = default;

void ControlScrollBar::Button::on_pen_down(Point point, std::int32_t argument)
{
    m_repeat_countdown = 5;
    set_timer(m_repeat_period);
    m_grab_offset = { point.x - position().x, point.y - position().y };
    m_owner.step(*this);
    ControlButton::on_pen_down(point, argument);
}

void ControlScrollBar::Button::on_pen_up(Point point, std::int32_t argument)
{
    kill_timer();
    ControlButton::on_pen_up(point, argument);
}

void ControlScrollBar::Button::on_pen_move(Point point)
{
    ControlButton::on_pen_move(point);
    if (is_pressed())
        m_owner.drag(*this, { point.x - m_grab_offset.x, point.y - m_grab_offset.y });
}

void ControlScrollBar::Button::on_timer(std::uint32_t)
{
    if (!is_pressed())
        return;
    --m_repeat_countdown;
    if (m_repeat_countdown < 0 && is_enabled()) {
        m_repeat_countdown = -1;
        m_owner.step(*this);
    }
}

ControlScrollBar::ControlScrollBar(Container& container, std::u16string_view name, ControlMode mode)
    : ControlPanel(container, name, mode)
    , m_button_min(*this, get_property_string(u"KindMin", u""))
    , m_button_max(*this, get_property_string(u"KindMax", u""))
    , m_space_before(*this, get_property_string(u"KindSpace", u""))
    , m_space_after(*this, get_property_string(u"KindSpace", u""))
    , m_track(*this, get_property_string(u"KindTrack", u""))
{
    load_bar();
    set_position(m_position, true);
    set_rect(position(), size());
}

ControlScrollBar::~ControlScrollBar() = default;

void ControlScrollBar::load()
{
    ControlPanel::load();
    load_bar();
    set_position(m_position, true);
}

void ControlScrollBar::load_bar()
{
    const std::int32_t min_button = get_property_int_scaled(u"MinButtonSize", 0);
    const std::int32_t max_button = get_property_int_scaled(u"MaxButtonSize", 0);
    m_min_button_size = { min_button, min_button };
    m_max_button_size = { max_button, max_button };
    m_min = get_property_int(u"Min", 0);
    m_max = get_property_int(u"Max", 0);
    m_page = get_property_int(u"Page", 1);
    m_vertical = get_property_int(u"Vertical", 0) != 0;
}

void ControlScrollBar::set_position(std::int32_t position, bool forced)
{
    m_max = std::max(m_max, m_min);
    m_page = static_cast<std::int32_t>(std::clamp<std::int64_t>(m_page, 0, std::int64_t { m_max } - m_min));
    const std::int32_t p
        = clamped(std::min<std::int64_t>(std::max(position, m_min), std::int64_t { m_max } - m_page));
    if (p != m_position) {
        m_position = p;
        notify_scroll();
        set_rect(this->position(), size());
    } else if (forced) {
        set_rect(this->position(), size());
    }
}

void ControlScrollBar::set_range(std::int32_t min, std::int32_t max)
{
    if (min == m_min && max == m_max)
        return;
    m_min = min;
    m_max = max;
    set_position(m_position, true);
    invalidate();
}

void ControlScrollBar::set_page(std::int32_t page)
{
    if (page == m_page)
        return;
    m_page = page;
    set_position(m_position, true);
}

void ControlScrollBar::notify_scroll()
{
    on_scroll(*this, m_position);
}

void ControlScrollBar::on_wheel(Point, std::int32_t steps)
{
    if (!is_enabled())
        return;
    set_position(clamped(std::int64_t { m_position } - std::int64_t { m_step } * steps));
}

void ControlScrollBar::step(const Button& button)
{
    std::int64_t change = 0;
    if (&button == &m_button_min)
        change = -std::int64_t { m_step };
    else if (&button == &m_button_max)
        change = m_step;
    else if (&button == &m_space_before)
        change = -std::int64_t { m_page };
    else if (&button == &m_space_after)
        change = m_page;
    else
        return;
    set_position(clamped(m_position + change));
}

void ControlScrollBar::drag(const Button& button, Point wanted)
{
    if (&button != &m_track)
        return;
    const Size t = m_track.get_pictures().normal.picture.get_size();
    const std::int64_t travel = m_vertical
        ? std::int64_t { size().height } - m_min_button_size.height - m_max_button_size.height - t.height
        : std::int64_t { size().width } - m_min_button_size.width - m_max_button_size.width - t.width;
    const std::int64_t offset = m_vertical
        ? std::int64_t { wanted.y } - m_min_button_size.height - position().y
        : std::int64_t { wanted.x } - m_min_button_size.width - position().x;
    const double f = travel == 0 ? 0.0 : liba::clamp(double(offset) / double(travel), 0.0, 1.0);
    set_position(clamped(m_min + std::int64_t { truncated((double(m_max) - m_min) * f) }));
}

void ControlScrollBar::set_rect(Point at, Size extent)
{
    set_rect_no_layout(at, extent);
    double f_pos = 0.0, f_page = 1.0;
    if (m_max != m_min) {
        const double range = double(m_max) - m_min;
        f_pos = (double(m_position) - m_min) / range;
        f_page = m_page / range;
    }
    const Size t = m_track.get_pictures().normal.picture.get_size();
    const auto [x, y] = at;
    const auto [w, h] = extent;
    Point before_at {}, track_at {}, after_at {}, max_at {}, min_at {};
    Size before_size {}, after_size {};
    m_track_size = {};
    if (m_vertical && h >= 1) {
        m_min_button_size = { w, m_min_button_size.height };
        m_max_button_size = { w, m_max_button_size.height };
        const std::int32_t min_h = m_min_button_size.height, max_h = m_max_button_size.height;
        max_at = { x, y + h - max_h };
        min_at = { x, y };
        const std::int32_t avail = std::max(h - max_h - t.height - min_h, 0);
        const std::int32_t top = truncated(avail * f_pos + min_h + y);
        before_at = { x, y + min_h };
        before_size = { w, top - (y + min_h) };
        const std::int32_t lower = truncated((1 - f_pos - f_page) * avail);
        track_at = { x, top };
        m_track_size = { w, (y + h - max_h) - lower - top };
        after_at = { x, y + h - max_h - lower };
        after_size = { w, lower };
    } else if (!m_vertical && w >= 1) {
        m_min_button_size = { m_min_button_size.width, h };
        m_max_button_size = { m_max_button_size.width, h };
        const std::int32_t min_w = m_min_button_size.width, max_w = m_max_button_size.width;
        max_at = { x + w - max_w, y };
        min_at = { x, y };
        const std::int32_t avail = std::max(w - max_w - min_w - t.width, 0);
        const std::int32_t left = truncated(avail * f_pos + min_w + x);
        before_at = { x + min_w, y };
        before_size = { left - (x + min_w), h };
        const std::int32_t lower = truncated((1 - f_pos - f_page) * avail);
        track_at = { left, y };
        m_track_size = { (x + w - max_w) - lower - left, h };
        after_at = { x + w - max_w - lower, y };
        after_size = { lower, h };
    }
    m_button_min.set_rect(min_at, m_min_button_size);
    m_button_max.set_rect(max_at, m_max_button_size);
    m_space_before.set_rect(before_at, before_size);
    m_track.set_rect(track_at, m_track_size);
    m_space_after.set_rect(after_at, after_size);
}

}
