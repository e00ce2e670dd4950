#include "app/controls/ControlEqualizer.h"

#include "skinner/graphics/Canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace {

// Toward zero, kept inside 32 bits; what is no number counts as 0.
std::int32_t truncated(double value)
{
    if (std::isnan(value))
        return 0;
    return static_cast<std::int32_t>(std::clamp(value, double(std::numeric_limits<std::int32_t>::min()),
        double(std::numeric_limits<std::int32_t>::max())));
}

bool contains(skinner::Point origin, skinner::Size size, skinner::Point point)
{
    return point.x >= origin.x && point.y >= origin.y && point.x < origin.x + size.width
        && point.y < origin.y + size.height;
}

// The picture's rectangle centred on the point, its size halved by truncation.
skinner::Point centred(const skinner::Picture& picture, skinner::Point at)
{
    const skinner::Size size = picture.get_size();
    return { at.x - size.width / 2, at.y - size.height / 2 };
}

}

ControlEqualizer::ControlEqualizer(
    skinner::Container& container, std::u16string_view id, skinner::ControlMode mode)
    : ControlFrame(container, id, mode)
{
    load_chart();
}

ControlEqualizer::~ControlEqualizer() = default;

void ControlEqualizer::load_chart()
{
    m_line = get_property_color(u"Line", m_line);
    m_grid = get_property_color(u"Grid", m_grid);
    m_cell_width = get_property_int_scaled(u"CellWidth", m_cell_width);
    m_first_cell_width = get_property_int_scaled(u"FirstCellWidth", m_first_cell_width);
    m_frequency_base = get_property_int(u"FrequencyBase", m_frequency_base);
}

void ControlEqualizer::load()
{
    ControlFrame::load();
    load_chart();
    // Each band reads its pictures and colour from the new skin.
    for (Band& band : m_bands)
        band = make_band(band.name, band.frequency, band.gain, band.half_width);
}

ControlEqualizer::Band ControlEqualizer::make_band(
    std::u16string_view name, double frequency, double gain, double half_width) const
{
    Band band;
    band.name = std::u16string(name);
    band.frequency = frequency;
    band.gain = gain;
    band.half_width = half_width;
    band.icon = get_property_picture(band.name + u"Icon", {});
    band.handle = get_property_picture(band.name + u"Handle", {});
    band.color = get_property_color(band.name + u"Color", {});
    band.min_span = band.handle.get_size().width;
    band.max_span = band.min_span * 3;
    return band;
}

void ControlEqualizer::add_band(std::u16string_view name, double frequency, double gain, double width)
{
    remove_band(name);
    m_bands.push_back(make_band(name, frequency, gain, width * 0.5));
    invalidate();
}

bool ControlEqualizer::remove_band(std::u16string_view name)
{
    const auto found
        = std::find_if(m_bands.begin(), m_bands.end(), [&](const Band& b) { return b.name == name; });
    if (found == m_bands.end())
        return false;
    m_bands.erase(found);
    // The index of a dragged band would name another one now.
    m_selected = -1;
    invalidate();
    return true;
}

const ControlEqualizer::Band* ControlEqualizer::find(std::u16string_view name) const
{
    const auto found
        = std::find_if(m_bands.begin(), m_bands.end(), [&](const Band& b) { return b.name == name; });
    return found == m_bands.end() ? nullptr : &*found;
}

bool ControlEqualizer::has_band(std::u16string_view name) const
{
    return find(name) != nullptr;
}

double ControlEqualizer::get_band_frequency(std::u16string_view name) const
{
    const Band* band = find(name);
    return band ? band->frequency : 0.0;
}

double ControlEqualizer::get_band_gain(std::u16string_view name) const
{
    const Band* band = find(name);
    return band ? band->gain : 0.0;
}

double ControlEqualizer::get_band_width(std::u16string_view name) const
{
    const Band* band = find(name);
    return band ? band->half_width * 2.0 : 0.0;
}

bool ControlEqualizer::has_scale() const
{
    return m_frequency_base > 0 && m_cell_width > 0;
}

std::int32_t ControlEqualizer::frequency_to_x(double f) const
{
    if (!has_scale())
        return 0;
    // Far off the chart is as good as any further: the handles' arithmetic stays in range.
    constexpr double far = 1 << 20;
    const double base = m_frequency_base;
    if (f < base)
        return truncated(std::clamp(m_first_cell_width * f / base, -far, far));
    return truncated(std::clamp(m_first_cell_width + m_cell_width * std::log2(f / base), -far, far));
}

double ControlEqualizer::x_to_frequency(std::int32_t x) const
{
    if (!has_scale())
        return 0.0;
    x = std::clamp(x, 0, std::max(size().width, 0));
    const double base = m_frequency_base;
    if (x < m_first_cell_width)
        return std::trunc(double(x) / m_first_cell_width * base);
    return std::trunc(base * std::exp2(double(x - m_first_cell_width) / m_cell_width));
}

std::int32_t ControlEqualizer::gain_to_y(double gain) const
{
    const std::int32_t h = size().height;
    const double r = std::isnan(gain) ? 0.0 : std::clamp(gain / gain_range, -1.0, 1.0);
    return h / 2 - truncated(h * r * 0.5);
}

double ControlEqualizer::y_to_gain(std::int32_t y) const
{
    const std::int32_t h = size().height;
    if (h <= 0)
        return 0.0;
    return double(y - h / 2) * gain_range / h * -2.0;
}

std::int32_t ControlEqualizer::span(const Band& band) const
{
    const double half_width = std::isnan(band.half_width) ? 0.0 : std::clamp(band.half_width, 0.0, 1.0);
    return band.min_span + truncated(half_width * (band.max_span - band.min_span));
}

skinner::Point ControlEqualizer::centre(const Band& band) const
{
    return { position().x + frequency_to_x(band.frequency), position().y + gain_to_y(band.gain) };
}

ControlEqualizer::DragMode ControlEqualizer::hit(const Band& band, skinner::Point point) const
{
    const skinner::Point at = centre(band);
    const std::int32_t s = span(band);
    if (contains(centred(band.icon, at), band.icon.get_size(), point))
        return DragMode::centre;
    if (contains(centred(band.handle, { at.x + s, at.y }), band.handle.get_size(), point))
        return DragMode::right;
    if (contains(centred(band.handle, { at.x - s, at.y }), band.handle.get_size(), point))
        return DragMode::left;
    return DragMode::none;
}

void ControlEqualizer::paint_band(skinner::Canvas& canvas, const Band& band) const
{
    const skinner::Point at = centre(band);
    const std::int32_t s = span(band);
    const std::int32_t half_handle = band.handle.get_size().width / 2;
    canvas.draw_polyline({ at.x - s - half_handle, at.y }, { at.x + s - half_handle, at.y }, band.color);
    band.icon.draw(canvas, centred(band.icon, at), band.icon.get_size());
    band.handle.draw(canvas, centred(band.handle, { at.x - s, at.y }), band.handle.get_size());
    band.handle.draw(canvas, centred(band.handle, { at.x + s, at.y }), band.handle.get_size());
}

void ControlEqualizer::paint(skinner::Canvas& canvas, skinner::Point area_position, skinner::Size area_size)
{
    ControlFrame::paint(canvas, area_position, area_size);
    const auto [left, top] = position();
    const auto [w, h] = size();
    if (w <= 0 || h <= 0)
        return;
    canvas.push_clip(position(), size());
    const std::int32_t y0 = top + h / 2;
    canvas.draw_polyline({ left, y0 }, { left + w, y0 }, m_grid);
    for (std::int32_t k = 1; k <= 6; ++k) {
        // The last line falls on the right edge, which lies outside the rectangle.
        const std::int32_t x = std::min(left + k * w / 6, left + w - 1);
        canvas.draw_polyline({ x, top + h - 1 }, { x, top - 1 }, m_grid);
    }

    struct Shape {
        std::int32_t x;
        std::int32_t reach;
        double height;
    };

    std::vector<Shape> shapes;
    if (has_scale()) {
        for (const Band& band : m_bands) {
            paint_band(canvas, band);
            const skinner::Point at = centre(band);
            shapes.push_back(
                { at.x, band.handle.get_size().width + span(band), (at.y - top - h * 0.5) / (h * 0.5) });
        }
    }

    std::vector<platform::Point> curve;
    curve.reserve(std::size_t(w));
    for (std::int32_t x = left; x < left + w; ++x) {
        double offset = 0;
        for (const Shape& shape : shapes) {
            const std::int64_t distance = std::int64_t { x } - shape.x;
            if (std::llabs(distance) < shape.reach)
                offset
                    += (std::cos(double(distance) / shape.reach * 3.1415) + 1) * shape.height * (h / 2) * 0.5;
        }
        curve.push_back({ x, y0 + truncated(std::round(offset)) });
    }
    canvas.dc().polyline(curve, skinner::color_ref(m_line));

    if (has_scale()) {
        for (auto band = m_bands.rbegin(); band != m_bands.rend(); ++band)
            paint_band(canvas, *band);
    }
    canvas.pop_clip();
}

void ControlEqualizer::on_pen_down(skinner::Point point, std::int32_t)
{
    m_selected = -1;
    if (!has_scale())
        return;
    for (std::size_t i = 0; i < m_bands.size(); ++i) {
        const DragMode mode = hit(m_bands[i], point);
        if (mode != DragMode::none) {
            m_selected = static_cast<std::int32_t>(i);
            m_bands[i].drag = mode;
            m_bands[i].drag_point = point;
            return;
        }
    }
}

void ControlEqualizer::on_pen_move(skinner::Point point)
{
    if (m_selected < 0 || std::size_t(m_selected) >= m_bands.size())
        return;
    Band& band = m_bands[std::size_t(m_selected)];
    switch (band.drag) {
    case DragMode::centre:
        band.frequency = x_to_frequency(point.x - position().x);
        band.gain = y_to_gain(std::clamp(point.y - position().y, 0, std::max(size().height, 0)));
        break;
    case DragMode::left:
    case DragMode::right: {
        const std::int32_t moved = point.x - band.drag_point.x;
        const std::int32_t wanted = span(band) + (band.drag == DragMode::right ? moved : -moved);
        const std::int32_t kept = std::clamp(wanted, band.min_span, band.max_span);
        if (band.max_span > band.min_span)
            band.half_width = double(kept - band.min_span) / double(band.max_span - band.min_span);
        band.drag_point = point;
        break;
    }
    case DragMode::none:
        break;
    }
    invalidate();
}

void ControlEqualizer::on_pen_up(skinner::Point, std::int32_t)
{
    if (m_selected < 0 || std::size_t(m_selected) >= m_bands.size())
        return;
    m_bands[std::size_t(m_selected)].drag = DragMode::none;
    on_click(*this);
}
