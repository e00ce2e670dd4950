#include "skinner/widgets/progress/ControlProgressBase.h"

#include "liba/Utility.h"

#include <cmath>

namespace skinner {

ControlProgressBase::ControlProgressBase(Container& container, std::u16string_view name, ControlMode mode)
    : Control(container, name, mode)
{
    load_pictures();
}

ControlProgressBase::~ControlProgressBase() = default;

void ControlProgressBase::load()
{
    Control::load();
    load_pictures();
}

void ControlProgressBase::load_pictures()
{
    m_background = get_property_picture(u"Background", {});
    m_track = get_property_picture(u"Track", {});
    m_track_disabled = get_property_picture(u"TrackDisabled", {});
}

void ControlProgressBase::set_value(double fraction)
{
    const double value = std::isnan(fraction) ? 0.0 : liba::clamp(fraction, 0.0, 1.0);
    if (value == m_value)
        return;
    m_value = value;
    notify_value_set();
    invalidate();
}

void ControlProgressBase::set_value_in_range(double min, double max, double value)
{
    set_value(max <= min ? 0.0 : (value - min) / (max - min));
}

void ControlProgressBase::on_pen_down(Point point, std::int32_t argument)
{
    if (argument != 0)
        return;
    m_dragging = true;
    notify_value_changed(value_from_point(point));
}

void ControlProgressBase::on_pen_move(Point point)
{
    if (m_dragging)
        notify_value_changed(value_from_point(point));
}

void ControlProgressBase::on_pen_up(Point, std::int32_t)
{
    m_dragging = false;
}

void ControlProgressBase::notify_value_changed(double value)
{
    on_value_changed(*this, value);
}

void ControlProgressBase::notify_value_set()
{
    on_value_set(*this, m_value);
}

}
