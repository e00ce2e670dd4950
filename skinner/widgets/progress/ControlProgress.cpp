#include "skinner/widgets/progress/ControlProgress.h"

#include "liba/Utility.h"
#include "skinner/graphics/Canvas.h"

#include <cstdint>

namespace skinner {

namespace {

// Toward zero, kept inside 32 bits for any skin's sizes.
std::int32_t truncated(double value)
{
    return static_cast<std::int32_t>(liba::clamp(value, INT32_MIN, INT32_MAX));
}

void draw(const Picture& picture, Canvas& canvas, const std::pair<Point, Size>& rect)
{
    picture.draw(canvas, rect.first, rect.second);
}

}

ControlProgress::ControlProgress(Container& container, std::u16string_view name, ControlMode mode)
    : ControlProgressBase(container, name, mode)
{
    load_progress();
}

ControlProgress::~ControlProgress() = default;

void ControlProgress::load()
{
    ControlProgressBase::load();
    load_progress();
}

void ControlProgress::load_progress()
{
    m_orientation = get_property_int(u"Orientation", 3);
    m_progress = get_property_picture(u"Progress", {});
    m_track_size = get_property_int_scaled(u"TrackSize", 0);
}

std::pair<Point, Size> ControlProgress::get_part_rects(double f, std::int32_t orientation) const
{
    const auto [x, y] = position();
    const auto [w, h] = size();
    const double ts = m_track_size;
    switch (orientation) {
    case 0:
        return { { x, y }, { w, truncated((h - ts) * f) } };
    case 1:
        return { { x + truncated((w - ts) * (1 - f)), y }, { truncated((w - ts) * f), h } };
    case 2:
        return { { x, y + truncated((h - ts) * (1 - f)) }, { w, truncated((h - ts) * f) } };
    case 3:
        return { { x, y }, { truncated((w - ts) * f), h } };
    default:
        return {};
    }
}

std::pair<Point, Size> ControlProgress::get_draw_rects(double f, std::int32_t orientation) const
{
    const auto [x, y] = position();
    const auto [w, h] = size();
    const auto [origin, filled] = get_part_rects(f, orientation);
    switch (orientation) {
    case 0:
        return { { x, y + filled.height }, { w, m_track_size } };
    case 1:
        return { origin, { m_track_size, h } };
    case 2:
        return { origin, { w, m_track_size } };
    case 3:
        return { { x + filled.width, y }, { m_track_size, h } };
    default:
        return {};
    }
}

void ControlProgress::paint_bar(Canvas& canvas) const
{
    const std::pair<Point, Size> whole { position(), size() };
    switch (m_orientation) {
    case 1:
        draw(m_progress, canvas, whole);
        draw(background(), canvas, get_part_rects(1 - value(), 3));
        break;
    case 2:
        draw(m_progress, canvas, whole);
        draw(background(), canvas, get_part_rects(1 - value(), 0));
        break;
    default:
        draw(background(), canvas, whole);
        draw(m_progress, canvas, get_part_rects(value(), m_orientation));
        break;
    }
}

void ControlProgress::paint_track(Canvas& canvas) const
{
    draw(is_enabled() ? track() : track_disabled(), canvas, get_draw_rects(value(), m_orientation));
}

void ControlProgress::paint(Canvas& canvas, Point area_position, Size area_size)
{
    paint_bar(canvas);
    paint_track(canvas);
    Control::paint(canvas, area_position, area_size);
}

double ControlProgress::value_from_point(Point point) const
{
    const auto [x, y] = position();
    const auto [w, h] = size();
    const std::int64_t half = m_track_size / 2;
    std::int64_t numerator = 0, denominator = 0;
    switch (m_orientation) {
    case 0:
        numerator = std::int64_t { point.y } - half - y;
        denominator = std::int64_t { h } - m_track_size;
        break;
    case 1:
        numerator = std::int64_t { w } - half - point.x + x;
        denominator = std::int64_t { w } - m_track_size;
        break;
    case 2:
        numerator = std::int64_t { h } - half - point.y + y;
        denominator = std::int64_t { h } - m_track_size;
        break;
    case 3:
        numerator = std::int64_t { point.x } - half - x;
        denominator = std::int64_t { w } - m_track_size;
        break;
    default:
        return 0.0;
    }
    if (denominator == 0)
        return 0.0;
    return liba::clamp(double(numerator) / double(denominator), 0.0, 1.0);
}

}
