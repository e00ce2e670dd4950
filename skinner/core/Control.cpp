#include "skinner/core/Control.h"

#include "skinner/core/Container.h"
#include "skinner/core/Form.h"
#include "skinner/graphics/Canvas.h"
#include "skinner/skin/Properties.h"

#include <array>

namespace skinner {

namespace {

constexpr std::array<std::u16string_view, 5> anchor_names { u"MIN_SIDE", u"BOTH_SIDE", u"MAX_SIDE", u"RATIO",
    u"CENTER" };

}

Anchor anchor_from_name(std::u16string_view name)
{
    for (std::size_t i = 0; i < anchor_names.size(); ++i)
        if (anchor_names[i] == name)
            return Anchor(i);
    return Anchor::min_side;
}

Control::Control(Container& container, std::u16string_view name, ControlMode mode)
    : m_mode(mode)
    , m_container(&container)
    , m_id(mode == ControlMode::kind ? std::u16string() : std::u16string(name))
    , m_kind(mode == ControlMode::kind ? std::u16string(name) : std::u16string())
{
    load_common();
    container.register_control(*this);
}

Control::~Control()
{
    m_container->unregister_control(*this);
}

Listener* Control::next_listener() const { return m_container; }

void Control::set_z_order(std::int32_t z_order)
{
    m_z_order = z_order;
    m_container->sort_by_z_order();
}

void Control::set_want_focus(bool want)
{
    m_want_focus = want;
    if (!wants_focus() && m_container->focused() == this)
        m_container->focus_next(true);
}

void Control::paint(Canvas& canvas, Point, Size)
{
    if (has_focus())
        m_focus_picture.draw(canvas, m_position, m_size);
}

bool Control::hit_test(Point point) const
{
    return m_position.x <= point.x && point.x < m_position.x + m_size.width && m_position.y <= point.y
        && point.y < m_position.y + m_size.height;
}

void Control::on_timer_broadcast(std::uint32_t timer_id)
{
    if (timer_id != 0 && timer_id == m_timer_id)
        on_timer(timer_id);
}

void Control::set_rect(Point position, Size size)
{
    if (position == m_position && size == m_size)
        return;
    invalidate();
    m_position = position;
    m_size = size;
    invalidate();
}

void Control::load()
{
    load_common();
}

std::u16string_view Control::record_form() const
{
    return m_mode == ControlMode::kind ? std::u16string_view() : std::u16string_view(m_container->name());
}

std::u16string_view Control::record_control() const
{
    return m_mode == ControlMode::kind ? m_kind : m_id;
}

Color Control::get_property_color(std::u16string_view key, Color default_value) const
{
    return get_properties().get_property_color(record_form(), record_control(), key, default_value);
}

std::u16string Control::get_property_string(std::u16string_view key, std::u16string_view default_value) const
{
    return get_properties().get_property_string(record_form(), record_control(), key, default_value);
}

std::int32_t Control::get_property_int_scaled(std::u16string_view key, std::int32_t default_value) const
{
    return get_properties().get_property_int_scaled(record_form(), record_control(), key, default_value);
}

std::int32_t Control::get_property_int(std::u16string_view key, std::int32_t default_value) const
{
    return get_properties().get_property_int(record_form(), record_control(), key, default_value);
}

Point Control::get_property_point(std::u16string_view key, Point default_value) const
{
    return get_properties().get_property_point(record_form(), record_control(), key, default_value);
}

Cursor Control::get_property_cursor(std::u16string_view key, Cursor default_value) const
{
    return get_properties().get_property_cursor(record_form(), record_control(), key, default_value);
}

Picture Control::get_property_picture(std::u16string_view key, const Picture& default_value) const
{
    return get_properties().get_property_picture(record_form(), record_control(), key, default_value);
}

Font Control::get_property_font(std::u16string_view key, const Font& default_value) const
{
    return get_properties().get_property_font(record_form(), record_control(), key, default_value);
}

std::u16string Control::translate(std::u16string_view key) const
{
    return get_properties().translate(key);
}

std::u16string Control::translate(std::u16string_view key, std::u16string_view default_value) const
{
    return get_properties().translator().translate(key, default_value);
}

Form& Control::get_form() const
{
    return m_container->form();
}

Properties& Control::get_properties() const
{
    return m_container->properties();
}

bool Control::is_visible() const
{
    return m_visible && m_container->is_visible();
}

bool Control::is_enabled() const
{
    return m_enabled && m_container->is_enabled();
}

bool Control::is_hovered() const
{
    return m_container->hover() == this;
}

bool Control::has_focus() const
{
    return m_container->is_focused(this);
}

void Control::take_focus()
{
    m_container->set_focus(this);
    m_container->on_child_focused();
}

void Control::set_visible(bool visible)
{
    const bool was_visible = is_visible();
    m_visible = visible;
    if (is_visible() != was_visible) {
        on_visible_changed(is_visible());
        get_form().invalidate_rect(m_position, m_size);
    }
    if (!m_visible && m_container->focused() == this)
        m_container->focus_next(true);
    if (m_visible && m_enabled && wants_focus() && !m_container->focused())
        m_container->set_focus(this);
}

void Control::set_enabled(bool enabled)
{
    const bool was_enabled = is_enabled();
    m_enabled = enabled;
    if (is_enabled() != was_enabled) {
        on_enabled_changed(is_enabled());
        invalidate();
    }
    if (!m_enabled && m_container->focused() == this)
        m_container->focus_next(true);
}

void Control::renotify_visible()
{
    if (m_visible)
        on_visible_changed(m_container->is_visible());
}

void Control::renotify_enabled()
{
    if (!m_enabled)
        return;
    on_enabled_changed(m_container->is_enabled());
    invalidate();
}

void Control::invalidate()
{
    if (is_visible())
        get_form().invalidate_rect(m_position, m_size);
}

void Control::update_layout()
{
    set_rect(m_position, m_size);
}

void Control::set_timer(double seconds)
{
    if (m_timer_id != 0)
        get_form().kill_timer(m_timer_id);
    m_timer_id = get_form().set_timer(seconds);
}

void Control::kill_timer()
{
    get_form().kill_timer(m_timer_id);
    m_timer_id = 0;
}

Size Control::measure_text(const Font& font, std::u16string_view text)
{
    if (!font.platform_font())
        return {};
    return skinner::measure_text(font, text);
}

void Control::load_common()
{
    if (m_mode == ControlMode::unskinned)
        return;
    m_cursor = get_property_cursor(u"Cursor", {});
    m_anchor_x = anchor_from_name(get_property_string(u"AnchorX", u""));
    m_anchor_y = anchor_from_name(get_property_string(u"AnchorY", u""));
    m_focus_picture = get_property_picture(u"Focus", {});
    m_tab_order = get_property_int(u"TabOrder", 0);
    const Point position = get_property_point(u"Position", {});
    m_skin_position = position;
    const Point size = get_property_point(u"Size", {});
    m_skin_size = { size.x, size.y };
    set_visible(get_property_int(u"Visible", m_visible) != 0);
    set_enabled(get_property_int(u"Enabled", m_enabled) != 0);
    m_gestures = get_property_int(u"Gestures", m_gestures) != 0;
    m_z_order = get_property_int(u"ZOrder", m_z_order);
    set_want_focus(get_property_int(u"WantFocus", m_want_focus) != 0);
}

}
