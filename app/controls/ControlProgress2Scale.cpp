#include "app/controls/ControlProgress2Scale.h"

#include "skinner/graphics/Canvas.h"

#include <algorithm>
#include <cmath>

ControlProgress2Scale::ControlProgress2Scale(
    skinner::Container& container, std::u16string_view id, skinner::ControlMode mode)
    : ControlProgress(container, id, mode)
    , m_progress2(get_property_picture(u"Progress2", {}))
{
}

ControlProgress2Scale::~ControlProgress2Scale() = default;

void ControlProgress2Scale::load()
{
    ControlProgress::load();
    m_progress2 = get_property_picture(u"Progress2", {});
}

void ControlProgress2Scale::set_second_value(double value)
{
    m_second = std::isnan(value) ? 0.0 : std::clamp(value, 0.0, 1.0);
}

void ControlProgress2Scale::paint(
    skinner::Canvas& canvas, skinner::Point area_position, skinner::Size area_size)
{
    const double v = value();
    const double w = m_second;
    const std::int32_t o = orientation();
    const auto draw
        = [&](const skinner::Picture& picture, const std::pair<skinner::Point, skinner::Size>& rect) {
              picture.draw(canvas, rect.first, rect.second);
          };
    const std::pair<skinner::Point, skinner::Size> whole { position(), size() };
    if (o == 1 || o == 2) {
        // Filled from the far edge: the rest is drawn over the bar.
        const std::int32_t split = o == 2 ? 0 : 3;
        draw(progress(), whole);
        draw(m_progress2, get_part_rects(1 - w, split));
        draw(background(), get_part_rects(1 - v, split));
    } else {
        draw(background(), whole);
        draw(progress(), get_part_rects(v, o));
        draw(m_progress2, get_part_rects(w, o));
    }
    draw(is_enabled() ? track() : track_disabled(), get_draw_rects(v, o));
    Control::paint(canvas, area_position, area_size);
}
