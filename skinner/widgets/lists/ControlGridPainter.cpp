#include "skinner/widgets/lists/ControlGrid.h"

#include "os/Log.h"
#include "skinner/graphics/Canvas.h"

#include <algorithm>
#include <climits>

namespace {
constexpr std::int64_t wheel_rows = 3;
}

namespace skinner {

ControlGrid::Painter::Painter(ControlGrid& grid, Container& container)
    : Control(container, u"", ControlMode::unskinned)
    , m_grid(grid)
{
    // The grid takes the keys itself; a focused painter would hide it from the focus walk.
    set_want_focus(false);
}

void ControlGrid::Painter::paint(Canvas& canvas, Point, Size)
{
    const std::int32_t count = m_grid.get_item_count();
    const std::int32_t columns = std::max(m_grid.get_column_count(), 0);
    const std::int32_t header = std::max(m_grid.get_header_height(), 0);
    const std::int32_t item_height = m_grid.row_height();
    const auto& bounds = m_grid.m_boundaries;
    if (bounds.size() != std::size_t(columns) + 1)
        os::fatal_error(u"ControlGrid::Painter::paint",
            u"Number of items in grid " + m_grid.id() + u" had changed, but no refresh was called");
    const Point origin = position();
    const std::int32_t offset = m_grid.get_horizontal_offset();
    canvas.push_clip(origin, size());
    for (std::int32_t c = 0; c < columns; ++c)
        m_grid.paint_header_item(c, canvas, { origin.x + bounds[std::size_t(c)] - offset, origin.y },
            { bounds[std::size_t(c) + 1] - bounds[std::size_t(c)], header });
    std::int32_t y = header;
    for (std::int32_t row = std::max(m_grid.get_first_visible_row(), 0); row < count && y < size().height; ++row) {
        for (std::int32_t c = 0; c < columns; ++c)
            m_grid.paint_item(c, row, canvas, { origin.x + bounds[std::size_t(c)] - offset, origin.y + y },
                { bounds[std::size_t(c) + 1] - bounds[std::size_t(c)], item_height }, m_grid.is_selected(c, row),
                m_grid.is_highlighted(c, row));
        y += item_height;
    }
    canvas.pop_clip();
}

ControlGrid::Painter::Part ControlGrid::Painter::get_part(Point point) const
{
    const std::int32_t y = point.y - position().y;
    if (y < 0)
        return Part::none;
    if (y < m_grid.get_header_height())
        return Part::header;
    if (y < size().height)
        return Part::rows;
    return Part::none;
}

std::int32_t ControlGrid::Painter::get_column(Point point, std::int32_t& inside_x) const
{
    inside_x = 0;
    const auto& bounds = m_grid.m_boundaries;
    const std::int32_t x = point.x - position().x;
    if (x < 0 || bounds.size() < 2)
        return -1;
    const std::int64_t at = std::int64_t(x) + m_grid.get_horizontal_offset();
    const auto next = std::upper_bound(bounds.begin(), bounds.end(), at);
    if (next == bounds.begin() || next == bounds.end())
        return -1;
    inside_x = std::int32_t(at - *(next - 1));
    return std::int32_t(next - bounds.begin()) - 1;
}

std::int32_t ControlGrid::Painter::get_row(Point point, std::int32_t& inside_y) const
{
    inside_y = 0;
    const std::int32_t header = std::max(m_grid.get_header_height(), 0);
    const std::int32_t item_height = m_grid.row_height();
    const std::int32_t first = m_grid.get_first_visible_row();
    const std::int32_t y = point.y - position().y - header;
    std::int64_t row = first;
    if (y >= 0) {
        row += y / item_height;
        inside_y = y % item_height;
    }
    const std::int32_t past_first = std::max((size().height - header - 1) / item_height, 0);
    row = std::min<std::int64_t>(row, std::int64_t(first) + past_first);
    const std::int32_t count = std::max(m_grid.get_item_count(), 0);
    return row >= count ? count : std::int32_t(row);
}

GridCellEvent ControlGrid::Painter::cell_event(Point point, std::uint32_t flags) const
{
    GridCellEvent event;
    event.column = get_column(point, event.cell_point.x);
    event.row = get_row(point, event.cell_point.y);
    event.point = point;
    event.flags = flags;
    return event;
}

void ControlGrid::Painter::follow_highlight(Point point)
{
    if (get_part(point) == Part::rows) {
        const GridCellEvent cell = cell_event(point, 0);
        m_grid.set_highlight(cell.column, cell.row);
    } else {
        m_grid.set_highlight(-1, -1);
    }
}

void ControlGrid::Painter::on_pen_move(Point point)
{
    follow_highlight(point);
    if (m_pressed_part == Part::rows) {
        const GridCellEvent cell = cell_event(point, 0);
        m_grid.on_cell_pen_move(cell.column, cell.row, cell.cell_point, point, *this);
    }
}

void ControlGrid::Painter::on_pen_leave()
{
    m_grid.set_highlight(-1, -1);
}

void ControlGrid::Painter::on_pen_down(Point point, std::int32_t argument)
{
    const GridCellEvent cell = cell_event(point, std::uint32_t(argument));
    if (cell.column == 0 && cell.row < m_grid.get_item_count()
        && cell.cell_point.x < m_grid.get_row_indent(cell.row)) {
        m_grid.on_row_indent_pressed(cell);
        return;
    }
    m_pressed_part = get_part(point);
    if (m_pressed_part == Part::rows)
        m_grid.on_cell_pen_down(cell.column, cell.row, cell.cell_point, point, *this);
}

void ControlGrid::Painter::on_pen_up(Point point, std::int32_t argument)
{
    const Part pressed = m_pressed_part;
    m_pressed_part = Part::none;
    const Part released = get_part(point);
    const GridCellEvent cell = cell_event(point, std::uint32_t(argument));
    if (pressed == Part::header && released == Part::header) {
        m_grid.header_clicked({ cell.column, { cell.cell_point.x, point.y - position().y }, point, cell.flags });
        return;
    }
    if (pressed != Part::rows)
        return;
    m_grid.on_cell_pen_up(cell.column, cell.row, cell.cell_point, point, *this);
    // No item event for the space below the last row.
    if (released == Part::rows && cell.row >= 0 && cell.row < m_grid.get_item_count())
        m_grid.item_clicked(cell);
}

void ControlGrid::Painter::on_context_down(Point point, std::int32_t argument)
{
    const GridCellEvent cell = cell_event(point, std::uint32_t(argument));
    if (get_part(point) != Part::rows)
        return;
    if (cell.column == 0 && cell.row < m_grid.get_item_count() && cell.cell_point.x < m_grid.get_row_indent(cell.row))
        return;
    m_context_pressed = true;
    m_grid.on_cell_context_down(cell.column, cell.row);
}

void ControlGrid::Painter::on_context_up(Point point, std::int32_t argument)
{
    if (!m_context_pressed)
        return;
    m_context_pressed = false;
    const GridCellEvent cell = cell_event(point, std::uint32_t(argument));
    m_grid.on_cell_context_up(cell.column, cell.row);
    const Part released = get_part(point);
    if (released == Part::header)
        m_grid.header_context_menu({ cell.column, { cell.cell_point.x, point.y - position().y }, point, cell.flags });
    else if (released == Part::rows)
        m_grid.context_menu(cell);
}

bool ControlGrid::Painter::wants_gestures() const
{
    return m_grid.Control::wants_gestures();
}

void ControlGrid::Painter::on_wheel(Point point, std::int32_t steps)
{
    m_grid.scroll_to(std::int32_t(std::clamp<std::int64_t>(
        m_grid.get_first_visible_row() - wheel_rows * steps, INT32_MIN, INT32_MAX)));
    follow_highlight(point);
}

}
