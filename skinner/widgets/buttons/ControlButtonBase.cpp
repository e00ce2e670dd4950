#include "skinner/widgets/buttons/ControlButtonBase.h"

#include "skinner/core/Alignment.h"
#include "skinner/graphics/Canvas.h"

namespace skinner {

ControlButtonBase::ControlButtonBase(Container& container, std::u16string_view name, ControlMode mode)
    : Control(container, name, mode)
{
    load_properties();
}

ControlButtonBase::~ControlButtonBase() = default;

void ControlButtonBase::load_properties()
{
    m_border_min = get_property_point(u"BorderMin", Point {});
    m_border_max = get_property_point(u"BorderMax", m_border_min);
    m_looks.load(*this, u"");
    m_text = get_property_string(u"Text", m_text);
    m_h_alignment = align_center;
    m_v_alignment = align_vcenter;
    parse_h_alignment(get_property_string(u"HAlignment", u""), m_h_alignment);
    parse_v_alignment(get_property_string(u"VAlignment", u""), m_v_alignment);
    parse_button_action(get_property_string(u"Action", u""), m_action);
}

void ControlButtonBase::load()
{
    Control::load();
    load_properties();
}

void ControlButtonBase::set_impl(std::unique_ptr<ControlButtonImpl> impl)
{
    m_impl = std::move(impl);
}

bool ControlButtonBase::on_command(std::u16string_view command)
{
    if (command != id())
        return false;
    return click_at_centre();
}

bool ControlButtonBase::wants_focus() const
{
    return Control::wants_focus() && m_impl && m_impl->focusable();
}

void ControlButtonBase::on_focus_gained()
{
    invalidate();
}

void ControlButtonBase::on_focus_lost()
{
    m_key_pressed = false;
    invalidate();
}

void ControlButtonBase::on_visible_changed(bool visible)
{
    if (m_impl)
        m_impl->set_visible(visible);
}

void ControlButtonBase::on_enabled_changed(bool enabled)
{
    if (m_impl)
        m_impl->set_enabled(enabled);
}

const ButtonLook& ControlButtonBase::current_look() const
{
    const ButtonLookSet& looks = get_pictures();
    if (!is_enabled())
        return looks.disabled;
    if (is_pressed())
        return looks.pressed;
    if (has_focus())
        return looks.highlighted;
    return looks.normal;
}

void ControlButtonBase::paint(Canvas& canvas, Point area_position, Size area_size)
{
    if (!impl_visible())
        return;
    const ButtonLook& look = current_look();
    look.picture.draw(canvas, position(), size());
    Control::paint(canvas, area_position, area_size);
    const Point text_position { position().x + m_border_min.x, position().y + m_border_min.y };
    const Size text_size { size().width - m_border_min.x - m_border_max.x,
        size().height - m_border_min.y - m_border_max.y };
    canvas.draw_text(look.font, look.text_color, m_text, text_position, text_size, m_h_alignment, m_v_alignment);
}

bool ControlButtonBase::hit_test(Point point) const
{
    if (!impl_visible() || !Control::hit_test(point))
        return false;
    const Picture& picture = current_look().picture;
    // The picture's own test answers "transparent here".
    return !picture.get_image() || !picture.hit_test(point, position(), size());
}

void ControlButtonBase::on_pen_move(Point point)
{
    // The pressed look stays while the pen is held, wherever it goes.
    if (m_impl)
        m_impl->on_pen_move(point);
}

void ControlButtonBase::on_pen_down(Point point, std::int32_t argument)
{
    m_pen_pressed = true;
    invalidate();
    if (m_impl)
        m_impl->on_pen_down(point, argument);
}

void ControlButtonBase::on_pen_up(Point point, std::int32_t argument)
{
    const bool was_pressed = is_pressed();
    m_pen_pressed = false;
    if (m_impl)
        m_impl->on_pen_up(point, argument);
    invalidate();
    if (was_pressed && !m_key_pressed && !m_pushed && hit_test(point) && is_enabled())
        click(ButtonClick { argument, point });
}

bool ControlButtonBase::on_keydown(KeyCode key)
{
    if (key != key::enter)
        return false;
    m_key_pressed = true;
    invalidate();
    return true;
}

bool ControlButtonBase::on_keyup(KeyCode key)
{
    if (key != key::enter)
        return false;
    const bool was_pressed = is_pressed();
    m_key_pressed = false;
    invalidate();
    if (was_pressed && !m_pen_pressed && !m_pushed)
        click_at_centre();
    return true;
}

void ControlButtonBase::set_pushed(bool pushed)
{
    const bool was_pressed = is_pressed();
    m_pushed = pushed;
    invalidate();
    if (was_pressed && !is_pressed())
        click_at_centre();
}

void ControlButtonBase::set_text(std::u16string_view text)
{
    if (text == m_text)
        return;
    m_text = text;
    if (m_impl)
        m_impl->set_text(m_text);
    invalidate();
}

void ControlButtonBase::click(const ButtonClick& click)
{
    if (m_impl)
        m_impl->on_click(click);
    on_click(*this);
}

bool ControlButtonBase::click_at_centre()
{
    if (!is_enabled())
        return false;
    click(ButtonClick { 0, Point { position().x + size().width / 2, position().y + size().height / 2 } });
    return true;
}

}
