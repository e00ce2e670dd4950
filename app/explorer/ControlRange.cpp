#include "app/explorer/ControlRange.h"

#include "app/explorer/RangeGrid.h"

#include <algorithm>

namespace {

double fraction(std::int64_t part, std::int64_t total)
{
    return std::clamp(double(part) / double(total), 0.0, 1.0);
}

}

ControlRange::ControlRange(skinner::Container& container, std::u16string_view id, skinner::ControlMode mode,
    const RangeGrid& grid, std::int64_t total)
    : Control(container, id, mode)
    , m_grid(grid)
    , m_total(total)
{
    load_pictures();
}

ControlRange::~ControlRange() = default;

void ControlRange::load()
{
    Control::load();
    load_pictures();
}

void ControlRange::load_pictures()
{
    m_range = get_property_picture(u"Range", {});
    m_background = get_property_picture(u"Background", {});
}

void ControlRange::paint(skinner::Canvas& canvas, skinner::Point area_position, skinner::Size area_size)
{
    m_background.draw(canvas, position(), size());
    // A recording of no length has no segments to show.
    if (m_total > 0) {
        const std::int32_t width = size().width;
        for (const std::int32_t row : m_grid.selected_rows()) {
            if (row < 0 || std::size_t(row) >= m_grid.items.size())
                continue;
            const RangeGridRow& item = m_grid.items[std::size_t(row)];
            const auto left = static_cast<std::int32_t>(width * fraction(item.start, m_total));
            const std::int32_t segment
                = std::min(width, static_cast<std::int32_t>(width * fraction(item.length, m_total)) + 1);
            m_range.draw(canvas, { position().x + left, position().y }, { segment, size().height });
        }
    }
    Control::paint(canvas, area_position, area_size);
}
