#include "skinner/widgets/lists/GridSelectionStrategySingleColumn.h"

#include <algorithm>

namespace skinner {

bool GridSelectionStrategySingleColumn::is_selected(std::int32_t column, std::int32_t) const
{
    return column == m_selected_column;
}

bool GridSelectionStrategySingleColumn::is_highlighted(std::int32_t column, std::int32_t) const
{
    return column == get_highlight_column();
}

void GridSelectionStrategySingleColumn::select_valid(std::int32_t column)
{
    if (column >= 0 && column < get_column_count())
        set_selected_column(column);
}

void GridSelectionStrategySingleColumn::on_cell_pen_down(std::int32_t column, std::int32_t, Point, Point, Control&)
{
    select_valid(column);
}

void GridSelectionStrategySingleColumn::on_cell_pen_move(std::int32_t column, std::int32_t, Point, Point, Control&)
{
    select_valid(column);
}

void GridSelectionStrategySingleColumn::on_cell_context_down(std::int32_t column, std::int32_t)
{
    select_valid(column);
}

void GridSelectionStrategySingleColumn::set_selected_column(std::int32_t column)
{
    if (column == m_selected_column)
        return;
    m_selected_column = column;
    notify_selection_changed();
}

bool GridSelectionStrategySingleColumn::on_key(KeyCode key)
{
    std::int32_t count = get_column_count();
    if (count <= 0)
        return false;
    std::int32_t last = count - 1;
    std::int32_t target = 0;
    switch (key) {
    case key::left:
        target = m_selected_column < 0 ? 0 : std::clamp(m_selected_column - 1, 0, last);
        break;
    case key::right:
        target = m_selected_column < 0 ? 0 : std::min(m_selected_column + 1, last);
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
    set_selected_column(target);
    set_highlight(-1, -1);
    scroll_column_into_view(m_selected_column);
    return true;
}

}
