#include "skinner/widgets/lists/GridSelectionStrategySingleRow.h"

#include <algorithm>
#include <optional>

namespace skinner {

bool GridSelectionStrategySingleRow::is_selected(std::int32_t, std::int32_t row) const
{
    return row == m_selected_row;
}

bool GridSelectionStrategySingleRow::is_highlighted(std::int32_t, std::int32_t row) const
{
    return row == get_highlight_row();
}

void GridSelectionStrategySingleRow::select_valid(std::int32_t row)
{
    if (row >= 0 && row < get_item_count())
        set_selected_row(row);
}

void GridSelectionStrategySingleRow::on_cell_pen_down(std::int32_t, std::int32_t row, Point, Point, Control&)
{
    select_valid(row);
}

void GridSelectionStrategySingleRow::on_cell_pen_move(std::int32_t, std::int32_t row, Point, Point, Control&)
{
    select_valid(row);
}

void GridSelectionStrategySingleRow::on_cell_context_down(std::int32_t, std::int32_t row)
{
    select_valid(row);
}

void GridSelectionStrategySingleRow::set_selected_row(std::int32_t row)
{
    if (row == m_selected_row)
        return;
    m_selected_row = row;
    notify_selection_changed();
    if (row >= 0 && row < get_item_count())
        ensure_visible(row);
}

bool GridSelectionStrategySingleRow::on_key(KeyCode key)
{
    std::int32_t count = get_item_count();
    if (count <= 0)
        return false;
    std::int32_t last = count - 1;
    // A selection left past the end by a shrunken list moves from the last row.
    std::int32_t selected = std::min(m_selected_row, last);
    std::optional<std::int32_t> target;
    switch (key) {
    case key::up:
    case key::page_up:
        if (selected == 0)
            return false;
        target = selected < 0 ? 0 : selected - 1;
        break;
    case key::down:
    case key::page_down:
        if (selected == last && m_selected_row == last)
            return false;
        target = selected < 0 ? 0 : std::min(selected + 1, last);
        break;
    case key::home:
        target = 0;
        break;
    case key::end:
        target = last;
        break;
    default:
        return false;
    }
    set_selected_row(*target);
    set_highlight(0, -1);
    ensure_visible(m_selected_row);
    return true;
}

void GridSelectionStrategySingleRow::on_items_inserted(std::int32_t position, std::int32_t count)
{
    if (m_selected_row > position)
        m_selected_row += count;
}

void GridSelectionStrategySingleRow::on_items_removed(std::int32_t position, std::int32_t count)
{
    if (m_selected_row > position + count)
        m_selected_row -= count;
    else if (m_selected_row > position)
        m_selected_row = -1;
}

}
