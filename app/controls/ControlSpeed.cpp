#include "app/controls/ControlSpeed.h"

#include "liba/Conversion.h"
#include "skinner/graphics/Canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

// Canvas text alignment: centred both ways.
constexpr std::int32_t text_center = 1;
constexpr std::int32_t text_vcenter = 1;

}

ControlSpeed::ControlSpeed(skinner::Container& container, std::u16string_view id, skinner::ControlMode mode)
    : Control(container, id, mode)
{
    load_looks();
    m_text = speed_text(m_speed);
    choose_color();
}

ControlSpeed::~ControlSpeed() = default;

std::u16string ControlSpeed::speed_text(double speed)
{
    // Speeds run from 0.5 to 2.0; anything else is shown within what a text can hold.
    const double x = std::isnan(speed) ? 0.05 : std::clamp(speed, 0.0, 1e9) + 0.05;
    const double whole = std::trunc(x);
    const auto tenths = static_cast<std::int64_t>((x - whole) * 10);
    return u"x" + liba::number_text(static_cast<std::int64_t>(whole)) + u"." + liba::number_text(tenths);
}

void ControlSpeed::set_speed(double speed)
{
    if (speed == m_speed)
        return;
    m_speed = speed;
    m_text = speed_text(speed);
    choose_color();
    invalidate();
}

void ControlSpeed::choose_color()
{
    m_color = m_speed == 1.0 ? m_normal : m_highlighted;
}

void ControlSpeed::load_looks()
{
    m_font = get_property_font(u"Normal", {});
    m_normal = get_property_color(u"Normal", {});
    m_highlighted = get_property_color(u"Highlighted", {});
}

void ControlSpeed::load()
{
    Control::load();
    load_looks();
    choose_color();
}

void ControlSpeed::paint(skinner::Canvas& canvas, skinner::Point area_position, skinner::Size area_size)
{
    canvas.draw_text(m_font, m_color, m_text, position(), size(), text_center, text_vcenter);
    Control::paint(canvas, area_position, area_size);
}
