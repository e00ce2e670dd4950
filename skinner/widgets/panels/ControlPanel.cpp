#include "skinner/widgets/panels/ControlPanel.h"

#include "skinner/graphics/Canvas.h"

#include <algorithm>

namespace skinner {

ControlPanel::ControlPanel(
    Container& container, std::u16string_view name, ControlMode mode, Properties* properties)
    : Control(container, name, mode)
    , m_inner(container.form(), properties ? *properties : container.properties(),
          get_property_string(u"FormTemplate", u""), ControlMode::named, this)
{
    load_background();
    m_inner.set_rect(position(), size());
    m_inner.create_auto_controls();
}

ControlPanel::~ControlPanel() = default;

void ControlPanel::load()
{
    Control::load();
    m_inner.set_name(get_property_string(u"FormTemplate", u""));
    m_inner.reload_skin();
    load_background();
}

void ControlPanel::load_background()
{
    m_background = get_property_picture(u"Background", {});
    if (!m_inner.name().empty())
        m_background = m_inner.get_property_picture(u"Background", m_background);
}

void ControlPanel::set_rect_no_layout(Point position, Size size)
{
    Control::set_rect(position, size);
    m_inner.set_rect_no_layout(position, size);
}

bool ControlPanel::on_child_focused()
{
    take_focus();
    return true;
}

bool ControlPanel::on_form_activate()
{
    return m_inner.on_form_activate();
}

void ControlPanel::on_focus_gained()
{
    invalidate();
    m_inner.set_active(true);
}

void ControlPanel::on_focus_lost()
{
    m_inner.set_active(false);
    invalidate();
}

void ControlPanel::on_visible_changed(bool visible)
{
    m_inner.set_visible(visible);
}

bool ControlPanel::wants_gestures() const
{
    return m_inner.get_gestures_at(container().last_pen_point());
}

bool ControlPanel::wants_gestures_at(Point point) const
{
    return m_inner.get_gestures_at(point);
}

void ControlPanel::on_enabled_changed(bool enabled)
{
    m_inner.set_enabled(enabled);
}

void ControlPanel::paint(Canvas& canvas, Point area_position, Size area_size)
{
    m_background.draw(canvas, position(), size());
    m_inner.paint(canvas, area_position, area_size);
    Control::paint(canvas, area_position, area_size);
}

bool ControlPanel::hit_test(Point point) const
{
    if (m_inner.hit_child(point))
        return true;
    if (!Control::hit_test(point))
        return false;
    return !m_background.is_empty() && !m_background.hit_test(point, position(), size());
}

void ControlPanel::on_pen_move(Point point)
{
    m_inner.on_pen_move(point);
}

void ControlPanel::on_pen_leave()
{
    m_inner.clear_hover();
}

void ControlPanel::on_pen_down(Point point, std::int32_t argument)
{
    m_inner.on_pen_down(Container::button_pen, point, argument);
}

void ControlPanel::on_pen_up(Point point, std::int32_t argument)
{
    m_inner.on_pen_up(Container::button_pen, point, argument);
}

void ControlPanel::on_context_down(Point point, std::int32_t argument)
{
    m_inner.on_pen_down(Container::button_context, point, argument);
}

void ControlPanel::on_context_up(Point point, std::int32_t argument)
{
    m_inner.on_pen_up(Container::button_context, point, argument);
}

void ControlPanel::on_alt_down(Point point, std::int32_t argument)
{
    m_inner.on_pen_down(Container::button_alt, point, argument);
}

void ControlPanel::on_alt_up(Point point, std::int32_t argument)
{
    m_inner.on_pen_up(Container::button_alt, point, argument);
}

void ControlPanel::on_wheel(Point point, std::int32_t steps)
{
    m_inner.on_wheel(point, steps);
}

bool ControlPanel::on_text_input(std::u16string_view text)
{
    return m_inner.on_text_input(text);
}

bool ControlPanel::on_keydown(KeyCode key)
{
    return m_inner.on_keydown(key) || Control::on_keydown(key);
}

bool ControlPanel::on_keyup(KeyCode key)
{
    return m_inner.on_keyup(key) || Control::on_keyup(key);
}

void ControlPanel::on_timer_broadcast(std::uint32_t timer_id)
{
    Control::on_timer_broadcast(timer_id);
    m_inner.on_timer_broadcast(timer_id);
}

void ControlPanel::set_rect(Point position, Size size)
{
    Control::set_rect(position, size);
    m_inner.set_rect(position, size);
}

Size ControlPanel::get_preferred_size() const
{
    const Size skin = skin_size();
    const Size extent = m_inner.get_extent();
    return { std::max(skin.width, extent.width), std::max(skin.height, extent.height) };
}

}
